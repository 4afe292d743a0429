#include "control/midi_surface.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "control/control_commands.h"
#include "control/control_properties.h"
#include "control/forms.h"

namespace vx::control {

namespace {

constexpr double kPi = std::numbers::pi;
// A drag moves the pointer at most this far per move, so the wheel counts every quarter it passes.
constexpr double kMaxJogMove = kPi / 4;

double knobPlace(const LearnableControl& c, double position) {
  position = std::clamp(position, 0.0, 1.0);
  if (position <= 0.5) return c.low + (c.centre - c.low) * position * 2;
  return c.centre + (c.high - c.centre) * (position - 0.5) * 2;
}

double positionOfPlace(const LearnableControl& c, double place) {
  const auto part = [](double a, double b, double v) { return a == b ? 0.0 : (v - a) / (b - a); };
  const bool lowerHalf = c.low < c.high ? place <= c.centre : place >= c.centre;
  const double p = lowerHalf ? part(c.low, c.centre, place) / 2 : 0.5 + part(c.centre, c.high, place) / 2;
  return std::clamp(p, 0.0, 1.0);
}

int deckOf(std::string_view name) { return name.size() > 3 && name[name.size() - 2] == '1' ? 1 : 0; }

}  // namespace

form::Control* MidiSurface::find(std::string_view name) const {
  form::ControlRef ref;
  if (!form::parseControlRef(std::string(name), ref)) return nullptr;
  form::Form* f = findForm(p_, ref.form);
  return f ? f->find(ref.name, ref.index) : nullptr;
}

midi::ControlKind MidiSurface::kind(std::string_view name) const {
  const LearnableControl* c = findLearnable(name);
  if (!c || c->name != name || !find(name)) return midi::ControlKind::None;
  return c->kind;
}

// False when the control is hidden, disabled or missing: a controller reaches what the mouse reaches.
bool MidiSurface::mouse(const std::string& target, script::CommandKind kind, double x, double y) {
  script::Command c;
  c.kind = kind;
  c.target = target;
  c.mouse.x = x;
  c.mouse.y = y;
  operating_ = true;
  bool reached = false;
  try {
    reached = raiseMouse(p_, c);
  } catch (const script::ScriptError&) {
  }
  operating_ = false;
  return reached;
}

void MidiSurface::press(std::string_view name) {
  form::Control* c = find(name);
  if (!c || kind(name) != midi::ControlKind::Button) return;
  mouse(std::string(name), script::CommandKind::Down, c->width() / 2, c->height() / 2);
}

// The release ends a click, as the mouse's does on the control it was pressed on.
void MidiSurface::release(std::string_view name) {
  form::Control* c = find(name);
  if (!c || kind(name) != midi::ControlKind::Button) return;
  if (mouse(std::string(name), script::CommandKind::Up, c->width() / 2, c->height() / 2) && c->events.click) {
    operating_ = true;
    c->events.click();
    operating_ = false;
  }
}

void MidiSurface::setPosition(std::string_view name, double position) {
  const LearnableControl* c = findLearnable(name);
  form::Control* knob = find(name);
  if (!c || !knob || c->name != name) return;
  // Sliders and dials take a value as a script sets it: their change event does the rest.
  const auto setValue = [&](long v) {
    operating_ = true;
    setControlProperty(*knob, "value", script::Word{std::to_string(v), false});
    operating_ = false;
  };
  position = std::clamp(position, 0.0, 1.0);
  if (c->travel == Travel::Slider) {
    if (auto* s = dynamic_cast<form::Slider*>(knob)) setValue(std::lround(s->min + (s->max - s->min) * position));
    return;
  }
  if (c->travel == Travel::Dial) {
    if (auto* k = dynamic_cast<form::Knob*>(knob)) setValue(k->valueAt(2 * position - 1));
    return;
  }
  if (c->travel == Travel::Rotary) {
    // The pointer over the knob's upper half: 0 at the left end, 1 at the right.
    const double angle = kPi * (1 - std::clamp(position, 0.0, 1.0));
    const double r = std::min(knob->width(), knob->height()) / 4;
    const double x = knob->width() / 2 + r * std::cos(angle), y = knob->height() / 2 - r * std::sin(angle);
    mouse(c->name, script::CommandKind::Down, x, y);
    mouse(c->name, script::CommandKind::Up, x, y);
    return;
  }
  form::Control* track = find(c->track);
  if (!track || c->travel == Travel::None) return;
  const double place = knobPlace(*c, position);
  double x = track->width() / 2, y = track->height() / 2;
  if (c->travel == Travel::KnobTop) y = place - track->top() + knob->height() / 2;
  else x = place - track->left() + knob->width() / 2;
  mouse(c->track, script::CommandKind::Down, x, y);
  mouse(c->track, script::CommandKind::Up, x, y);
}

double MidiSurface::position(std::string_view name) const {
  const LearnableControl* c = findLearnable(name);
  const form::Control* knob = find(name);
  if (!c || !knob || c->name != name) return 0;
  switch (c->travel) {
    case Travel::KnobTop: return positionOfPlace(*c, knob->top());
    case Travel::KnobLeft: return positionOfPlace(*c, knob->left());
    case Travel::Slider: {
      auto* s = dynamic_cast<const form::Slider*>(knob);
      return s && s->max != s->min ? std::clamp(double(s->value() - s->min) / (s->max - s->min), 0.0, 1.0) : 0;
    }
    case Travel::Dial: {
      auto* k = dynamic_cast<const form::Knob*>(knob);
      return k ? (k->position() + 1) / 2 : 0;
    }
    case Travel::Rotary: {
      const auto* line = p_.main.findAs<form::Line>("TrimLine", deckOf(name));
      if (!line) return 0;
      const double dx = line->x2 - (knob->left() + knob->width() / 2);
      const double dy = line->y2 - (knob->top() + knob->height() / 2);
      const double up = dy < 0 ? -dy : 0.0;  // never -0, whose angle would be -pi
      return std::clamp(1 - std::atan2(up, dx) / kPi, 0.0, 1.0);
    }
    case Travel::None: break;
  }
  return 0;
}

// The pointer on the wheel at `angle` from twelve o'clock, on the circle the knob runs on.
void MidiSurface::moveJog(int deck, double angle) {
  form::Control* wheel = find("jogbase(" + std::to_string(deck) + ")");
  if (!wheel) return;
  const double x = wheel->width() / 2 + wheel->width() / 4 * std::sin(angle);
  const double y = wheel->height() / 2 - wheel->height() / 4 * std::cos(angle);
  const auto kind = jogs_[deck].held ? script::CommandKind::Move : script::CommandKind::Down;
  if (mouse("jogbase(" + std::to_string(deck) + ")", kind, x, y))
    jogs_[deck].held = true;
  jogs_[deck].angle = angle;
}

// Grabs the knob where it rests, at twelve o'clock, as the mouse grabs it.
void MidiSurface::pressJog(int deck) {
  jogs_[deck].held = false;
  moveJog(deck, 0);
}

void MidiSurface::releaseJog(int deck) {
  if (!jogs_[deck].held) return;
  jogs_[deck].held = false;
  mouse("jogbase(" + std::to_string(deck) + ")", script::CommandKind::Up, 0, 0);
}

void MidiSurface::turn(std::string_view name, int steps) {
  if (kind(name) != midi::ControlKind::JogWheel || steps == 0) return;
  const int deck = deckOf(name);
  Jog& jog = jogs_[deck];
  // The mouse may have let go of the wheel meanwhile.
  if (!jog.held || !p_.deck[deck].jogDragging) pressJog(deck);
  if (!jog.held) return;
  jog.idleTicks = 0;
  const double target = jog.angle + 2 * kPi * steps / kTicksPerTurn;
  const double direction = target > jog.angle ? 1 : -1;
  while (std::abs(target - jog.angle) > kMaxJogMove) moveJog(deck, jog.angle + direction * kMaxJogMove);
  moveJog(deck, target);
}

void MidiSurface::tick() {
  for (int deck = 0; deck < 2; ++deck)
    if (jogs_[deck].held && ++jogs_[deck].idleTicks >= kJogReleaseTicks) releaseJog(deck);
}

bool MidiSurface::lampLit(std::string_view name) const {
  const form::Control* c = find(name);
  if (!c) return false;
  if (name.starts_with("Text1(")) {  // a sampler slot that sounds
    const int slot = name[6] - '0';
    if (slot < 0 || slot > 7) return false;
    const platform::SoundBuffer* b = p_.sampler.slotBuffer[static_cast<size_t>(slot)].get();
    return b && (b->status() & 1) != 0;
  }
  // Buttons show their lit state with the second of their two pictures ("play2.bmp", "ch12.bmp").
  const auto* picture = dynamic_cast<const form::Picture*>(c);
  return picture && picture->picture().ends_with("2.bmp");
}

}  // namespace vx::control
