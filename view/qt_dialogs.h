#pragma once
// The program's dialogs with Qt: message boxes with Japanese buttons, open and save dialogs,
// the colour dialog and pop-up menus. All are modal and run on the user-interface thread.
#include <QWidget>
#include <functional>

#include "core/program.h"
#include "platform/dialogs.h"

namespace vx::view {

class QtDialogs : public platform::Dialogs {
 public:
  // The program, for the captions of pop-up menu entries; set once it exists.
  void setProgram(Program* p) { program_ = p; }
  // The window the dialogs belong to (the active one when not set).
  void setOwner(std::function<QWidget*()> owner) { owner_ = std::move(owner); }

  platform::MsgResult messageBox(const platform::MessageBoxSpec& spec) override;
  std::optional<std::string> openFile(const platform::FileDialogSpec& spec) override;
  std::optional<std::string> saveFile(const platform::FileDialogSpec& spec) override;
  std::optional<uint32_t> chooseColor(uint32_t initial) override;
  std::optional<std::string> popupMenu(const std::string& menuName, const std::vector<std::string>& entries) override;
  std::vector<std::string> fontNames() override;
  bool extendedSettings(std::vector<platform::SettingsTab>& tabs) override;

 private:
  QWidget* owner() const;
  std::optional<std::string> fileDialog(const platform::FileDialogSpec& spec, bool save);
  Program* program_ = nullptr;
  std::function<QWidget*()> owner_;
};

// The buttons a message box offers, with their captions, in order.
std::vector<std::pair<platform::MsgResult, std::string>> messageButtons(platform::MsgButtons buttons);

}  // namespace vx::view
