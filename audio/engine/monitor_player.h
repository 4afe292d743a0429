#pragma once
// The headphone monitor (the MonitorLibrary port): a second, independent player with a mixer and
// an output device of its own.
//
// Threads: UI thread only.
#include <functional>
#include <string>

#include "audio/engine/voice_control.h"
#include "platform/monitor_library.h"

namespace vx::audio {

class MonitorPlayer : public platform::MonitorLibrary {
 public:
  // The library's state numbers: 2 paused (the number the deck logic relies on), 1 playing, 0 stopped.
  enum State : int { Stopped = 0, Playing = 1, Paused = 2 };

  // `route(device)` sends the monitor's mixer to output device number `device` (-1: to none).
  MonitorPlayer(Mixer& mixer, Reader& reader, std::function<void(int)> route);

  bool init() override;
  void free() override;
  void setFftWindow(int) override {}
  void setWaveOutDeviceId(int device) override;
  int open(const std::string& path, platform::MonitorInfo& info) override;
  void play() override;
  void pause() override;
  void restart() override;
  void stop() override;
  int getState(long& state) override;
  void setPlaySamples(long sample) override;
  void seek(long seconds) override;
  void setPitch(long percent) override;
  void setRate(double rate) override;
  void setVolume(long left, long right) override;
  void setKeyLock(bool on) override { control_.setKeyLock(on); }
  bool keyLock() const override { return control_.keyLock(); }
  std::string fileName() const override { return fileName_; }
  long positionSamples() const override;
  long pitch() const override { return pitch_; }
  long volumeLeft() const override { return volumeLeft_; }
  int device() const override { return device_; }

  long volumeRight() const { return volumeRight_; }
  const std::string& file() const { return fileName_; }
  uint64_t trackSerial() const { return control_.trackSerial(); }
  bool ready() const { return ready_; }
  // Takes up the end of the file reported by the engine.
  void update();

 private:
  void rewind();

  VoiceControl control_;
  std::function<void(int)> route_;
  bool ready_ = false;
  int device_ = 0;
  std::string fileName_;
  long pitch_ = 100;
  long volumeLeft_ = 100;
  long volumeRight_ = 100;
  int state_ = Stopped;
};

}  // namespace vx::audio
