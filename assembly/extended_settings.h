#pragma once
// The extended settings dialog ("拡張設定…", menu entry `extsettings`): the settings of the
// features beyond the classic ones, one tab a feature, stored in velvoxplus.ini. A feature adds
// its tab: how to fill it from the settings and what to do with the user's choice.
#include <functional>
#include <vector>

#include "core/program.h"
#include "platform/dialogs.h"

namespace vx::assembly {

class ExtendedSettings {
 public:
  struct Tab {
    std::function<platform::SettingsTab()> fill;
    std::function<void(const platform::SettingsTab&)> apply;  // after OK, before the file is saved
  };

  explicit ExtendedSettings(Program& p) : p_(p) {}
  ~ExtendedSettings();
  ExtendedSettings(const ExtendedSettings&) = delete;
  ExtendedSettings& operator=(const ExtendedSettings&) = delete;

  void addTab(Tab tab) { tabs_.push_back(std::move(tab)); }
  // Hooks the menu entry.
  void wire();
  // Shows the dialog; on OK applies every tab and writes velvoxplus.ini at once.
  void open();

 private:
  Program& p_;
  std::vector<Tab> tabs_;
};

}  // namespace vx::assembly
