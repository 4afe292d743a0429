#include "audio/engine/monitor_player.h"

#include <algorithm>
#include <cmath>

#include "audio/realtime/gain_law.h"

namespace vx::audio {

MonitorPlayer::MonitorPlayer(Mixer& mixer, Reader& reader, std::function<void(int)> route)
    : control_(mixer, 0, reader), route_(std::move(route)) {}

bool MonitorPlayer::init() {
  if (!ready_) route_(device_);
  ready_ = true;
  return true;
}

void MonitorPlayer::free() {
  stop();
  if (ready_) route_(-1);
  ready_ = false;
}

void MonitorPlayer::setWaveOutDeviceId(int device) {
  device_ = device;
  if (ready_) route_(device_);
}

int MonitorPlayer::open(const std::string& path, platform::MonitorInfo& info) {
  std::string error;
  state_ = Stopped;
  if (!control_.open(path, error)) {
    fileName_.clear();
    return 0;
  }
  fileName_ = path;
  const SourceFormat& format = control_.format();
  info.sampleRate = format.sampleRate;
  info.channels = format.channels;
  info.durationSeconds = format.durationSeconds;
  return 1;
}

void MonitorPlayer::play() {
  // The deck logic places the monitor first and starts it second, so a start never moves it.
  if (!control_.loaded()) return;
  control_.play();
  state_ = Playing;
}

void MonitorPlayer::pause() {
  if (state_ != Playing) return;
  control_.pause();
  state_ = Paused;
}

void MonitorPlayer::restart() {
  if (state_ != Paused) return;
  control_.play();
  state_ = Playing;
}

void MonitorPlayer::stop() {
  control_.pause();
  rewind();
}

void MonitorPlayer::rewind() {
  // A stopped player stands at the start of its file until it is placed elsewhere.
  if (control_.loaded()) control_.seek(0);
  state_ = Stopped;
}

int MonitorPlayer::getState(long& state) {
  update();
  state = state_;
  return state_;
}

long MonitorPlayer::positionSamples() const { return static_cast<long>(std::floor(control_.position())); }

void MonitorPlayer::setPlaySamples(long sample) {
  long length = static_cast<long>(control_.format().lengthFrames);
  control_.seek(static_cast<double>(std::clamp(sample, 0L, std::max(length, 0L))));
}

void MonitorPlayer::seek(long seconds) { setPlaySamples(seconds * control_.format().sampleRate); }

void MonitorPlayer::setPitch(long percent) {
  pitch_ = std::clamp(percent, 50L, 200L);
  control_.setRate(static_cast<double>(pitch_) / 100.0);
}

// The pitch read back stays the whole percent the library reports; the voice takes the rate.
void MonitorPlayer::setRate(double rate) {
  rate = std::clamp(rate, 0.5, 2.0);
  pitch_ = std::lround(rate * 100);
  control_.setRate(rate);
}

void MonitorPlayer::setVolume(long left, long right) {
  volumeLeft_ = std::clamp(left, 0L, 100L);
  volumeRight_ = std::clamp(right, 0L, 100L);
  control_.setGain(gainFromPercent(volumeLeft_), gainFromPercent(volumeRight_));
}

void MonitorPlayer::update() {
  if (control_.takeEnd()) rewind();
  control_.reclaim();
}

}  // namespace vx::audio
