#pragma once
// The headphone monitor (the MonitorLibrary port): a second, independent player.
#include <string>

#include "platform/monitor_library.h"

namespace vx::audio {

class MonitorPlayer : public platform::MonitorLibrary {
 public:
  // The library's state numbers: 2 paused (the number the deck logic relies on), 1 playing, 0 stopped.
  enum State : int { Stopped = 0, Playing = 1, Paused = 2 };

  explicit MonitorPlayer(int outputRate);

  // Port functions: UI thread only.
  bool init() override;
  void free() override;
  void setFftWindow(int) override {}
  void setWaveOutDeviceId(int device) override { device_ = device; }
  int open(const std::string& path, platform::MonitorInfo& info) override;
  void play() override;
  void pause() override;
  void restart() override;
  void stop() override;
  int getState(long& state) override;
  void setPlaySamples(long sample) override;
  void seek(long seconds) override;
  void setPitch(long percent) override;
  void setVolume(long left, long right) override;
  std::string fileName() const override { return fileName_; }
  long positionSamples() const override;
  long pitch() const override { return pitch_; }
  long volumeLeft() const override { return volumeLeft_; }
  int device() const override { return device_; }

  long volumeRight() const { return volumeRight_; }
  // UI thread: advances the clock by `frames` output frames while playing (virtual device).
  void advance(int frames);

 private:
  int outputRate_;
  bool ready_ = false;
  int device_ = 0;
  std::string fileName_;
  long sampleRate_ = 0;
  long lengthSamples_ = 0;
  long anchorSample_ = 0;
  double playedSamples_ = 0;  // file samples since the anchor
  long pitch_ = 100;
  long volumeLeft_ = 100;
  long volumeRight_ = 100;
  int state_ = Stopped;
};

}  // namespace vx::audio
