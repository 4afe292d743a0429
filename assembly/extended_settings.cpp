#include "assembly/extended_settings.h"

#include "shell/settings_file.h"

namespace vx::assembly {

namespace {

constexpr const char* kMenu = "extsettings";

}  // namespace

ExtendedSettings::~ExtendedSettings() {
  if (form::MenuItem* item = p_.main.findAs<form::MenuItem>(kMenu)) item->events.click = nullptr;
}

void ExtendedSettings::wire() {
  if (form::MenuItem* item = p_.main.findAs<form::MenuItem>(kMenu)) item->events.click = [this] { open(); };
}

void ExtendedSettings::open() {
  if (!p_.ports.dialogs) return;
  std::vector<platform::SettingsTab> shown;
  for (const Tab& tab : tabs_) shown.push_back(tab.fill());
  if (!p_.ports.dialogs->extendedSettings(shown)) return;
  for (size_t i = 0; i < tabs_.size() && i < shown.size(); ++i) tabs_[i].apply(shown[i]);
  shell::savePlusSettings(p_);
}

}  // namespace vx::assembly
