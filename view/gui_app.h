#pragma once
// The running window program: its windows, the form timers, the keyboard, and the rule that one
// event handler runs at a time and every window is brought up to date after it.
#include <QObject>
#include <QPixmap>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "core/program.h"
#include "view/dispatcher.h"
#include "view/form_window.h"
#include "view/keymap.h"
#include "view/skinned_window.h"

namespace vx::view {

class GuiApp : public QObject, public Dispatcher {
 public:
  // `deliverEvents` hands the players' pending events to the program; it runs before every tick.
  GuiApp(Program& p, std::function<void()> deliverEvents, const QPixmap& icon, KeyboardFamily keyboard);
  ~GuiApp() override;

  void run(const std::function<void()>& handler) override;
  void syncAll();
  // Starts the forms' timers.
  void startTimers();

  // Windows of the program's other forms: drawn from the skin, or with the platform's widgets.
  SkinnedWindow& addSkinnedWindow(form::Form& form, SkinnedOptions options);
  FormWindow& addDialog(form::Form& form, FormWindowOptions options);

  SkinnedWindow& mainWindow() { return *main_; }
  SkinnedWindow& splashWindow() { return *splash_; }
  // The dialog window of a form; nullptr when it has none.
  FormWindow* dialogOf(const form::Form& form) const;
  // The window dialogs belong to: the main window once it shows, else the splash.
  QWidget* dialogOwner();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void addTimers(form::Form& form);
  void tick(form::Form& form, form::Timer& timer);
  form::Form* keyboardForm(QObject* watched) const;

  Program& p_;
  std::function<void()> deliverEvents_;
  std::unique_ptr<SkinnedWindow> main_, splash_;
  std::vector<std::unique_ptr<SkinnedWindow>> skinned_;
  std::vector<std::unique_ptr<FormWindow>> dialogs_;
  QPixmap icon_;
  std::vector<std::unique_ptr<QTimer>> timers_;
  KeyboardFamily keyboard_;
  int depth_ = 0;
  bool quitting_ = false;
};

}  // namespace vx::view
