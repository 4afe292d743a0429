#include "audio/devices/output_slot.h"

#include <algorithm>
#include <vector>

#include "audio/devices/clock_output.h"
#include "audio/devices/sdl_output.h"
#include "audio/engine/mixer.h"

namespace vx::audio {
namespace {
constexpr auto kRetryInterval = std::chrono::seconds(2);
const char* const kLostMessage = "サウンドデバイスが使えなくなりました。音を出さずに続け、戻りしだい再び使います。";

// A device that comes back may be listed with a number added ("main (2)") while the system still
// remembers the one that went away.
bool sameDevice(const std::string& listed, const std::string& wanted) {
  if (listed == wanted) return true;
  if (listed.size() < wanted.size() + 4 || listed.compare(0, wanted.size() + 2, wanted + " (") != 0 ||
      listed.back() != ')')
    return false;
  for (size_t i = wanted.size() + 2; i + 1 < listed.size(); ++i)
    if (listed[i] < '0' || listed[i] > '9') return false;
  return true;
}
}  // namespace

OutputSlot::OutputSlot(Mixer& mixer, SdlAudio& sdl, int sampleRate, int bufferFrames)
    : mixer_(mixer), sdl_(sdl), sampleRate_(sampleRate), bufferFrames_(bufferFrames) {
  mixer_.setOnSound([this] { wake(); });
}

OutputSlot::~OutputSlot() {
  mixer_.setOnSound(nullptr);
  close();
}

bool OutputSlot::tryCard(const std::string& listedName, std::string& error) {
  if (!sdl_.ok()) {
    error = sdl_.error();
    return false;
  }
  mixer_.forgetSilence();
  auto card = SdlOutput::open(listedName, sampleRate_, bufferFrames_, mixer_, error);
  if (!card) return false;
  device_ = std::move(card);
  cardName_ = listedName;
  onClock_ = false;
  message_.clear();
  return true;
}

void OutputSlot::useClock() {
  mixer_.forgetSilence();
  device_ = std::make_unique<ClockOutput>(mixer_, sampleRate_, bufferFrames_);
  onClock_ = true;
  nextTry_ = std::chrono::steady_clock::now() + kRetryInterval;
}

void OutputSlot::open(const std::string& name) {
  close();
  name_ = cardName_ = name;
  std::string error;
  if (tryCard(name, error)) return;
  message_ = "サウンドデバイスを開けません（" + (name.empty() ? std::string("既定の出力") : name) + "：" + error +
             "）。音を出さずに動作します。";
  useClock();
}

void OutputSlot::close() {
  device_.reset();
  onClock_ = false;
  resting_ = false;
}

void OutputSlot::rest() {
  device_.reset();
  resting_ = true;
  // A command sent while the device was closing has not been taken up yet.
  mixer_.applyCommands();
  if (mixer_.sounding()) wake();
}

void OutputSlot::wake() {
  if (!resting_) return;
  resting_ = false;
  // A lost card stays lost until watch() finds it back; the clock keeps time meanwhile.
  std::string error;
  if (onClock_ || !tryCard(cardName_, error)) {
    if (!onClock_) message_ = kLostMessage;
    useClock();
  }
}

void OutputSlot::watch() {
  if (!device_) return;
  auto restBlocks = static_cast<uint64_t>(kRestSeconds * sampleRate_ / bufferFrames_);
  if (mixer_.silentBlocks() >= restBlocks) {
    rest();
    return;
  }
  if (!onClock_) {
    if (device_->healthy()) return;
    close();
    message_ = kLostMessage;
    useClock();
    return;
  }
  auto now = std::chrono::steady_clock::now();
  if (now < nextTry_ || !sdl_.ok()) return;
  nextTry_ = now + kRetryInterval;
  std::vector<std::string> names = sdl_.outputNames();
  auto listed = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return sameDevice(n, name_); });
  if (name_.empty() ? names.empty() : listed == names.end()) return;
  close();  // the clock stops before the card starts: one renderer at a time
  std::string error;
  if (!tryCard(name_.empty() ? name_ : *listed, error)) useClock();
}

}  // namespace vx::audio
