#pragma once
// The virtual device's recording input: a steady 1 kHz tone at -20 dBFS on every channel, made
// only as the virtual clock moves, so that recordings in the headless run have known content.
//
// Threads: UI thread only (the virtual device renders on it). Virtual time may run far ahead of
// the disk: then advance() waits for the writer, which the virtual device may do.
#include <atomic>

#include "audio/record/capture_source.h"

namespace vx::audio {

class CaptureTone : public CaptureSource {
 public:
  static constexpr double kFrequency = 1000;
  static constexpr double kAmplitude = 0.1;  // -20 dBFS

  explicit CaptureTone(int engineRate) : engineRate_(engineRate) {}
  bool start(const CaptureFormat& wanted, CaptureRing& ring, CaptureFormat& delivered, std::string& error) override;
  void stop() override { ring_ = nullptr; }
  bool healthy() const override { return true; }

  // The virtual render moved on by `engineFrames` frames of the engine's rate.
  void advance(int engineFrames);

 private:
  int engineRate_;
  CaptureFormat format_;
  CaptureRing* ring_ = nullptr;
  long long engineFrames_ = 0;  // since start
  long long made_ = 0;          // frames of the tone delivered since start
};

}  // namespace vx::audio
