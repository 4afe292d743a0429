#pragma once
// The program's own main output as a recording source: what the audience hears (both decks
// after the mixer, the sampler, the master level), taken inside the engine sample for sample.
// The render only copies its finished block into the ring. On a real device a block that does
// not fit (a writer held up for longer than the ring lasts) is counted as lost, never waited for;
// on the virtual device, where nothing keeps real time, the render waits for the writer instead,
// so a recording (and any offline rendering built on it) holds every sample.
//
// Threads: start() and stop() on the UI thread; deliver() on the engine thread only.
#include <atomic>

#include "audio/record/capture_source.h"

namespace vx::audio {

class Mixer;

class MasterTap : public CaptureSource {
 public:
  // `waitForWriter`: the engine renders on the virtual device (no real time to keep).
  MasterTap(Mixer& mixer, bool waitForWriter);
  ~MasterTap() override;
  bool start(const CaptureFormat& wanted, CaptureRing& ring, CaptureFormat& delivered, std::string& error) override;
  void stop() override;
  bool healthy() const override { return true; }
  // Any thread: a recording is taking the output.
  bool recording() const { return ring_.load() != nullptr; }

  // Engine thread: `frames` interleaved stereo frames the mixer has just finished.
  void deliver(const float* out, int frames) {
    inside_.fetch_add(1);
    if (CaptureRing* ring = ring_.load()) {
      if (waitForWriter_)
        offerAll(*ring, out, static_cast<size_t>(frames) * 2);
      else
        ring->write(out, static_cast<size_t>(frames) * 2);
    }
    inside_.fetch_sub(1);
  }

 private:
  static void offerAll(CaptureRing& ring, const float* samples, size_t count);

  Mixer& mixer_;
  const bool waitForWriter_;
  std::atomic<CaptureRing*> ring_{nullptr};
  std::atomic<int> inside_{0};
};

}  // namespace vx::audio
