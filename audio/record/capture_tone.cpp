#include "audio/record/capture_tone.h"

#include <cmath>
#include <numbers>
#include <thread>
#include <chrono>
#include <vector>

namespace vx::audio {

bool CaptureTone::start(const CaptureFormat& wanted, CaptureRing& ring, CaptureFormat& delivered, std::string&) {
  format_ = wanted;
  delivered = wanted;
  ring_ = &ring;
  engineFrames_ = 0;
  made_ = 0;
  return true;
}

void CaptureTone::advance(int engineFrames) {
  if (!ring_ || engineFrames <= 0) return;
  engineFrames_ += engineFrames;
  // Frames due at the recording's own rate, counted from the start so no rounding builds up.
  long long due = engineFrames_ * format_.rate / engineRate_;
  std::vector<float> block;
  block.reserve(static_cast<size_t>(due - made_) * static_cast<size_t>(format_.channels));
  for (; made_ < due; ++made_) {
    double phase = 2 * std::numbers::pi * kFrequency * static_cast<double>(made_) / format_.rate;
    auto v = static_cast<float>(kAmplitude * std::sin(phase));
    for (int c = 0; c < format_.channels; ++c) block.push_back(v);
  }
  // Virtual time runs faster than the disk: the tone waits for the writer rather than lose any.
  for (size_t done = 0; done < block.size();) {
    done += ring_->offer(block.data() + done, block.size() - done);
    if (done < block.size()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace vx::audio
