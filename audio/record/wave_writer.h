#pragma once
// Writes a recording to a RIFF WAV file on a thread of its own, taking the samples from the
// capture ring and converting them to the file's channel count and rate on the way. The thread
// that captures never waits for the disk: when the disk is slow the ring takes up the slack,
// when it fills up the recording stops there and the file keeps what was written, with a
// header that says so.
//
// Threads: begin(), end() and the getters on the UI thread; the writing on the writer's thread.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "audio/record/capture_source.h"

namespace vx::audio {

struct WaveFormat {
  int rate = 11025;
  int channels = 1;
  int bits = 8;  // 8 or 16
};

class WaveWriter {
 public:
  WaveWriter() = default;
  ~WaveWriter() { end(); }
  WaveWriter(const WaveWriter&) = delete;
  WaveWriter& operator=(const WaveWriter&) = delete;

  // Creates `path` and starts writing what arrives in `ring` in the `source` format. False, with
  // the reason, when the file cannot be created.
  bool begin(const std::string& path, const WaveFormat& file, const CaptureFormat& source, CaptureRing& ring,
             std::string& error);
  // Writes what the ring still holds, completes the file and stops the thread. Call it after the
  // source has stopped delivering.
  void end();
  bool running() const { return thread_.joinable(); }
  // Why writing stopped before end() ("" while all is well).
  std::string failure() const;
  uint64_t framesWritten() const { return frames_.load(); }

 private:
  struct Impl;
  void run(Impl* impl);

  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::atomic<uint64_t> frames_{0};
  mutable std::mutex failureMutex_;
  std::string failure_;
};

}  // namespace vx::audio
