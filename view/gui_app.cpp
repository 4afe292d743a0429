#include "view/gui_app.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <exception>
#include <iostream>

#include "decks/tick_rest.h"
#include "view/program_windows.h"

namespace vx::view {

namespace {

SkinnedOptions mainOptions() {
  SkinnedOptions o;
  o.menuBar = true;
  return o;
}

SkinnedOptions splashOptions() {
  SkinnedOptions o;
  o.canvas.backdrop = "splash";
  o.canvas.iconPictures = {"Image2"};
  return o;
}

}  // namespace

GuiApp::GuiApp(Program& p, std::function<void()> deliverEvents, const QPixmap& icon, KeyboardFamily keyboard,
               std::function<bool()> soundIdle)
    : p_(p), deliverEvents_(std::move(deliverEvents)), soundIdle_(std::move(soundIdle)), icon_(icon), keyboard_(keyboard) {
  main_ = std::make_unique<SkinnedWindow>(p, p.main, *this, mainOptions());
  splash_ = std::make_unique<SkinnedWindow>(p, p.splash, *this, splashOptions());
  splash_->canvas().setIcon(icon);
  for (QWidget* w : {static_cast<QWidget*>(main_.get()), static_cast<QWidget*>(splash_.get())}) w->setWindowIcon(icon);
  addProgramWindows(*this, p);
  qApp->installEventFilter(this);
}

SkinnedWindow& GuiApp::addSkinnedWindow(form::Form& form, SkinnedOptions options) {
  skinned_.push_back(std::make_unique<SkinnedWindow>(p_, form, *this, std::move(options)));
  skinned_.back()->canvas().setIcon(icon_);
  skinned_.back()->setWindowIcon(icon_);
  return *skinned_.back();
}

FormWindow& GuiApp::addDialog(form::Form& form, FormWindowOptions options) {
  dialogs_.push_back(std::make_unique<FormWindow>(p_, form, *this, std::move(options), main_.get()));
  dialogs_.back()->setIcon(icon_);
  return *dialogs_.back();
}

FormWindow* GuiApp::dialogOf(const form::Form& form) const {
  for (const auto& d : dialogs_)
    if (&d->form() == &form) return d.get();
  return nullptr;
}

GuiApp::~GuiApp() { qApp->removeEventFilter(this); }

void GuiApp::run(const std::function<void()>& handler) {
  // Any event may give the main tick work again.
  if (!ticking_) mainResting_ = false;
  ++depth_;
  try {
    handler();
  } catch (const std::exception& e) {
    // A handler that fails ends there; the program goes on, as the operations do past failures.
    std::cerr << "velvox: " << e.what() << "\n";
  }
  --depth_;
  if (depth_ == 0) syncAll();
}

void GuiApp::syncAll() {
  main_->sync();
  splash_->sync();
  for (auto& w : skinned_) w->sync();
  for (auto& d : dialogs_) d->sync();
  if (p_.quitRequested && !quitting_) {
    quitting_ = true;
    QApplication::quit();
  }
  syncTimers();
}

QWidget* GuiApp::dialogOwner() { return main_->isVisible() ? static_cast<QWidget*>(main_.get()) : splash_.get(); }

void GuiApp::addTimers(form::Form& form) {
  for (form::Control* c : form.controls()) {
    auto* timer = dynamic_cast<form::Timer*>(c);
    if (!timer) continue;
    auto qt = std::make_unique<QTimer>();
    qt->setTimerType(Qt::PreciseTimer);
    connect(qt.get(), &QTimer::timeout, this, [this, &form, timer] { tick(form, *timer); });
    timers_.push_back({&form, timer, std::move(qt)});
  }
}

void GuiApp::startTimers() {
  addTimers(p_.main);
  addTimers(p_.splash);
  for (auto& w : skinned_) addTimers(w->form());
  for (auto& d : dialogs_) addTimers(d->form());
  syncTimers();
}

void GuiApp::syncTimers() {
  // A timer that could not tick is not kept running: a disabled one, or one of a hidden window.
  for (FormTimer& t : timers_) {
    bool main = t.form == &p_.main;
    bool wanted = !quitting_ && t.model->interval > 0 && t.model->enabled() && (main || t.form->visible) &&
                  !(main && mainResting_);
    if (t.clock->interval() != t.model->interval) t.clock->setInterval(std::max(t.model->interval, 1));
    if (wanted && !t.clock->isActive()) t.clock->start();
    if (!wanted && t.clock->isActive()) t.clock->stop();
  }
}

uint64_t GuiApp::changeCount() const {
  uint64_t count = 0;
  auto add = [&count](const form::Form& form) {
    count += form.revision() + form.changes().count();
  };
  add(p_.main);
  add(p_.splash);
  for (const auto& w : skinned_) add(w->form());
  for (const auto& d : dialogs_) add(d->form());
  return count;
}

void GuiApp::tick(form::Form& form, form::Timer& timer) {
  // A tick never runs inside a handler (a handler showing a dialog keeps the loop turning).
  if (depth_ > 0 || !timer.enabled()) return;
  if (&form != &p_.main && !form.visible) return;
  uint64_t before = changeCount();
  ticking_ = true;
  run([this, &timer] {
    if (deliverEvents_) deliverEvents_();
    if (timer.tick) timer.tick();
  });
  ticking_ = false;
  // Nothing plays, nothing moves by itself, and this tick changed nothing: the next ones would
  // not either, until an event comes.
  if (&form == &p_.main && (!soundIdle_ || soundIdle_()) && decks::mainTickCanRest(p_) && changeCount() == before) {
    mainResting_ = true;
    syncTimers();
  }
}

form::Form* GuiApp::keyboardForm(QObject* watched) const {
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget) return nullptr;
  QWidget* window = widget->window();
  if (window == main_.get()) return &p_.main;
  if (window == splash_.get()) return &p_.splash;
  for (const auto& w : skinned_)
    if (window == w.get()) return &w->form();
  return nullptr;
}

bool GuiApp::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  form::Form* form = keyboardForm(watched);
  if (!form || depth_ > 0) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  bool down = event->type() == QEvent::KeyPress;
  // Held keys repeat their key-down only, as the keyboard does on the classic platform.
  if (!down && key->isAutoRepeat()) return true;
  if (isJisOnlyKey(key->nativeScanCode())) keyboard_ = KeyboardFamily::Jis;
  int vk = virtualKey(key->key(), key->modifiers() & Qt::KeypadModifier, key->nativeScanCode(), keyboard_);
  int shift = shiftMask(key->modifiers());
  if (vk == 0) return true;
  run([form, down, vk, shift] {
    auto& handler = down ? form->keyDown : form->keyUp;
    if (handler) handler(vk, shift);
  });
  // The window takes every key: no control of it sees one.
  return true;
}

}  // namespace vx::view
