#pragma once
// A window without the system's frame, drawn entirely from its form model and skin: the main
// window (with its own menu bar) and the splash. Size, place, caption, visibility, minimised
// state and staying on top follow the form.
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/program.h"
#include "view/form_canvas.h"
#include "view/menu_bar.h"

namespace vx::view {

struct SkinnedOptions {
  bool menuBar = false;
  CanvasOptions canvas;
};

class SkinnedWindow : public QWidget {
 public:
  SkinnedWindow(Program& p, form::Form& form, Dispatcher& dispatcher, SkinnedOptions options);
  void sync();
  // Places the window in the middle of the main screen, through its form, which keeps the place.
  void centreOnScreen();
  FormCanvas& canvas() { return *canvas_; }
  MenuBar* menus() { return menus_; }
  form::Form& form() { return form_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void syncFrame();
  void syncState();
  Program& p_;
  form::Form& form_;
  Dispatcher& dispatcher_;
  FormCanvas* canvas_ = nullptr;
  MenuBar* menus_ = nullptr;
  std::vector<form::Control*> changed_;  // kept to take the form's changes without allocating
  std::optional<std::string> shownCaption_;  // compared without asking the window on every sync
  std::optional<std::array<double, 4>> checkedFrame_;  // the place and size last kept on a screen
  std::optional<bool> menusShown_;  // whether any top-level menu entry shows
};

}  // namespace vx::view
