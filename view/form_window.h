#pragma once
// A dialog window built from its form model with the platform's own widgets: labels, buttons,
// lists, option buttons, check boxes, text boxes, sliders and pictures at their twips places.
// The models have no button kind: the labels named as buttons are drawn as push buttons.
#include <QPixmap>
#include <QWidget>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/program.h"
#include "ui/picture_source.h"
#include "view/dispatcher.h"
#include "view/pixmap_cache.h"

namespace vx::view {

struct FormWindowOptions {
  std::set<std::string> buttons;       // labels shown as push buttons
  std::set<std::string> iconPictures;  // pictures showing the program's icon
  std::set<std::string> frames;        // labels drawn as frames around a group of controls
  std::set<std::string> pads;          // labels drawn as plain surfaces that report the mouse
};

class FormWindow : public QWidget {
 public:
  FormWindow(Program& p, form::Form& form, Dispatcher& dispatcher, FormWindowOptions options, QWidget* owner);
  // Follows the window's state and the controls the form lists as changed.
  void sync();
  void setIcon(const QPixmap& icon);
  QWidget* widgetOf(const std::string& name, int index = -1) const;
  form::Form& form() { return form_; }

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  struct Item {
    form::Control* control;
    QWidget* widget;
    ui::DrawnPicture source;
  };
  QWidget* create(form::Control& c);
  void update(Item& item);
  void updateChanged();
  void updatePicture(Item& item);
  QRect placeOf(const form::Control& c) const;

  Program& p_;
  form::Form& form_;
  Dispatcher& dispatcher_;
  FormWindowOptions options_;
  std::vector<Item> items_;
  // Where a control's widgets are: its own item, and the items placed on it (a container's place
  // is theirs too).
  std::unordered_map<const form::Control*, std::vector<size_t>> itemsOf_;
  std::vector<form::Control*> changed_;
  std::vector<size_t> due_;  // the items to update, by their place in items_
  std::optional<std::string> shownCaption_;  // compared without asking the window on every sync
  PixmapCache pixmaps_;
  QPixmap icon_;
  bool placed_ = false;
};

}  // namespace vx::view
