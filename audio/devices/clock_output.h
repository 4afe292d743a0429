#pragma once
// Renders a mixer in real time into nothing: the stand-in when no sound card can be opened, so
// that the players keep time and end as if they were heard.
//
// Threads: created and destroyed on the UI thread; renders on a thread of its own.
#include <atomic>
#include <thread>
#include <vector>

#include "audio/devices/output_device.h"

namespace vx::audio {

class Mixer;

class ClockOutput : public OutputDevice {
 public:
  ClockOutput(Mixer& mixer, int sampleRate, int bufferFrames);
  ~ClockOutput() override;
  int sampleRate() const override { return sampleRate_; }
  bool healthy() const override { return true; }

 private:
  void run();

  Mixer& mixer_;
  int sampleRate_;
  int bufferFrames_;
  std::vector<float> buffer_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace vx::audio
