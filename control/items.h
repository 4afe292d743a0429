#pragma once
// Items that `print`, `expect` and `set` name: a control's or window's property, a program
// variable (@name), a player, the monitor, a sampler slot, the recorder's commands, the
// settings file.
#include <string>

#include "control/dj_log.h"
#include "control/recording_log.h"
#include "core/program.h"
#include "form/form.h"
#include "script/value.h"

namespace vx::control {

using namespace vx::script;  // NOLINT: the layer speaks the script language's words

struct ItemRef {
  enum class Kind { Control, Variable, Player, Monitor, Slot, Recorder, Settings, Dj };
  Kind kind = Kind::Control;
  form::ControlRef control;  // Control: the control, or a window named alone ("MainForm.visible")
  std::string name;          // Variable: its name
  int index = -1;            // Variable: its index; Player: the deck; Slot: the slot
  std::string property;
  int element = -1;  // the I of list(I)
};

// ScriptError when the text is not an item.
ItemRef parseItem(const std::string& text);

class ItemReader {
 public:
  ItemReader(Program& p, const RecordingLog& recorder) : p_(p), recorder_(recorder) {}
  // ScriptError for an unknown control, property or variable.
  Value read(const ItemRef& item) const;

 private:
  Value control(const ItemRef& item) const;
  Value player(int deck, const std::string& property) const;
  Value monitor(const std::string& property) const;
  Value slot(int index, const std::string& property) const;

  Program& p_;
  const RecordingLog& recorder_;
};

}  // namespace vx::control
