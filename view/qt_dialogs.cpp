#include "view/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFontDatabase>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include "view/extended_settings_dialog.h"
#include "view/file_filter.h"

namespace vx::view {

namespace {

using platform::MsgResult;

QMessageBox::Icon iconOf(platform::MsgIcon icon) {
  switch (icon) {
    case platform::MsgIcon::Critical: return QMessageBox::Critical;
    case platform::MsgIcon::Question: return QMessageBox::Question;
    case platform::MsgIcon::Warning: return QMessageBox::Warning;
    case platform::MsgIcon::Information: return QMessageBox::Information;
    case platform::MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole roleOf(MsgResult r) {
  switch (r) {
    case MsgResult::Yes: return QMessageBox::YesRole;
    case MsgResult::No: return QMessageBox::NoRole;
    case MsgResult::Cancel: return QMessageBox::RejectRole;
    case MsgResult::Retry: return QMessageBox::AcceptRole;
    case MsgResult::OK: break;
  }
  return QMessageBox::AcceptRole;
}

// Closing the box answers what changes least: Cancel, else No, else OK.
MsgResult escapeAnswer(platform::MsgButtons buttons) {
  switch (buttons) {
    case platform::MsgButtons::OK: return MsgResult::OK;
    case platform::MsgButtons::YesNo: return MsgResult::No;
    default: return MsgResult::Cancel;
  }
}

}  // namespace

std::vector<std::pair<MsgResult, std::string>> messageButtons(platform::MsgButtons buttons) {
  const std::pair<MsgResult, std::string> ok{MsgResult::OK, "OK"}, cancel{MsgResult::Cancel, "キャンセル"},
      yes{MsgResult::Yes, "はい"}, no{MsgResult::No, "いいえ"}, retry{MsgResult::Retry, "再試行"};
  switch (buttons) {
    case platform::MsgButtons::OK: return {ok};
    case platform::MsgButtons::OKCancel: return {ok, cancel};
    case platform::MsgButtons::YesNoCancel: return {yes, no, cancel};
    case platform::MsgButtons::YesNo: return {yes, no};
    case platform::MsgButtons::RetryCancel: return {retry, cancel};
  }
  return {ok};
}

QWidget* QtDialogs::owner() const {
  if (owner_) {
    if (QWidget* w = owner_()) return w;
  }
  return QApplication::activeWindow();
}

MsgResult QtDialogs::messageBox(const platform::MessageBoxSpec& spec) {
  QMessageBox box(iconOf(spec.icon), QString::fromStdString(spec.title.empty() ? "Velvox" : spec.title),
                  QString::fromStdString(spec.text), QMessageBox::NoButton, owner());
  std::vector<std::pair<QPushButton*, MsgResult>> answers;
  MsgResult onEscape = escapeAnswer(spec.buttons);
  for (const auto& [result, caption] : messageButtons(spec.buttons)) {
    QPushButton* b = box.addButton(QString::fromStdString(caption), roleOf(result));
    answers.emplace_back(b, result);
    if (result == onEscape) box.setEscapeButton(b);
  }
  box.setDefaultButton(answers.front().first);
  box.exec();
  for (const auto& [button, result] : answers)
    if (box.clickedButton() == button) return result;
  return onEscape;
}

std::optional<std::string> QtDialogs::fileDialog(const platform::FileDialogSpec& spec, bool save) {
  QFileDialog dialog(owner(), QString::fromStdString(spec.title), QString::fromStdString(spec.initialDir));
  // Qt's own dialog, which speaks the program's language; the desktop's would follow its locale.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  for (const std::string& f : qtFilters(spec.filter)) filters << QString::fromStdString(f);
  dialog.setNameFilters(filters);
  std::string ext = spec.defaultExt;
  if (!ext.empty() && ext.front() == '.') ext.erase(0, 1);
  if (!ext.empty() && ext.find('*') == std::string::npos) dialog.setDefaultSuffix(QString::fromStdString(ext));
  if (!spec.fileName.empty()) dialog.selectFile(QString::fromStdString(spec.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

std::optional<std::string> QtDialogs::openFile(const platform::FileDialogSpec& spec) { return fileDialog(spec, false); }

std::optional<std::string> QtDialogs::saveFile(const platform::FileDialogSpec& spec) { return fileDialog(spec, true); }

std::optional<uint32_t> QtDialogs::chooseColor(uint32_t initial) {
  QColor start(static_cast<int>(initial & 0xFF), static_cast<int>(initial >> 8 & 0xFF), static_cast<int>(initial >> 16 & 0xFF));
  QColor chosen = QColorDialog::getColor(start, owner(), QString(), QColorDialog::DontUseNativeDialog);
  if (!chosen.isValid()) return std::nullopt;
  return static_cast<uint32_t>(chosen.red()) | static_cast<uint32_t>(chosen.green()) << 8 |
         static_cast<uint32_t>(chosen.blue()) << 16;
}

std::optional<std::string> QtDialogs::popupMenu(const std::string& menuName, const std::vector<std::string>& entries) {
  QMenu menu(owner());
  for (const std::string& name : entries) {
    form::MenuItem* item = program_ ? program_->main.findAs<form::MenuItem>(name) : nullptr;
    QAction* action = menu.addAction(QString::fromStdString(item ? item->caption() : name));
    action->setData(QString::fromStdString(name));
    if (item) {
      action->setEnabled(item->enabled());
      action->setVisible(item->visible());
    }
  }
  (void)menuName;
  QAction* chosen = menu.exec(QCursor::pos());
  if (!chosen) return std::nullopt;
  return chosen->data().toString().toStdString();
}

std::vector<std::string> QtDialogs::fontNames() {
  std::vector<std::string> names;
  for (const QString& family : QFontDatabase::families()) names.push_back(family.toStdString());
  return names;
}

bool QtDialogs::extendedSettings(std::vector<platform::SettingsTab>& tabs) { return runExtendedSettings(owner(), tabs); }

}  // namespace vx::view
