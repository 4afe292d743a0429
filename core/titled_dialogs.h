#pragma once
// The program's dialogs as every front end shows them: a message box raised without a title
// carries the program's name, so the window, the headless driver and any other front end show
// the same title. UI thread only, as the dialogs it passes to.
#include "platform/dialogs.h"

namespace vx {

inline constexpr const char* kProgramName = "Velvox";

class TitledDialogs : public platform::Dialogs {
 public:
  explicit TitledDialogs(platform::Dialogs& inner) : inner_(inner) {}
  platform::MsgResult messageBox(const platform::MessageBoxSpec& spec) override;
  std::optional<std::string> openFile(const platform::FileDialogSpec& spec) override { return inner_.openFile(spec); }
  std::optional<std::string> saveFile(const platform::FileDialogSpec& spec) override { return inner_.saveFile(spec); }
  std::optional<uint32_t> chooseColor(uint32_t initial) override { return inner_.chooseColor(initial); }
  std::optional<std::string> popupMenu(const std::string& menuName, const std::vector<std::string>& entries) override {
    return inner_.popupMenu(menuName, entries);
  }
  std::vector<std::string> fontNames() override { return inner_.fontNames(); }
  bool extendedSettings(std::vector<platform::SettingsTab>& tabs) override { return inner_.extendedSettings(tabs); }

 private:
  platform::Dialogs& inner_;
};

}  // namespace vx
