#include "assembly/midi_host.h"

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
  const midi::MidiSettings settings = midiSettingsOf(p_);
  if (!openPorts_ || !settings.enabled) return;
  midi::Ports::Options options;
  options.excluded = settings.excluded;
  ports_ = std::make_unique<midi::Ports>(queue_, options);
  midi_.attach(ports_.get());
  ports_->start();
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
