#pragma once
// The scenario language: one command a line, words separated by blanks, "..." for a word
// with blanks (\" \\ \n \r \t inside), $VAR and ${VAR} replaced from the environment ($$ is a
// plain $), whole-line # comments.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "form/control.h"
#include "platform/dialogs.h"
#include "script/value.h"

namespace vx::script {

// A mistake in the script itself (not a failed expectation): the run stops with status 2.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Word {
  std::string text;
  bool quoted = false;
};

using EnvLookup = std::function<std::optional<std::string>(const std::string& name)>;
// The process environment.
std::optional<std::string> processEnv(const std::string& name);

// The words of one line; empty for a blank line or a comment. ScriptError on an unclosed
// quote or an unset variable.
std::vector<Word> splitWords(const std::string& line, const EnvLookup& env);

// The time one `tick` lets pass: one run of the main timer.
inline constexpr int kTickMs = 30;

enum class CommandKind { Down, Up, Move, Click, DblClick, Key, KeyDown, KeyUp, Drop, Menu, Close, Deactivate, Answer, Set, Tick, Print, Expect, Midi };
enum class DialogKind { MsgBox, Open, Save, Color, Popup };

struct MouseArgs {
  std::optional<double> x, y;  // twips from the control's top-left corner; none = its centre
  form::MouseButton button = form::MouseButton::Left;
  int shift = 0;
};

// One queued answer. `cancel` is the cancel of a file or colour dialog and the `none` of a pop-up.
struct Answer {
  DialogKind kind = DialogKind::MsgBox;
  bool cancel = false;
  platform::MsgResult result = platform::MsgResult::OK;
  std::string text;  // the chosen path or pop-up entry
  uint32_t color = 0;
};

struct Command {
  CommandKind kind = CommandKind::Tick;
  std::string target;  // control, menu entry or item as written
  MouseArgs mouse;
  int key = 0;
  int shift = 0;  // key and drop modifiers
  std::vector<std::string> paths;
  Answer answer;
  Word value;  // set
  Expected expected;
  long count = 1;  // tick
  std::vector<uint8_t> bytes;  // midi: one message's bytes as if from the port named in target
};

// ScriptError naming what is wrong (the caller adds the line).
Command parseCommand(const std::vector<Word>& words);

const char* dialogKindName(DialogKind kind);

}  // namespace vx::script
