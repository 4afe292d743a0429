#pragma once
#include <cmath>
#include <string>

namespace vx::platform {

// What an open fills in; only the sample rate is used by the program.
struct MonitorInfo {
  long sampleRate = 0;
  int channels = 0;
  double durationSeconds = 0;
};

// The headphone monitor: an independent player on an output device chosen by index.
// UI thread only. Positions are sample numbers at the file's own rate.
class MonitorLibrary {
 public:
  virtual ~MonitorLibrary() = default;
  // False only when the library cannot be reached at all (the monitor is then unusable).
  virtual bool init() = 0;
  virtual void free() = 0;
  virtual void setFftWindow(int window) = 0;
  virtual void setWaveOutDeviceId(int device) = 0;
  // Non-zero when opened. `info` is filled on success and left untouched on failure.
  virtual int open(const std::string& path, MonitorInfo& info) = 0;
  virtual void play() = 0;
  virtual void pause() = 0;
  virtual void restart() = 0;
  virtual void stop() = 0;
  // State number: 2 = paused, 1 = playing, 0 = stopped.
  virtual int getState(long& state) = 0;
  virtual void setPlaySamples(long sample) = 0;
  virtual void seek(long seconds) = 0;
  virtual void setPitch(long percent) = 0;
  // Plays at `rate` times the file's speed. A library that takes only whole percents rounds
  // (halves to even); one that can follows the rate exactly, so the headphones keep time with a
  // deck at any pitch.
  virtual void setRate(double rate) { setPitch(static_cast<long>(std::nearbyint(rate * 100))); }
  virtual void setVolume(long left, long right) = 0;
  // Key lock, as the deck's player has it: the rate changes the tempo only.
  virtual void setKeyLock(bool on) = 0;
  virtual bool keyLock() const = 0;

  // Read-back for the driver and tests.
  virtual std::string fileName() const = 0;
  virtual long positionSamples() const = 0;
  virtual long pitch() const = 0;
  virtual long volumeLeft() const = 0;
  virtual int device() const = 0;
};

}  // namespace vx::platform
