#include "control/variables.h"

#include <array>
#include <functional>
#include <type_traits>

#include "script/script.h"

namespace vx::control {

using namespace vx::script;  // NOLINT: the layer speaks the script language's words
namespace {

Value toValue(bool b) { return Value::boolean(b); }
Value toValue(int i) { return Value::integer(i); }
Value toValue(long i) { return Value::integer(i); }
Value toValue(double d) { return Value::real(d); }
Value toValue(const std::string& s) { return Value::text(s); }

template <class T>
struct ArraySize : std::integral_constant<int, 0> {};
template <class T, size_t N>
struct ArraySize<std::array<T, N>> : std::integral_constant<int, static_cast<int>(N)> {};

// count 0: a single value, read with index -1; otherwise elements 0 .. count-1.
struct Variable {
  const char* name;
  int count;
  std::function<Value(const Program&, int)> read;
};

template <class T>
Value element(const T& v, int i) {
  if constexpr (ArraySize<T>::value > 0) return toValue(v[static_cast<size_t>(i)]);
  else return toValue(v);
}

// A member of Program, or an array member read by index.
template <class T>
Variable of(const char* name, T Program::*field) {
  return {name, ArraySize<T>::value, [field](const Program& p, int i) { return element(p.*field, i); }};
}

// A member of one of Program's parts (settings, monitor, mixer, ...).
template <class Part, class T>
Variable of(const char* name, Part Program::*part, T Part::*field) {
  return {name, ArraySize<T>::value, [part, field](const Program& p, int i) { return element(p.*part.*field, i); }};
}

template <class T>
Variable perDeck(const char* name, T DeckState::*field) {
  return {name, 2, [field](const Program& p, int i) { return toValue(p.deck[static_cast<size_t>(i)].*field); }};
}

const std::vector<Variable>& table() {
  static const std::vector<Variable> variables{
      perDeck("deckIdle", &DeckState::deckIdle),
      perDeck("cueStandby", &DeckState::cueStandby),
      perDeck("holdActive", &DeckState::holdActive),
      perDeck("stutterArmed", &DeckState::stutterArmed),
      perDeck("markPosition", &DeckState::markPosition),
      perDeck("jogBase", &DeckState::jogBase),
      perDeck("stutterTick", &DeckState::stutterTick),
      perDeck("stutterBlink", &DeckState::stutterBlink),
      perDeck("marqueeTick", &DeckState::marqueeTick),
      perDeck("pitchDragging", &DeckState::pitchDragging),
      perDeck("jogDragging", &DeckState::jogDragging),
      perDeck("jogQuadrant", &DeckState::jogQuadrant),
      perDeck("jogSteps", &DeckState::jogSteps),
      perDeck("searchBackHeld", &DeckState::searchBackHeld),
      perDeck("searchForwardHeld", &DeckState::searchForwardHeld),
      of("lastPlayedDeck", &Program::lastPlayedDeck),
      of("searchPhase", &Program::searchPhase),
      of("pitchLockTicks", &Program::pitchLockTicks),
      of("lastFolders", &Program::lastFolders),
      of("samplerShown", &Program::settings, &Settings::samplerShown),
      of("songListShown", &Program::settings, &Settings::songListShown),
      of("stutterInterval", &Program::settings, &Settings::stutterInterval),
      of("playOnSwitch", &Program::settings, &Settings::playOnSwitch),
      of("skinName", &Program::settings, &Settings::skinName),
      of("samplerEnabled", &Program::settings, &Settings::samplerEnabled),
      of("initialTrim", &Program::settings, &Settings::initialTrim),
      of("gapTime", &Program::settings, &Settings::gapTime),
      of("monitorDevice", &Program::settings, &Settings::monitorDevice),
      of("faderCurve", &Program::settings, &Settings::faderCurve),
      of("faderTime", &Program::settings, &Settings::faderTime),
      of("slotKind", &Program::settings, &Settings::slotKind),
      of("slotPath", &Program::settings, &Settings::slotPath),
      of("monitorOn", &Program::monitor, &MonitorState::monitorOn),
      of("monitorDeck", &Program::monitor, &MonitorState::monitorDeck),
      of("monitorSampleRate", &Program::monitor, &MonitorState::monitorSampleRate),
      of("monitorState", &Program::monitor, &MonitorState::monitorState),
      of("faderPattern", &Program::mixer, &MixerState::faderPattern),
      of("cutInMode", &Program::mixer, &MixerState::cutInMode),
      of("switchPhase", &Program::mixer, &MixerState::switchPhase),
      of("switchBusy", &Program::mixer, &MixerState::switchBusy),
      of("faderDragging", &Program::mixer, &MixerState::faderDragging),
      of("trimDragging", &Program::mixer, &MixerState::trimDragging),
      of("volDragging", &Program::mixer, &MixerState::volDragging),
      of("panDragging", &Program::mixer, &MixerState::panDragging),
      of("trimLevel", &Program::mixer, &MixerState::trimLevel),
      of("masterDragging", &Program::mixer, &MixerState::masterDragging),
      of("menuShown", &Program::window, &WindowState::menuShown),
      of("barMode", &Program::window, &WindowState::barMode),
      of("miniMode", &Program::window, &WindowState::miniMode),
      of("initDone", &Program::startup, &StartupState::initDone),
      of("playAtStartupArmed", &Program::startup, &StartupState::playAtStartupArmed),
      of("directSoundReady", &Program::startup, &StartupState::directSoundReady),
      of("autoRecordStart", &Program::recorder, &RecorderState::autoRecordStart),
      of("recorderArmed", &Program::recorder, &RecorderState::recorderArmed),
      of("recordMono", &Program::recorder, &RecorderState::recordMono),
      of("recordBits", &Program::recorder, &RecorderState::recordBits),
      of("recordRate", &Program::recorder, &RecorderState::recordRate),
      of("lastMciResult", &Program::recorder, &RecorderState::lastMciResult),
      of("lastMciText", &Program::recorder, &RecorderState::lastMciText),
      of("saveName", &Program::recorder, &RecorderState::saveName),
      of("tenthsCount", &Program::recorder, &RecorderState::tenthsCount),
      of("elapsedSeconds", &Program::recorder, &RecorderState::elapsedSeconds),
      of("recordMaster", &Program::recorder, &RecorderState::recordMaster),
      of("focusDeck", &Program::keys, &KeyboardState::focusDeck),
      of("sampleKeyHeld", &Program::keys, &KeyboardState::sampleKeyHeld),
      of("configPattern", &Program::configPattern),
      of("dialogInitialFolder", &Program::dialogInitialFolder),
      of("slotLoop", &Program::sampler, &SamplerState::slotLoop),
      of("slotSilencer", &Program::sampler, &SamplerState::slotSilencer),
      of("slotLooping", &Program::sampler, &SamplerState::slotLooping),
      of("currentSlot", &Program::sampler, &SamplerState::currentSlot),
      of("pendingSampleFile", &Program::sampler, &SamplerState::pendingSampleFile),
      of("appliedChainSignature", &Program::sampler, &SamplerState::appliedChainSignature),
      of("currentEffect", &Program::sampler, &SamplerState::currentEffect),
      of("sourceOffsetX", &Program::sampler, &SamplerState::sourceOffsetX),
      of("sourceOffsetZ", &Program::sampler, &SamplerState::sourceOffsetZ),
  };
  return variables;
}

std::string withIndex(const std::string& name, int index) {
  return index < 0 ? name : name + "(" + std::to_string(index) + ")";
}

}  // namespace

Value readVariable(const Program& p, const std::string& name, int index) {
  for (const Variable& v : table()) {
    if (name != v.name) continue;
    if (v.count == 0 && index >= 0) throw ScriptError("@" + name + " takes no index");
    if (v.count > 0 && (index < 0 || index >= v.count))
      throw ScriptError("@" + withIndex(name, index) + ": the index runs from 0 to " + std::to_string(v.count - 1));
    return v.read(p, index);
  }
  throw ScriptError("no program variable @" + name);
}

std::vector<std::string> variableNames() {
  std::vector<std::string> names;
  for (const Variable& v : table()) names.emplace_back(v.name);
  return names;
}

}  // namespace vx::control
