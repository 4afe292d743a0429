#include "audio/engine/deck_player.h"

#include <algorithm>
#include <cmath>

#include "audio/realtime/gain_law.h"

namespace vx::audio {

DeckPlayer::DeckPlayer(int deck, Mixer& mixer, Reader& reader) : events_(deck), control_(mixer, deck, reader) {}

void DeckPlayer::setFileName(const std::string& path) {
  changeState(platform::Stopped);
  fileName_ = path;
  openFailed_ = false;
  openError_.clear();
  anchorSeconds_ = 0;
  if (path.empty()) {
    control_.close();
    return;
  }
  openFailed_ = !control_.open(path, openError_);
  sendEnd();
}

double DeckPlayer::currentPosition() const {
  double played = control_.played();
  return played == 0 ? anchorSeconds_ : anchorSeconds_ + played / sampleRate();
}

void DeckPlayer::moveTo(double seconds) {
  anchorSeconds_ = std::clamp(seconds, 0.0, std::max(duration(), 0.0));
  if (!control_.loaded()) return;
  // A position that stands for a whole sample (a cue stored as frames) lands on that sample,
  // whatever the last bit of the division into seconds.
  double frame = anchorSeconds_ * static_cast<double>(sampleRate());
  if (std::fabs(frame - std::round(frame)) < 1e-6) frame = std::round(frame);
  control_.seek(frame);
}

void DeckPlayer::setLoop(int64_t inFrame, int64_t outFrame) {
  if (!control_.loaded()) return;
  const int64_t length = control_.format().lengthFrames;
  LoopSpan loop;
  if (inFrame >= 0 && outFrame > inFrame && (length <= 0 || outFrame <= length)) loop = {inFrame, outFrame};
  // A loop set when its end has come moves the play head: the position follows the jump.
  if (control_.setLoop(loop)) anchorSeconds_ = control_.origin() / static_cast<double>(sampleRate());
}

void DeckPlayer::setCurrentPosition(double seconds) {
  double old = currentPosition();
  moveTo(seconds);
  events_.positionChange(old, currentPosition(), PlayerEvents::Timing::Now);
}

void DeckPlayer::setRate(double rate) {
  rate_ = std::clamp(rate, 0.5, 2.0);
  control_.setRate(rate_);
}

void DeckPlayer::setVolume(long hundredthsDb) {
  volume_ = hundredthsDb;
  sendGain();
}

void DeckPlayer::setBalance(long hundredthsDb) {
  balance_ = std::clamp(hundredthsDb, -10000L, 10000L);
  sendGain();
}

void DeckPlayer::setMute(bool mute) {
  mute_ = mute;
  sendGain();
}

void DeckPlayer::sendGain() {
  StereoGain g = deckGain(volume_, balance_, mute_);
  control_.setGain(g.left, g.right);
}

void DeckPlayer::setSelectionEnd(double seconds) {
  selectionEnd_ = seconds;
  sendEnd();
}

void DeckPlayer::sendEnd() {
  if (control_.loaded()) control_.setEndPosition(selectionEnd_ >= 0 ? selectionEnd_ * sampleRate() : -1);
}

void DeckPlayer::play() {
  if (!control_.loaded()) return;
  control_.play();
  changeState(platform::Playing);
}

void DeckPlayer::pause() {
  if (state_ != platform::Playing) return;
  control_.pause();
  changeState(platform::Paused);
}

void DeckPlayer::stop() {
  control_.pause();
  changeState(platform::Stopped);
}

void DeckPlayer::changeState(int state, PlayerEvents::Timing when) {
  if (state == state_) return;
  int old = state_;
  state_ = state;
  events_.stateChange(old, state, when);
}

void DeckPlayer::deliverEvents() {
  if (control_.takeEnd() && state_ == platform::Playing) {
    // At the end the player rewinds to its start point, as a stopped deck expects.
    changeState(platform::Stopped, PlayerEvents::Timing::Later);
    moveTo(selectionStart_ >= 0 ? selectionStart_ : 0);
    events_.endOfStream();
  }
  control_.reclaim();
  events_.deliver();
}

}  // namespace vx::audio
