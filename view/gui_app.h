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
  // `soundIdle` says that the sound has nothing more to deliver until the next command (null:
  // there is no sound to wait for).
  GuiApp(Program& p, std::function<void()> deliverEvents, const QPixmap& icon, KeyboardFamily keyboard,
         std::function<bool()> soundIdle = nullptr);
  ~GuiApp() override;

  void run(const std::function<void()>& handler) override;
  void syncAll();
  // Starts the forms' timers. A timer runs while it is enabled (and its window shows, except for
  // MainForm's); the main tick also rests while it has nothing to do, until the next event.
  void startTimers();
  // The main tick rests (for tests and the benchmark).
  bool mainTickResting() const { return mainResting_; }

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
  struct FormTimer {
    form::Form* form;
    form::Timer* model;
    std::unique_ptr<QTimer> clock;
  };
  void addTimers(form::Form& form);
  void syncTimers();
  void tick(form::Form& form, form::Timer& timer);
  // Grows with every change of any window or control: a tick that leaves it alone changed nothing.
  uint64_t changeCount() const;
  form::Form* keyboardForm(QObject* watched) const;

  Program& p_;
  std::function<void()> deliverEvents_;
  std::function<bool()> soundIdle_;
  std::unique_ptr<SkinnedWindow> main_, splash_;
  std::vector<std::unique_ptr<SkinnedWindow>> skinned_;
  std::vector<std::unique_ptr<FormWindow>> dialogs_;
  QPixmap icon_;
  std::vector<FormTimer> timers_;
  KeyboardFamily keyboard_;
  int depth_ = 0;
  bool quitting_ = false;
  bool ticking_ = false;      // the main tick's handler runs
  bool mainResting_ = false;  // the main tick waits for the next event
};

}  // namespace vx::view
