#include "audio/monitor_player.h"

#include <algorithm>
#include <cmath>

#include "audio/decoder.h"

namespace vx::audio {

MonitorPlayer::MonitorPlayer(int outputRate) : outputRate_(outputRate) {}

bool MonitorPlayer::init() {
  ready_ = true;
  return true;
}

void MonitorPlayer::free() {
  stop();
  ready_ = false;
}

int MonitorPlayer::open(const std::string& path, platform::MonitorInfo& info) {
  OpenResult opened = openDecoder(path);
  if (!opened.decoder) return 0;
  const SourceFormat& media = opened.decoder->format();
  state_ = Stopped;
  fileName_ = path;
  sampleRate_ = media.sampleRate;
  lengthSamples_ = std::lround(media.durationSeconds * media.sampleRate);
  anchorSample_ = 0;
  playedSamples_ = 0;
  info.sampleRate = media.sampleRate;
  info.channels = media.channels;
  info.durationSeconds = media.durationSeconds;
  return 1;
}

void MonitorPlayer::play() {
  if (fileName_.empty()) return;
  if (state_ == Stopped) setPlaySamples(0);
  state_ = Playing;
}

void MonitorPlayer::pause() {
  if (state_ == Playing) state_ = Paused;
}

void MonitorPlayer::restart() {
  if (state_ == Paused) state_ = Playing;
}

void MonitorPlayer::stop() { state_ = Stopped; }

int MonitorPlayer::getState(long& state) {
  state = state_;
  return state_;
}

long MonitorPlayer::positionSamples() const { return anchorSample_ + static_cast<long>(playedSamples_); }

void MonitorPlayer::setPlaySamples(long sample) {
  anchorSample_ = std::clamp(sample, 0L, std::max(lengthSamples_, 0L));
  playedSamples_ = 0;
}

void MonitorPlayer::seek(long seconds) { setPlaySamples(seconds * sampleRate_); }

void MonitorPlayer::setPitch(long percent) { pitch_ = std::clamp(percent, 50L, 200L); }

void MonitorPlayer::setVolume(long left, long right) {
  volumeLeft_ = std::clamp(left, 0L, 100L);
  volumeRight_ = std::clamp(right, 0L, 100L);
}

void MonitorPlayer::advance(int frames) {
  if (state_ != Playing || outputRate_ <= 0) return;
  playedSamples_ += static_cast<double>(frames) * pitch_ / 100.0 * sampleRate_ / outputRate_;
  if (positionSamples() >= lengthSamples_) state_ = Stopped;
}

}  // namespace vx::audio
