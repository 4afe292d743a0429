#include "control/midi_learning.h"

#include "control/learnable_controls.h"

namespace vx::control {

namespace {

constexpr int kEscape = 27;
constexpr const char* kMenu = "midilearn";
std::string refOf(const form::Control& c) {
  return c.index() >= 0 ? c.name() + "(" + std::to_string(c.index()) + ")" : c.name();
}

constexpr const char* kShiftEntry = "midishiftset";  // captioned "SHIFT"

}  // namespace

MidiLearning::~MidiLearning() {
  if (!wired_) return;
  for (auto w = wrapped_.rbegin(); w != wrapped_.rend(); ++w) w->control->events = w->events;
  p_.main.keyDown = keyDown_;
  if (form::MenuItem* item = p_.main.findAs<form::MenuItem>(kMenu)) item->events.click = nullptr;
}

void MidiLearning::wire() {
  if (wired_) return;
  wired_ = true;
  if (form::MenuItem* item = p_.main.findAs<form::MenuItem>(kMenu)) item->events.click = [this] { toggle(); };
  keyDown_ = p_.main.keyDown;
  p_.main.keyDown = [this, keyDown = keyDown_](int keyCode, int shift) {
    if (!key(keyCode) && keyDown) keyDown(keyCode, shift);
  };
  for (const LearnableControl& c : learnableControls())
    for (const std::string& ref : {c.name, c.track}) {
      form::ControlRef r;
      if (ref.empty() || !form::parseControlRef(ref, r)) continue;
      if (form::Control* control = p_.main.find(r.name, r.index)) wireControl(*control);
    }
}

// Handlers that are not there stay away: the window tells a double-click from a press by them.
void MidiLearning::wireControl(form::Control& c) {
  form::ControlEvents& ev = c.events;
  wrapped_.push_back({&c, ev});
  const std::string ref = refOf(c);
  ev.mouseDown = [this, ref, down = ev.mouseDown](const form::MouseEvent& e) {
    if (takesMouse(ref)) press(ref, e.button);
    else if (down) down(e);
  };
  const auto quiet = [this, ref](auto& handler) {
    if (!handler) return;
    handler = [this, ref, h = handler](const auto&... args) {
      if (!takesMouse(ref)) h(args...);
    };
  };
  quiet(ev.mouseUp);
  quiet(ev.mouseMove);
  quiet(ev.click);
  quiet(ev.dblClick);
}

void MidiLearning::toggle() {
  midi_.setLearning(!midi_.learning());
  if (form::MenuItem* item = p_.main.findAs<form::MenuItem>(kMenu)) item->setChecked(midi_.learning());
  ++serial_;
}

void MidiLearning::end() {
  if (midi_.learning()) toggle();
}

bool MidiLearning::key(int keyCode) {
  if (!midi_.learning() || keyCode != kEscape) return false;
  end();
  return true;
}

int MidiLearning::frameOf(const form::Control& c) const {
  if (!midi_.learning()) return 0;
  const LearnableControl* l = findLearnable(refOf(c));
  if (!l) return 0;
  return l->name == midi_.selected() ? 2 : 1;
}

bool MidiLearning::takesMouse(const std::string& ref) const {
  return midi_.learning() && !surface_.operating() && findLearnable(ref);
}

bool MidiLearning::press(const std::string& ref, form::MouseButton button) {
  if (!midi_.learning()) return false;
  const LearnableControl* c = findLearnable(ref);
  if (!c) return false;
  const bool bound = !midi_.bindingsOf(c->name).empty();
  if (button == form::MouseButton::Right) {
    if (bound && c->kind == midi::ControlKind::Button) offerShift(c->name);
    return true;
  }
  if (button != form::MouseButton::Left) return true;
  if (bound) offerClear(c->name);
  else midi_.select(c->name);
  ++serial_;
  return true;
}

void MidiLearning::offerClear(const std::string& control) {
  platform::MessageBoxSpec spec;
  spec.text = control + " のMIDI割り当てを消去しますか？\n（いいえ: 新しいメッセージで割り当て直します）";
  spec.buttons = platform::MsgButtons::YesNoCancel;
  spec.icon = platform::MsgIcon::Question;
  const platform::MsgResult r = p_.ports.dialogs ? p_.ports.dialogs->messageBox(spec) : platform::MsgResult::Cancel;
  if (r == platform::MsgResult::Yes) midi_.clearBindings(control);
  else if (r == platform::MsgResult::No) midi_.select(control);
  showMessages();
}

void MidiLearning::offerShift(const std::string& control) {
  if (!p_.ports.dialogs) return;
  const auto chosen = p_.ports.dialogs->popupMenu("midishift", {kShiftEntry});
  if (chosen && *chosen == kShiftEntry) midi_.markShift(control);
  showMessages();
}

void MidiLearning::showMessages() {
  const std::vector<std::string> messages = midi_.takeMessages();
  if (messages.empty() || !p_.ports.dialogs) return;
  platform::MessageBoxSpec spec;
  for (const std::string& m : messages) spec.text += (spec.text.empty() ? "" : "\n") + m;
  spec.icon = platform::MsgIcon::Warning;
  p_.ports.dialogs->messageBox(spec);
}

}  // namespace vx::control
