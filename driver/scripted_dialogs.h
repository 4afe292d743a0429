#pragma once
// Dialogs answered from the script: one queue of answers per kind of dialog. A dialog with
// no queued answer gets the answer that changes least (Cancel, else No, else OK; a file or
// colour dialog is cancelled, a pop-up menu dismissed). Every dialog prints one line when it
// appears: what it shows and the answer it got.
#include <deque>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "script/script.h"

namespace vx::driver {

using namespace vx::script;    // NOLINT

class ScriptedDialogs : public platform::Dialogs {
 public:
  explicit ScriptedDialogs(std::ostream& out) : out_(out) {}

  // `line` is the script line that queued the answer, for messages.
  void queue(const Answer& answer, int line);

  platform::MsgResult messageBox(const platform::MessageBoxSpec& spec) override;
  std::optional<std::string> openFile(const platform::FileDialogSpec& spec) override;
  std::optional<std::string> saveFile(const platform::FileDialogSpec& spec) override;
  std::optional<uint32_t> chooseColor(uint32_t initial) override;
  std::optional<std::string> popupMenu(const std::string& menuName, const std::vector<std::string>& entries) override;
  // Every queued `answer popup KEY` turns the check box of that key over and the dialog ends with
  // OK; without one it is cancelled.
  bool extendedSettings(std::vector<platform::SettingsTab>& tabs) override;
  // A fixed list, so that scenarios do not depend on the fonts installed.
  std::vector<std::string> fontNames() override {
    return {"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif", "Noto Sans CJK JP", "Noto Serif CJK JP"};
  }

  // Answers given to a dialog they do not fit (yes to a box that offers only OK, a pop-up
  // entry the menu does not have), one message each; the list is emptied by taking it.
  std::vector<std::string> takeMisfits();
  // Answers still queued: dialogs the script expected and that never appeared.
  std::vector<std::string> unusedAnswers() const;

 private:
  struct Queued {
    Answer answer;
    int line = 0;
  };
  std::optional<Queued> next(DialogKind kind);
  std::optional<std::string> fileDialog(DialogKind kind, const platform::FileDialogSpec& spec);

  std::ostream& out_;
  std::map<DialogKind, std::deque<Queued>> queues_;
  std::vector<std::string> misfits_;
};

// The answer that changes least for these buttons.
platform::MsgResult defaultAnswer(platform::MsgButtons buttons);
bool offers(platform::MsgButtons buttons, platform::MsgResult result);

}  // namespace vx::driver
