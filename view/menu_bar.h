#pragma once
// The window's menu bar, built from the form's menu entries: a top-level entry with entries
// below it is a menu, one without is a command in the bar itself. Captions, check marks, enabled
// and visible states follow the models; the bar hides itself when no top-level entry is shown.
#include <QMenuBar>
#include <map>
#include <vector>

#include "form/form.h"
#include "view/dispatcher.h"

namespace vx::view {

class MenuBar : public QMenuBar {
 public:
  MenuBar(form::Form& form, Dispatcher& dispatcher, QWidget* parent);
  // Follows the entries among `changed`, the form's controls changed since the last call.
  void sync(const std::vector<form::Control*>& changed);
  // True when at least one top-level entry is shown.
  bool hasShownMenus() const;
  QAction* actionOf(const std::string& name) const;

 protected:
  // The window's repaint requests, one a tick while the decks play, concern no menu: they skip
  // the bar's own filter, which asks the style sheet's rules about the Alt key for every event.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void addEntries(QMenu* menu, const std::string& parent);
  QAction* makeAction(form::MenuItem& item, QObject* owner);
  void apply(form::MenuItem& item, QAction& action);
  form::Form& form_;
  Dispatcher& dispatcher_;
  std::map<form::MenuItem*, QAction*> actions_;
  std::vector<form::MenuItem*> tops_;  // the top-level entries
};

}  // namespace vx::view
