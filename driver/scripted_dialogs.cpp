#include "driver/scripted_dialogs.h"

#include <algorithm>
#include <cstdio>

#include "script/value.h"

namespace vx::driver {

using namespace vx::script;    // NOLINT

using platform::MsgButtons;
using platform::MsgResult;

bool offers(MsgButtons buttons, MsgResult result) {
  switch (buttons) {
    case MsgButtons::OK: return result == MsgResult::OK;
    case MsgButtons::OKCancel: return result == MsgResult::OK || result == MsgResult::Cancel;
    case MsgButtons::YesNoCancel:
      return result == MsgResult::Yes || result == MsgResult::No || result == MsgResult::Cancel;
    case MsgButtons::YesNo: return result == MsgResult::Yes || result == MsgResult::No;
    case MsgButtons::RetryCancel: return result == MsgResult::Retry || result == MsgResult::Cancel;
  }
  return false;
}

MsgResult defaultAnswer(MsgButtons buttons) {
  for (MsgResult r : {MsgResult::Cancel, MsgResult::No})
    if (offers(buttons, r)) return r;
  return MsgResult::OK;
}

void ScriptedDialogs::queue(const Answer& answer, int line) { queues_[answer.kind].push_back({answer, line}); }

std::optional<ScriptedDialogs::Queued> ScriptedDialogs::next(DialogKind kind) {
  auto& q = queues_[kind];
  if (q.empty()) return std::nullopt;
  Queued front = q.front();
  q.pop_front();
  return front;
}

MsgResult ScriptedDialogs::messageBox(const platform::MessageBoxSpec& spec) {
  MsgResult result = defaultAnswer(spec.buttons);
  if (auto queued = next(DialogKind::MsgBox)) {
    if (offers(spec.buttons, queued->answer.result)) {
      result = queued->answer.result;
    } else {
      misfits_.push_back(std::string("the answer ") + platform::resultName(queued->answer.result) + " queued at line " +
                         std::to_string(queued->line) + " does not fit a message box with buttons " +
                         platform::buttonsName(spec.buttons));
    }
  }
  out_ << "msgbox " << quote(spec.text) << " title=" << quote(spec.title) << " buttons=" << platform::buttonsName(spec.buttons)
       << " icon=" << platform::iconName(spec.icon) << " -> " << platform::resultName(result) << '\n';
  return result;
}

std::optional<std::string> ScriptedDialogs::fileDialog(DialogKind kind, const platform::FileDialogSpec& spec) {
  std::optional<std::string> chosen;
  if (auto queued = next(kind); queued && !queued->answer.cancel) chosen = queued->answer.text;
  out_ << dialogKindName(kind) << " title=" << quote(spec.title) << " filter=" << quote(spec.filter) << " -> "
       << (chosen ? quote(*chosen) : "cancel") << '\n';
  return chosen;
}

std::optional<std::string> ScriptedDialogs::openFile(const platform::FileDialogSpec& spec) {
  return fileDialog(DialogKind::Open, spec);
}

std::optional<std::string> ScriptedDialogs::saveFile(const platform::FileDialogSpec& spec) {
  return fileDialog(DialogKind::Save, spec);
}

namespace {
std::string colorText(uint32_t c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "&H%06X", static_cast<unsigned>(c));
  return buffer;
}
}  // namespace

std::optional<uint32_t> ScriptedDialogs::chooseColor(uint32_t initial) {
  std::optional<uint32_t> chosen;
  if (auto queued = next(DialogKind::Color); queued && !queued->answer.cancel) chosen = queued->answer.color;
  out_ << "color initial=" << colorText(initial) << " -> " << (chosen ? colorText(*chosen) : "cancel") << '\n';
  return chosen;
}

std::optional<std::string> ScriptedDialogs::popupMenu(const std::string& menuName, const std::vector<std::string>& entries) {
  std::optional<std::string> chosen;
  if (auto queued = next(DialogKind::Popup); queued && !queued->answer.cancel) {
    if (std::find(entries.begin(), entries.end(), queued->answer.text) != entries.end())
      chosen = queued->answer.text;
    else
      misfits_.push_back("the pop-up menu " + menuName + " has no entry " + queued->answer.text + " (queued at line " +
                         std::to_string(queued->line) + ")");
  }
  out_ << "popup " << menuName << " -> " << (chosen ? *chosen : "none") << '\n';
  return chosen;
}

bool ScriptedDialogs::extendedSettings(std::vector<platform::SettingsTab>& tabs) {
  const auto checkOf = [&](const std::string& key) -> platform::SettingsCheck* {
    for (platform::SettingsTab& tab : tabs)
      for (platform::SettingsCheck& check : tab.checks)
        if (check.key == key) return &check;
    return nullptr;
  };
  // Queued pop-up answers that name a check box belong to this dialog; the others wait.
  bool ok = false;
  auto& queue = queues_[DialogKind::Popup];
  while (!queue.empty() && !queue.front().answer.cancel) {
    platform::SettingsCheck* check = checkOf(queue.front().answer.text);
    if (!check) break;
    check->checked = !check->checked;
    queue.pop_front();
    ok = true;
  }
  out_ << "extsettings";
  for (const platform::SettingsTab& tab : tabs) {
    out_ << " " << tab.title << ":";
    for (const platform::SettingsCheck& check : tab.checks) out_ << (check.checked ? " [x] " : " [ ] ") << check.key;
  }
  out_ << " -> " << (ok ? "ok" : "cancel") << '\n';
  return ok;
}

std::vector<std::string> ScriptedDialogs::takeMisfits() {
  std::vector<std::string> out;
  out.swap(misfits_);
  return out;
}

std::vector<std::string> ScriptedDialogs::unusedAnswers() const {
  std::vector<std::string> out;
  for (const auto& [kind, queue] : queues_)
    for (const Queued& q : queue)
      out.push_back(std::string("the answer to a ") + dialogKindName(kind) + " queued at line " + std::to_string(q.line) +
                    " was never used");
  return out;
}

}  // namespace vx::driver
