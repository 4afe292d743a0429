#include "control/items.h"

#include <map>
#include <set>

#include "control/control_properties.h"
#include "control/forms.h"
#include "control/variables.h"
#include "script/script.h"

namespace vx::control {

using namespace vx::script;  // NOLINT: the layer speaks the script language's words
namespace {

// "name" or "name(I)".
bool splitIndexed(const std::string& text, std::string& name, int& index) {
  form::ControlRef ref;
  if (!form::parseControlRef(text, ref) || !ref.form.empty()) return false;
  name = ref.name;
  index = ref.index;
  return true;
}

// The last "." that is not inside parentheses; npos when there is none.
size_t propertyDot(const std::string& text) {
  int depth = 0;
  for (size_t i = text.size(); i-- > 0;) {
    if (text[i] == ')') ++depth;
    else if (text[i] == '(') --depth;
    else if (text[i] == '.' && depth == 0) return i;
  }
  return std::string::npos;
}

[[noreturn]] void notAnItem(const std::string& text) {
  throw ScriptError(text + " is not an item (REF.PROPERTY, @variable, player(D).x, monitor.x, slot(I).x, "
                           "recorder.commands, settings.path, dj.settings)");
}

ItemRef variableItem(const std::string& text) {
  ItemRef item;
  item.kind = ItemRef::Kind::Variable;
  if (!splitIndexed(text.substr(1), item.name, item.index)) notAnItem(text);
  return item;
}

// player(D).x, monitor.x, slot(I).x, recorder.commands, settings.path; false for anything else.
bool specialItem(const std::string& head, ItemRef& item) {
  std::string name;
  int index = -1;
  if (!splitIndexed(head, name, index)) return false;
  if (name == "player" && index >= 0) item.kind = ItemRef::Kind::Player;
  else if (name == "slot" && index >= 0) item.kind = ItemRef::Kind::Slot;
  else if (name == "monitor" && index < 0) item.kind = ItemRef::Kind::Monitor;
  else if (name == "recorder" && index < 0 && item.property == "commands") item.kind = ItemRef::Kind::Recorder;
  else if (name == "settings" && index < 0 && item.property == "path") item.kind = ItemRef::Kind::Settings;
  else if (name == "dj" && index < 0 && item.property == "settings") item.kind = ItemRef::Kind::Dj;
  else return false;
  item.index = index;
  return true;
}

}  // namespace

ItemRef parseItem(const std::string& text) {
  if (!text.empty() && text[0] == '@') return variableItem(text);
  size_t dot = propertyDot(text);
  if (dot == std::string::npos) notAnItem(text);
  ItemRef item;
  std::string head = text.substr(0, dot);
  if (!splitIndexed(text.substr(dot + 1), item.property, item.element)) notAnItem(text);
  if (specialItem(head, item)) return item;
  if (!form::parseControlRef(head, item.control)) notAnItem(text);
  return item;
}

Value ItemReader::read(const ItemRef& item) const {
  switch (item.kind) {
    case ItemRef::Kind::Control: return control(item);
    case ItemRef::Kind::Variable: return readVariable(p_, item.name, item.index);
    case ItemRef::Kind::Player: return player(item.index, item.property);
    case ItemRef::Kind::Monitor: return monitor(item.property);
    case ItemRef::Kind::Slot: return slot(item.index, item.property);
    case ItemRef::Kind::Recorder: return Value::text(recorder_.joined());
    case ItemRef::Kind::Settings: return Value::text(p_.settingsPath);
    case ItemRef::Kind::Dj: {
      // Only the headless run keeps the port's settings.
      const auto* log = dynamic_cast<const DjLog*>(p_.ports.dj);
      return log ? Value::text(log->settings()) : Value::unavailable();
    }
  }
  return Value::unavailable();
}

// A window named alone ("MainForm.caption") unless MainForm has a control of that name.
Value ItemReader::control(const ItemRef& item) const {
  const form::ControlRef& ref = item.control;
  bool bare = ref.form.empty() && ref.index < 0;
  if (bare && !p_.main.find(ref.name)) {
    if (form::Form* f = findForm(p_, ref.name == "MainForm" ? "" : ref.name)) return readFormProperty(*f, item.property);
  }
  return readControlProperty(findControl(p_, ref), item.property, item.element);
}

Value ItemReader::player(int deck, const std::string& property) const {
  using Read = Value (*)(const platform::MediaPlayer&);
  static const std::map<std::string, Read> reads{
      {"position", [](const platform::MediaPlayer& m) { return Value::real(m.currentPosition()); }},
      {"duration", [](const platform::MediaPlayer& m) { return Value::real(m.duration()); }},
      {"rate", [](const platform::MediaPlayer& m) { return Value::real(m.rate()); }},
      {"volume", [](const platform::MediaPlayer& m) { return Value::integer(m.volume()); }},
      {"balance", [](const platform::MediaPlayer& m) { return Value::integer(m.balance()); }},
      {"state", [](const platform::MediaPlayer& m) { return Value::integer(m.playState()); }},
      {"filename", [](const platform::MediaPlayer& m) { return Value::text(m.fileName()); }},
      {"mute", [](const platform::MediaPlayer& m) { return Value::boolean(m.mute()); }},
      {"selstart", [](const platform::MediaPlayer& m) { return Value::real(m.selectionStart()); }},
      {"selend", [](const platform::MediaPlayer& m) { return Value::real(m.selectionEnd()); }},
  };
  if (deck > 1) throw ScriptError("player(" + std::to_string(deck) + "): the decks are 0 and 1");
  auto read = reads.find(property);
  if (read == reads.end())
    throw ScriptError("a player has no property " + property +
                      " (position, duration, rate, volume, balance, state, filename, mute, selstart, selend)");
  const platform::MediaPlayer* m = p_.ports.player[deck];
  return m ? read->second(*m) : Value::unavailable();
}

// A slot's buffer (not available while the slot holds none). `effects` lists the class names of the chain's
// effects, in order, separated by " | ".
Value ItemReader::slot(int index, const std::string& property) const {
  static const std::set<std::string> properties{"status", "volume", "frequency", "kind", "effects", "position"};
  if (index > 7) throw ScriptError("slot(" + std::to_string(index) + "): the slots are 0 to 7");
  if (!properties.count(property))
    throw ScriptError("a slot has no property " + property + " (status, volume, frequency, kind, effects, position)");
  if (property == "kind") return Value::integer(p_.settings.slotKind[static_cast<size_t>(index)]);
  const platform::SoundBuffer* b = p_.sampler.slotBuffer[static_cast<size_t>(index)].get();
  if (!b) return Value::unavailable();
  if (property == "status") return Value::integer(b->status());
  if (property == "volume") return Value::integer(b->volume());
  if (property == "frequency") return Value::integer(b->frequency());
  if (property == "position") return Value::integer(b->currentPosition());
  std::string names;
  for (const std::string& id : b->effectClasses()) names += (names.empty() ? "" : " | ") + id;
  return Value::text(names);
}

// The sample rate is the program's (taken from the last open); the rest asks the library.
Value ItemReader::monitor(const std::string& property) const {
  using Read = Value (*)(platform::MonitorLibrary&);
  static const std::map<std::string, Read> reads{
      {"state", [](platform::MonitorLibrary& m) { long s = 0; m.getState(s); return Value::integer(s); }},
      {"position", [](platform::MonitorLibrary& m) { return Value::integer(m.positionSamples()); }},
      {"pitch", [](platform::MonitorLibrary& m) { return Value::integer(m.pitch()); }},
      {"device", [](platform::MonitorLibrary& m) { return Value::integer(m.device()); }},
      {"volume", [](platform::MonitorLibrary& m) { return Value::integer(m.volumeLeft()); }},
      {"filename", [](platform::MonitorLibrary& m) { return Value::text(m.fileName()); }},
  };
  if (property == "samplerate") return Value::integer(p_.monitor.monitorSampleRate);
  auto read = reads.find(property);
  if (read == reads.end())
    throw ScriptError("the monitor has no property " + property +
                      " (state, position, pitch, samplerate, device, volume, filename)");
  return p_.ports.monitor ? read->second(*p_.ports.monitor) : Value::unavailable();
}

}  // namespace vx::control
