#include "audio/deck_player.h"

#include <algorithm>

#include "audio/decoder.h"

namespace vx::audio {

DeckPlayer::DeckPlayer(int deck, int outputRate) : outputRate_(outputRate), events_(deck) {}

void DeckPlayer::setFileName(const std::string& path) {
  if (state_ != platform::Stopped) changeState(platform::Stopped);
  fileName_ = path;
  anchorSeconds_ = 0;
  playedFrames_ = 0;
  duration_ = 0;
  openFailed_ = false;
  if (path.empty()) return;
  OpenResult opened = openDecoder(path);
  openFailed_ = !opened.decoder;
  if (opened.decoder) duration_ = opened.decoder->format().durationSeconds;
}

double DeckPlayer::currentPosition() const { return anchorSeconds_ + playedFrames_ / outputRate_; }

void DeckPlayer::setCurrentPosition(double seconds) {
  double old = currentPosition();
  moveTo(seconds);
  events_.positionChange(old, currentPosition());
}

void DeckPlayer::moveTo(double seconds) {
  anchorSeconds_ = std::clamp(seconds, 0.0, std::max(duration_, 0.0));
  playedFrames_ = 0;
}

void DeckPlayer::setRate(double rate) { rate_ = std::clamp(rate, 0.5, 2.0); }

void DeckPlayer::play() {
  if (fileName_.empty() || openFailed_) return;
  changeState(platform::Playing);
}

void DeckPlayer::pause() {
  if (state_ == platform::Playing) changeState(platform::Paused);
}

void DeckPlayer::stop() { changeState(platform::Stopped); }

void DeckPlayer::changeState(int state) {
  if (state == state_) return;
  int old = state_;
  state_ = state;
  events_.stateChange(old, state);
}

double DeckPlayer::endSeconds() const {
  return selectionEnd_ >= 0 ? std::min(selectionEnd_, duration_) : duration_;
}

void DeckPlayer::advance(int frames) {
  if (state_ != platform::Playing) return;
  playedFrames_ += frames * rate_;
  if (currentPosition() < endSeconds()) return;
  // At the end the player rewinds to its start point, as a stopped deck expects.
  changeState(platform::Stopped);
  moveTo(selectionStart_ >= 0 ? selectionStart_ : 0);
  events_.endOfStream();
}

}  // namespace vx::audio
