#include "audio/devices/clock_output.h"

#include <chrono>

#include "audio/engine/mixer.h"

namespace vx::audio {

ClockOutput::ClockOutput(Mixer& mixer, int sampleRate, int bufferFrames)
    : mixer_(mixer), sampleRate_(sampleRate), bufferFrames_(bufferFrames), buffer_(static_cast<size_t>(bufferFrames) * 2) {
  mixer_.setOutputRate(sampleRate);
  mixer_.setImmediate(false);
  thread_ = std::thread([this] { run(); });
}

ClockOutput::~ClockOutput() {
  stop_ = true;
  thread_.join();
  mixer_.setImmediate(true);
}

void ClockOutput::run() {
  using Clock = std::chrono::steady_clock;
  const auto period = std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
      static_cast<double>(bufferFrames_) / sampleRate_));
  auto next = Clock::now();
  while (!stop_) {
    mixer_.render(buffer_.data(), bufferFrames_);
    next += period;
    std::this_thread::sleep_until(next);
  }
}

}  // namespace vx::audio
