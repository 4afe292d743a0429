#include "assembly/midi_host.h"

#include <algorithm>

#include "basic/ini_file.h"
#include "midi/midi_settings.h"

namespace vx::assembly {

namespace {

midi::MidiSettings midiSettingsOf(const Program& p) {
  basic::IniFile ini;
  for (const char* key : {"enabled", "excluded"})
    if (const std::string v = p.plus.get("midi", key, "\x01"); v != "\x01") ini.set("midi", key, v);
  return midi::readMidiSettings(ini);
}

}  // namespace

MidiHost::MidiHost(Program& p, std::function<void()> wake, bool realPorts)
    : p_(p),
      queue_(std::move(wake)),
      surface_(p),
      midi_(surface_, queue_, p.homeDir),
      learning_(p, midi_, surface_),
      openPorts_(realPorts) {}

MidiHost::~MidiHost() {
  if (started_) p_.main.timer("Timer1").tick = mainTick_;
  midi_.attach(nullptr);
  ports_.reset();  // the ports' threads end before the queue they push to
}

void MidiHost::start() {
  learning_.wire();
  form::Timer& timer = p_.main.timer("Timer1");
  started_ = true;
  mainTick_ = timer.tick;
  timer.tick = [this, tick = timer.tick] {
    if (tick) tick();
    surface_.tick();
    midi_.refreshLamps();
  };
  openPorts();
}

void MidiHost::openPorts() {
  midi_.detachPorts();
  ports_.reset();
  const midi::MidiSettings settings = midiSettingsOf(p_);
  if (!openPorts_ || !settings.enabled) return;
  midi::Ports::Options options;
  options.excluded = settings.excluded;
  ports_ = std::make_unique<midi::Ports>(queue_, options);
  midi_.attach(ports_.get());
  ports_->start();
}

ExtendedSettings::Tab MidiHost::settingsTab() {
  static constexpr const char* kExclude = "exclude:";
  ExtendedSettings::Tab tab;
  tab.fill = [this] {
    const midi::MidiSettings settings = midiSettingsOf(p_);
    platform::SettingsTab t;
    t.title = "MIDI";
    t.note = "MIDIコントローラー（使わないポートにチェック）";
    t.checks.push_back({"enabled", "MIDIコントローラーを使う", settings.enabled});
    for (const std::string& name : midi_.portNames())
      if (std::find(seen_.begin(), seen_.end(), midi::deviceNameOf(name)) == seen_.end())
        seen_.push_back(midi::deviceNameOf(name));
    std::vector<std::string> listed = seen_;
    for (const std::string& name : settings.excluded)
      if (std::find(listed.begin(), listed.end(), name) == listed.end()) listed.push_back(name);
    for (const std::string& name : listed) {
      const bool excluded = std::find(settings.excluded.begin(), settings.excluded.end(), name) != settings.excluded.end();
      t.checks.push_back({kExclude + name, "使わない: " + name, excluded});
    }
    return t;
  };
  tab.apply = [this](const platform::SettingsTab& t) {
    basic::IniFile ini;
    midi::MidiSettings settings;
    for (const platform::SettingsCheck& c : t.checks) {
      if (c.key == "enabled") settings.enabled = c.checked;
      else if (c.key.starts_with(kExclude) && c.checked) settings.excluded.push_back(c.key.substr(std::string_view(kExclude).size()));
    }
    midi::writeMidiSettings(ini, settings);
    for (const char* key : {"enabled", "excluded"}) p_.plus.set("midi", key, ini.get("midi", key, ""));
    openPorts();
  };
  return tab;
}

std::chrono::microseconds MidiHost::drain() {
  const auto now = std::chrono::steady_clock::now();
  const auto since = std::chrono::duration_cast<std::chrono::microseconds>(now - lastDrain_);
  if (since < kMinDrainInterval) return kMinDrainInterval - since;
  lastDrain_ = now;
  drainNow();
  return std::chrono::microseconds{0};
}

void MidiHost::drainNow() {
  midi_.drain();
  learning_.showMessages();
}

void MidiHost::deliver(std::string_view port, std::span<const uint8_t> bytes) {
  midi_.deliver(port, bytes);
  learning_.showMessages();
}

}  // namespace vx::assembly
