#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx::platform {

enum class MsgButtons { OK, OKCancel, YesNoCancel, YesNo, RetryCancel };
enum class MsgIcon { None, Critical, Question, Warning, Information };
enum class MsgResult { OK = 1, Cancel = 2, Retry = 4, Yes = 6, No = 7 };

struct MessageBoxSpec {
  std::string text;
  std::string title;  // "" = the program's name
  MsgButtons buttons = MsgButtons::OK;
  MsgIcon icon = MsgIcon::None;
};

// Open and save dialogs. `filter` is the classic "description|patterns|..." text.
struct FileDialogSpec {
  std::string title;
  std::string filter;
  std::string defaultExt;
  std::string initialDir;
  std::string fileName;
  bool multiSelect = false;
};

// One tab of the extended settings ("拡張設定…"): a feature's check boxes, each with the key it
// stands for.
struct SettingsCheck {
  std::string key;
  std::string label;
  bool checked = false;
};
struct SettingsTab {
  std::string title;
  std::string note;  // a line of text above the check boxes ("" = none)
  std::vector<SettingsCheck> checks;
};

// Modal dialogs, UI thread only. A cancelled file dialog returns nullopt.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual MsgResult messageBox(const MessageBoxSpec& spec) = 0;
  virtual std::optional<std::string> openFile(const FileDialogSpec& spec) = 0;
  virtual std::optional<std::string> saveFile(const FileDialogSpec& spec) = 0;
  virtual std::optional<uint32_t> chooseColor(uint32_t initial) = 0;
  // Shows the pop-up menu `menuName` (whose entries are the menu items with that parent);
  // returns the chosen entry's name, nullopt when dismissed.
  virtual std::optional<std::string> popupMenu(const std::string& menuName, const std::vector<std::string>& entries) = 0;
  // The extended settings, one tab a feature; the checks come back as the user left them. False
  // when cancelled (or when the platform has no such dialog).
  virtual bool extendedSettings(std::vector<SettingsTab>& tabs) { return false; }
  // The names of the screen's fonts, in the platform's order (the skin window's font list).
  virtual std::vector<std::string> fontNames() { return {}; }
};

const char* buttonsName(MsgButtons b);
const char* iconName(MsgIcon i);
const char* resultName(MsgResult r);

}  // namespace vx::platform
