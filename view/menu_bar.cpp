#include "view/menu_bar.h"

#include <QEvent>
#include <QMenu>

namespace vx::view {

namespace {

std::vector<form::MenuItem*> entriesUnder(const form::Form& form, const std::string& parent) {
  std::vector<form::MenuItem*> out;
  for (form::Control* c : form.controls())
    if (auto* m = dynamic_cast<form::MenuItem*>(c); m && m->parent == parent) out.push_back(m);
  return out;
}

}  // namespace

MenuBar::MenuBar(form::Form& form, Dispatcher& dispatcher, QWidget* parent)
    : QMenuBar(parent), form_(form), dispatcher_(dispatcher) {
  setNativeMenuBar(false);
  tops_ = entriesUnder(form, "");
  for (form::MenuItem* top : tops_) {
    if (entriesUnder(form, top->name()).empty()) {
      addAction(makeAction(*top, this));
      continue;
    }
    QMenu* menu = addMenu(QString::fromStdString(top->caption()));
    actions_[top] = menu->menuAction();
    addEntries(menu, top->name());
  }
  for (auto& [item, action] : actions_) apply(*item, *action);
}

QAction* MenuBar::makeAction(form::MenuItem& item, QObject* owner) {
  auto* action = new QAction(QString::fromStdString(item.caption()), owner);
  actions_[&item] = action;
  connect(action, &QAction::triggered, this, [this, &item, action] {
    dispatcher_.run([&item] {
      if (item.events.click) item.events.click();
    });
    // The model, not the click, decides the check mark.
    apply(item, *action);
  });
  return action;
}

void MenuBar::addEntries(QMenu* menu, const std::string& parent) {
  for (form::MenuItem* item : entriesUnder(form_, parent)) {
    if (entriesUnder(form_, item->name()).empty()) {
      menu->addAction(makeAction(*item, menu));
      continue;
    }
    QMenu* sub = menu->addMenu(QString::fromStdString(item->caption()));
    actions_[item] = sub->menuAction();
    addEntries(sub, item->name());
  }
}

void MenuBar::apply(form::MenuItem& item, QAction& action) {
  action.setText(QString::fromStdString(item.caption()));
  action.setCheckable(item.checked());
  action.setChecked(item.checked());
  action.setEnabled(item.enabled());
  action.setVisible(item.visible());
}

void MenuBar::sync(const std::vector<form::Control*>& changed) {
  for (form::Control* c : changed) {
    if (c->kind() != form::ControlKind::Menu) continue;
    auto it = actions_.find(static_cast<form::MenuItem*>(c));
    if (it != actions_.end()) apply(*it->first, *it->second);
  }
}

bool MenuBar::hasShownMenus() const {
  for (form::MenuItem* top : tops_)
    if (top->visible()) return true;
  return false;
}

bool MenuBar::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::UpdateRequest) return false;
  return QMenuBar::eventFilter(watched, event);
}

QAction* MenuBar::actionOf(const std::string& name) const {
  for (const auto& [item, action] : actions_)
    if (item->name() == name) return action;
  return nullptr;
}

}  // namespace vx::view
