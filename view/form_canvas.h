#pragma once
// Draws a skinned form: every control of its model at its twips position, pictures from the
// skin, labels in the skin's fonts and colours, lines, and real list widgets for the visible
// list boxes. Only the controls the form lists as changed are visited, and only their rectangles
// drawn again; the whole form is visited when something every control depends on changed (the
// skin's texts, the screen's scale, the icon). Mouse presses, moves,
// releases, clicks, double-clicks and file drops reach the control under the pointer as its
// events, in twips relative to the control; the control pressed keeps the mouse until the
// buttons are released.
#include <QWidget>
#include <functional>
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
#include "view/label_text.h"
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

// Frames drawn over controls (MIDI learning): frameOf gives 0 none, 1 thin, 2 lit; serial grows
// whenever any frame changes.
struct CanvasFrames {
  std::function<int(const form::Control&)> frameOf;
  std::function<uint64_t()> serial;
};

class FormCanvas : public QWidget {
 public:
  FormCanvas(Program& p, form::Form& form, Dispatcher& dispatcher, CanvasOptions options, QWidget* parent);

  form::Form& form() { return form_; }
  // Repaints what changed: `changed` are the form's controls changed since the last call.
  void sync(const std::vector<form::Control*>& changed);
  // The controls the last sync visited (what one sync costs).
  int visited() const { return visited_; }
  // The paints that went straight into the window's backing store.
  int directPaints() const { return directPaints_; }
  // The topmost shown control at a point in pixels, or nullptr.
  form::Control* controlAt(const QPointF& pixels) const;
  // The rectangle drawn for a control, in pixels of the canvas (empty when not shown).
  QRectF drawnRect(const form::Control& c) const;
  ListBoxView* listView(const form::Control& c) const;
  void setIcon(const QPixmap& icon) {
    icon_ = icon;
    everything_ = true;
  }
  void setFrames(CanvasFrames frames) {
    frames_ = std::move(frames);
    framesSerial_ = ~uint64_t{0};  // the next sync looks at them
  }

 protected:
  bool event(QEvent* e) override;
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
    QRect pixels;  // the whole pixels rect touches
    bool shown = false;
    ui::DrawnPicture source;
    QPixmap pixmap;
    uint64_t skinSerial = ~uint64_t{0};  // the skin assignments the picture was resolved against
    // A label's text laid out once for as long as its caption and look stay: drawing it again
    // (a neighbour changed) does not shape it again.
    LabelText text;
    TextLook look;
    // What the look was made from besides the skin's texts: a new caption keeps the look.
    struct LookSource {
      std::string fontName;
      double fontSize = -1;
      long foreColor = -2;
      bool operator==(const LookSource&) const = default;
    } lookSource;
    ListBoxView* list = nullptr;         // the list widget of a shown list box
    std::pair<QColor, QColor> listColours;  // text and back the list shows
    QRectF textRect;  // a label's own rectangle in pixels, before its panel clips it
    bool enabled = true;
    std::vector<size_t> placedOn;        // a panel's controls, by their place in order_
    long overviewContent = -1;           // an overview's content and position line drawn
    double overviewPosition = 0;
  };

  // True when every control has to be visited: the first sync, or the skin's texts, the screen's
  // scale or the icon changed.
  bool refreshGlobals();
  qreal screenRatio() const;
  void visit(size_t i);
  void syncControl(const Placed& placed, Drawn& drawn);
  void syncList(const Placed& placed, Drawn& drawn);
  QRectF pictureRect(const Placed& placed, Drawn& drawn);
  void takeText(const Placed& placed, Drawn& drawn);
  static Drawn::LookSource lookSourceOf(const form::Label& label);
  // A label whose only change is a new text of digits repaints the ink of the digits that
  // changed (a time display's milliseconds); false when the label has to be drawn whole.
  bool updateDigits(const Placed& placed, Drawn& drawn);
  // Paints `area` straight into the window's backing store and sends it to the screen, without
  // Qt's repaint manager (which marks, posts, walks the window's widgets and sets a painter up for
  // each); the paint event still reaches the canvas and its filters. False, with nothing done,
  // where the manager's way is needed: before the first paint, a window not shown or being
  // resized, a widget over the area, many rectangles.
  bool paintNow(const QRegion& area);
  bool coveredByWidgets(const QRegion& area) const;
  // Fills `area` with `back` and paints every control that meets it, each clipped to its panel
  // and to the area's bounding rectangle.
  void paintArea(QPainter& g, const QRegion& area, qreal ratio, const QColor& back);
  void paintControl(QPainter& g, const Placed& placed, Drawn& drawn, const QRegion& area);
  // An opaque picture drawn pixel for pixel covers `r` whole, so filling it first is not seen.
  // Remembered per rectangle until a control is drawn anew (the time displays repaint the same
  // few rectangles tick after tick).
  bool coveredByPicture(const QRect& r, qreal ratio);
  bool findPictureOver(const QRect& r, qreal ratio) const;
  form::MouseEvent eventAt(const form::Control& c, const QPointF& pixels, form::MouseButton button, Qt::KeyboardModifiers m) const;
  form::Control* dropTarget(const QPointF& pixels) const;
  void press(QMouseEvent* e, bool doubleClick);
  // `clip`: the area the frames may touch (the painter has no system clip of its own then).
  void paintFrames(QPainter& g, const QRegion* clip);

  Program& p_;
  form::Form& form_;
  Dispatcher& dispatcher_;
  CanvasOptions options_;
  std::vector<Placed> order_;
  std::vector<Drawn> drawn_;                                 // beside order_
  std::unordered_map<const form::Control*, size_t> places_;  // a control's place in order_
  std::map<const form::Control*, std::unique_ptr<ListBoxView>> lists_;
  PixmapCache pixmaps_;
  OverviewPainter overviews_;
  SkinText text_;
  std::string textSkin_ = "\n";  // the skin whose texts were read last
  qreal ratio_ = 0;              // the screen scale the pictures were drawn for
  bool everything_ = true;       // the next sync visits every control
  int visited_ = 0;
  QRegion dirty_;  // what this sync found changed, in pixels
  QPixmap icon_;
  form::Control* captured_ = nullptr;
  bool doubleClickPress_ = false;
  CanvasFrames frames_;
  uint64_t framesSerial_ = 0;
  bool anyFrame_ = true;  // some control has a frame now (frames_.frameOf is not 0 for it)
  struct Covered {
    QRect rect;
    bool covered;
  };
  std::vector<Covered> covered_;  // coveredByPicture's answers since a control was drawn anew
  qreal coveredRatio_ = 0;
  // The palette's brushes the painter starts with, read again only when the palette, the style,
  // the enabled state or the window's activation changed (reading them asks all of these).
  struct {
    bool valid = false;
    QBrush fore, back;
    QColor window;
  } colours_;
  bool painted_ = false;               // Qt painted the canvas once: the backing store holds it
  QPaintDevice* direct_ = nullptr;     // the backing store paintNow() paints into, during its paint
  QPoint directOffset_;                // the canvas's place in its window
  int directPaints_ = 0;
  struct {
    const QPaintDevice* device = nullptr;
    const QScreen* screen = nullptr;
    bool same = false;
  } dpiChecked_;  // whether the backing store has the canvas's resolution
};

}  // namespace vx::view
