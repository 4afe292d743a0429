#pragma once
// Draws a skinned form: every control of its model at its twips position, pictures from the
// skin, labels in the skin's fonts and colours, lines, and real list widgets for the visible
// list boxes. Only what changed since the last drawing is drawn again. Mouse presses, moves,
// releases, clicks, double-clicks and file drops reach the control under the pointer as its
// events, in twips relative to the control; the control pressed keeps the mouse until the
// buttons are released.
#include <QWidget>
#include <map>
#include <unordered_map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/program.h"
#include "ui/picture_source.h"
#include "view/control_geometry.h"
#include "view/dispatcher.h"
#include "view/list_box_view.h"
#include "view/overview_painter.h"
#include "view/pixmap_cache.h"
#include "view/skin_text.h"

namespace vx::view {

struct CanvasOptions {
  // A picture drawn beneath every other control (a splash picture that fills its window).
  std::string backdrop;
  // Pictures that show the program's icon instead of a skin file.
  std::set<std::string> iconPictures;
};

class FormCanvas : public QWidget {
 public:
  FormCanvas(Program& p, form::Form& form, Dispatcher& dispatcher, CanvasOptions options, QWidget* parent);

  form::Form& form() { return form_; }
  // Repaints what changed in the model since the last call.
  void sync();
  // The topmost shown control at a point in pixels, or nullptr.
  form::Control* controlAt(const QPointF& pixels) const;
  // The rectangle drawn for a control, in pixels of the canvas (empty when not shown).
  QRectF drawnRect(const form::Control& c) const;
  ListBoxView* listView(const form::Control& c) const;
  void setIcon(const QPixmap& icon) { icon_ = icon; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dragMoveEvent(QDragMoveEvent* e) override;
  void dropEvent(QDropEvent* e) override;

 private:
  struct Drawn {
    uint64_t revision = ~uint64_t{0};
    QRectF rect;  // pixels
    bool shown = false;
    ui::DrawnPicture source;
    QPixmap pixmap;
    uint64_t skinSerial = ~uint64_t{0};  // the skin assignments the picture was resolved against
    long overviewContent = -1;           // an overview's content and position line drawn
    double overviewPosition = 0;
  };

  void refreshSkinText();
  void syncControl(const Placed& placed, Drawn& drawn);
  void syncList(const Placed& placed);
  QRectF pictureRect(const Placed& placed, Drawn& drawn);
  void paintControl(QPainter& g, const Placed& placed, const Drawn& drawn);
  form::MouseEvent eventAt(const form::Control& c, const QPointF& pixels, form::MouseButton button, Qt::KeyboardModifiers m) const;
  form::Control* dropTarget(const QPointF& pixels) const;
  void press(QMouseEvent* e, bool doubleClick);

  Program& p_;
  form::Form& form_;
  Dispatcher& dispatcher_;
  CanvasOptions options_;
  std::vector<Placed> order_;
  std::unordered_map<const form::Control*, Drawn> drawn_;  // looked up for every control on every sync
  std::map<const form::Control*, std::unique_ptr<ListBoxView>> lists_;
  std::map<const form::Control*, std::pair<QColor, QColor>> listColours_;  // text and back shown
  PixmapCache pixmaps_;
  OverviewPainter overviews_;
  SkinText text_;
  std::string textSkin_ = "\n";  // the skin whose texts were read last
  QPixmap icon_;
  form::Control* captured_ = nullptr;
  bool doubleClickPress_ = false;
};

}  // namespace vx::view
