#include "audio/output_slot.h"

#include <algorithm>
#include <vector>

#include "audio/clock_output.h"
#include "audio/mixer.h"
#include "audio/sdl_output.h"

namespace vx::audio {
namespace {
constexpr auto kRetryInterval = std::chrono::seconds(2);
}  // namespace

OutputSlot::OutputSlot(Mixer& mixer, SdlAudio& sdl, int sampleRate, int bufferFrames)
    : mixer_(mixer), sdl_(sdl), sampleRate_(sampleRate), bufferFrames_(bufferFrames) {}

OutputSlot::~OutputSlot() { close(); }

bool OutputSlot::tryCard(std::string& error) {
  if (!sdl_.ok()) {
    error = sdl_.error();
    return false;
  }
  auto card = SdlOutput::open(name_, sampleRate_, bufferFrames_, mixer_, error);
  if (!card) return false;
  device_ = std::move(card);
  onClock_ = false;
  message_.clear();
  return true;
}

void OutputSlot::useClock() {
  device_ = std::make_unique<ClockOutput>(mixer_, sampleRate_, bufferFrames_);
  onClock_ = true;
  nextTry_ = std::chrono::steady_clock::now() + kRetryInterval;
}

void OutputSlot::open(const std::string& name) {
  close();
  name_ = name;
  std::string error;
  if (tryCard(error)) return;
  message_ = "サウンドデバイスを開けません（" + (name.empty() ? std::string("既定の出力") : name) + "：" + error +
             "）。音を出さずに動作します。";
  useClock();
}

void OutputSlot::close() {
  device_.reset();
  onClock_ = false;
}

void OutputSlot::watch() {
  if (!device_) return;
  if (!onClock_) {
    if (device_->healthy()) return;
    device_.reset();
    message_ = "サウンドデバイスが使えなくなりました。音を出さずに続け、戻りしだい再び使います。";
    useClock();
    return;
  }
  auto now = std::chrono::steady_clock::now();
  if (now < nextTry_ || !sdl_.ok()) return;
  nextTry_ = now + kRetryInterval;
  std::vector<std::string> names = sdl_.outputNames();
  bool present = name_.empty() ? !names.empty() : std::find(names.begin(), names.end(), name_) != names.end();
  if (!present) return;
  device_.reset();  // the clock stops before the card starts: one renderer at a time
  std::string error;
  if (!tryCard(error)) useClock();
}

}  // namespace vx::audio
