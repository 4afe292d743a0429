#include "audio/engine/player_voice.h"

#include <algorithm>
#include <cmath>

#include "audio/decode/track.h"

namespace vx::audio {
namespace {

bool newer(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) > 0; }

}  // namespace

PlayerVoice::PlayerVoice(int outputRate, RateConverter::Quality quality)
    : outputRate_(outputRate), converter_(quality) {
  lane_.prepare(outputRate_);
  prepareChannel();
}

void PlayerVoice::setOutputRate(int rate) {
  outputRate_ = rate;
  lane_.prepare(outputRate_);
  prepareChannel();
}

void PlayerVoice::prepareChannel() {
  eq_.prepare(outputRate_);
  filter_.prepare(outputRate_);
  meter_.prepare(outputRate_);
  for (int band = 0; band < 3; ++band) eq_.setGain(band, eqGain_[band]);
  filter_.setPosition(filterPosition_);
}

double PlayerVoice::step() const {
  return track_ ? rate_ * track_->format().sampleRate / outputRate_ : rate_;
}

double PlayerVoice::converterStep() const { return stretching_ ? step() / rate_ : step(); }

void PlayerVoice::apply(const Command& c) {
  switch (c.kind) {
    case Command::SetTrack:
      fadeOut();
      track_ = c.track;
      playing_ = false;
      jump(c.generation, 0);
      appliedSerial_.store(c.serial, std::memory_order_release);
      break;
    case Command::Seek:
      fadeOut(kHoldFrames);
      jump(c.generation, c.position);
      break;
    case Command::Play:
      if (!playing_) fadeInDone_ = 0;
      playing_ = true;
      break;
    case Command::Pause:
      fadeOut();
      playing_ = false;
      break;
    case Command::SetRate: rate_ = c.value; break;
    case Command::SetGain:
      targetLeft_ = c.left;
      targetRight_ = c.right;
      break;
    case Command::SetEnd: endPosition_ = c.position; break;
    case Command::SetLoop: applyLoop(c); break;
    case Command::SetEqBand:
      if (c.frame < 0 || c.frame > 2) break;
      eqGain_[c.frame] = c.value;
      eq_.setGain(static_cast<int>(c.frame), c.value);
      break;
    case Command::SetFilter:
      filterPosition_ = c.value;
      filter_.setPosition(c.value);
      break;
    case Command::SetKeyLock:
      keyLock_ = c.value != 0;
      if (c.generation != 0) restartHere(c.generation, c.position);
      break;
    case Command::SetShare:
      if (shared_) {
        fadeOut();
        leaveShare(nullptr, 0, 0);
        fadeInDone_ = 0;
      }
      share_.attach(c.share, c.serial);
      break;
    default: break;
  }
}

void PlayerVoice::applyLoop(const Command& c) {
  LoopSpan next;
  if (c.frame >= 0) next = {c.frame, static_cast<int64_t>(c.position)};
  if (c.value == 0 || !track_) {
    loop_ = next;
    return;
  }
  // Until the new stream is there, the old one may be played only where both streams agree:
  // before the first crossfade of either loop still ahead.
  oldLimit_ = -1;
  for (const LoopSpan& l : {loop_, next}) {
    if (!l.on() || inputFrame_ >= l.out) continue;
    oldLimit_ = oldLimit_ < 0 ? l.crossfadeStart() : std::min(oldLimit_, l.crossfadeStart());
  }
  // Through the old loop's wrap the sound wraps once more, wherever the new stream is taken up.
  wrapOnce_ = c.value == 2 ? loop_ : LoopSpan{};
  loop_ = next;
  continuing_ = true;
  continuation_ = c.generation;
}

void PlayerVoice::takeUpContinuation() {
  TrackCache& cache = track_->cache();
  size_t found = 0;
  const Chunk* c = nullptr;
  for (; (c = cache.peek(found)) != nullptr; ++found) {
    if (c->generation == continuation_) break;
  }
  if (!c) return;
  for (size_t i = 0; i < found; ++i) releaseChunk();
  generation_ = continuation_;
  continuing_ = false;
  oldLimit_ = -1;
  // The new stream starts at or before the frame the voice reads next, and runs on from there
  // as the old one would have, the loop's wrap included: a voice that already wrapped reads
  // behind the stream's start, as many frames past the wrap as it has gone.
  skipInput_ = inputFrame_ - c->start;
  if (skipInput_ < 0 && wrapOnce_.on()) skipInput_ += wrapOnce_.out - wrapOnce_.in;
  skipInput_ = std::max<int64_t>(0, skipInput_);
  publish();
}

int PlayerVoice::usable(const Chunk& c) const {
  int available = c.frames - chunkOffset_;
  if (!continuing_ || oldLimit_ < 0) return available;
  return static_cast<int>(std::clamp<int64_t>(oldLimit_ - (c.start + chunkOffset_), 0, available));
}

void PlayerVoice::advance(const Chunk& c, int frames) {
  chunkOffset_ += frames;
  inputFrame_ = c.start + chunkOffset_;
  if (chunkOffset_ < c.frames) return;
  for (const LoopSpan& l : {loop_, wrapOnce_})
    if (l.on() && inputFrame_ == l.out) inputFrame_ = l.in;
}

void PlayerVoice::wrapPosition(double before) {
  if (wrapOnce_.on() && before < static_cast<double>(wrapOnce_.out) && position_ >= static_cast<double>(wrapOnce_.out)) {
    const double length = static_cast<double>(wrapOnce_.out - wrapOnce_.in);
    position_ -= length;
    played_ -= length;
    before = static_cast<double>(wrapOnce_.in);
    wrapOnce_ = {};
  }
  if (!loop_.on() || before >= static_cast<double>(loop_.out)) return;
  const double length = static_cast<double>(loop_.out - loop_.in);
  while (position_ >= static_cast<double>(loop_.out)) {
    position_ -= length;
    played_ -= length;
  }
}

void PlayerVoice::dropStale() {
  if (track_) currentChunk();
}

void PlayerVoice::fadeOut(int frames) {
  // Stopping or leaving a place while it sounds: its next few frames are taken now and played
  // fading out, so that the cache holds nothing the voice still needs from the old place.
  if (!playing_ || finished() || !track_ || fadeOutLeft_ > 0) return;
  tailFrames_ = pull(tail_, frames);
  tailPlayed_ = 0;
  fadeOutLeft_ = kDeclickFrames;
  holding_ = frames > kDeclickFrames;
}

int PlayerVoice::hold(int frames) {
  const int spare = tailFrames_ - tailPlayed_ - kDeclickFrames;
  if (!holding_ || spare <= 0 || !playing_ || newPlaceReady()) {
    holding_ = false;
    return 0;
  }
  const int held = std::min(spare, frames);
  mixBlock(tail_ + 2 * tailPlayed_, held, 0, 1.0f, 0.0f);
  tailPlayed_ += held;
  movedDuringFade_ += held;
  return held;
}

bool PlayerVoice::newPlaceReady() {
  if (currentChunk() == nullptr) return false;
  if (!stretching_) return true;
  // The stretcher starts on the new place while the old one is held.
  feedLane();
  lane_.kick();
  return lane_.ready();
}

void PlayerVoice::jump(uint32_t generation, double position) {
  generation_ = generation;
  position_ = position;
  played_ = 0;
  continuing_ = false;
  oldLimit_ = -1;
  wrapOnce_ = {};
  inputFrame_ = static_cast<int64_t>(std::floor(position));
  movedDuringFade_ = 0;
  shared_ = false;
  converter_.reset();
  stretching_ = keyLock_ && rate_ != 1.0 && lane_.ok();
  if (stretching_) lane_.restart(rate_);
  chunkOffset_ = 0;
  skipInput_ = 0;
  dropOutput_ = 0;
  inputDone_ = ended_ = false;
  fadeInDone_ = 0;
  publish();
  if (track_) track_->askForMore();
}

void PlayerVoice::restartHere(uint32_t generation, double from) {
  // The old path sounds out as for a jump; the new one starts on the frame heard next.
  double here = position_ + (fadeOutLeft_ > 0 ? movedDuringFade_ * step() : 0.0);
  fadeOut(kHoldFrames);
  jump(generation, here);
  from = std::clamp(from, 0.0, here);
  skipInput_ = static_cast<int64_t>(std::llround(here - std::floor(from)));
  played_ = here - from;
  publish();
}

void PlayerVoice::moveOn(double outputFrames) {
  // The jump happened when it was asked for: the new place has moved on while the old one faded out.
  double moved = outputFrames * step();
  if (stretching_ && lane_.started())
    dropOutput_ += static_cast<int>(std::llround(outputFrames));  // stretched from the jump's target already
  else
    skipInput_ += static_cast<int64_t>(std::llround(moved));
  double before = position_;
  position_ += moved;
  played_ += moved;
  wrapPosition(before);
  publish();
}

void PlayerVoice::publish() {
  uint64_t frames = static_cast<uint64_t>(std::llround(played_ * 256.0)) & kPositionMask;
  where_.store((static_cast<uint64_t>(generation_ & 0xFFFF) << 48) | frames, std::memory_order_release);
  if (track_) track_->cache().setPlayHead(generation_, static_cast<int64_t>(position_));
}

void PlayerVoice::reportEnd() {
  ++endCount_;
  ends_.store((static_cast<uint64_t>(generation_) << 32) | endCount_, std::memory_order_release);
}

const Chunk* PlayerVoice::currentChunk() {
  if (continuing_) takeUpContinuation();
  TrackCache& cache = track_->cache();
  while (const Chunk* c = cache.front()) {
    if (c->generation == generation_) return c;
    if (newer(c->generation, generation_)) return nullptr;  // decoded for a jump not applied here yet
    releaseChunk();
  }
  return nullptr;
}

void PlayerVoice::releaseChunk() {
  track_->cache().release();
  chunkOffset_ = 0;
  track_->consumed();
}

int PlayerVoice::produce(float* out, int frames) {
  int made = 0;
  converter_.setStep(converterStep());
  while (made < frames && !ended_) {
    const Chunk* c = inputDone_ ? nullptr : currentChunk();
    if (!c && !inputDone_) break;  // the reader has not caught up yet
    if (c && skipInput_ > 0) {
      int skip = static_cast<int>(std::min<int64_t>(skipInput_, c->frames - chunkOffset_));
      advance(*c, skip);
      skipInput_ -= skip;
      if (chunkOffset_ >= c->frames && !c->last) {
        releaseChunk();
        continue;
      }
    }
    const float* in = c ? c->data + 2 * chunkOffset_ : nullptr;
    int available = c ? usable(*c) : 0;
    if (c && available == 0 && chunkOffset_ < c->frames) break;  // a loop change's frames are not there yet
    bool last = inputDone_ || c->last;
    RateConverter::Result r = converter_.process(in, available, out + 2 * made, frames - made, last);
    made += r.made;
    if (c) {
      advance(*c, r.used);
      if (chunkOffset_ >= c->frames) {
        inputDone_ = c->last;
        releaseChunk();
        continue;
      }
    }
    if (r.made == 0 && r.used == 0) {
      ended_ = last;
      break;
    }
  }
  return made;
}

int PlayerVoice::pull(float* out, int frames) { return shared_ ? pullShared(out, frames) : pullOwn(out, frames); }

int PlayerVoice::pullOwn(float* out, int frames) {
  if (!stretching_) return produce(out, frames);
  feedLane();
  lane_.kick();
  // The frames the held old place stood in for go unheard; the position has counted them.
  for (int n = 1; dropOutput_ > 0 && n > 0; dropOutput_ -= n)
    n = lane_.take(out, std::min(dropOutput_, frames), pulledInput_);
  const int made = lane_.take(out, frames, pulledInput_);
  lane_.kick();
  return made;
}

bool PlayerVoice::shareable() const {
  return stretching_ && share_.attached() && !holding_ && !continuing_ && !loop_.on() && !wrapOnce_.on();
}

int PlayerVoice::enterShare(float* out, int frames) {
  double snapped = 0;
  if (!share_.findPlace(position_, rate_, converterStep(), snapped)) return -1;
  // The voice's own frames from here on are the share's to within a fraction of a frame.
  const int own = pullOwn(own_, std::min(frames, kDeclickFrames));
  played_ += snapped - position_;
  position_ = snapped;
  shared_ = true;
  const int made = pullShared(out, frames);
  for (int i = 0; i < std::min(own, made); ++i) {
    const float t = static_cast<float>(i + 1) / (kDeclickFrames + 1);
    out[2 * i] = own_[2 * i] + (out[2 * i] - own_[2 * i]) * t;
    out[2 * i + 1] = own_[2 * i + 1] + (out[2 * i + 1] - own_[2 * i + 1]) * t;
  }
  return made;
}

int PlayerVoice::pullShared(float* out, int frames) {
  double moved = 0;
  const int made = share_.take(out, frames, moved);
  pulledInput_ = moved / converterStep();
  if (share_.broken()) leaveShare(out, made, moved);
  return made;
}

void PlayerVoice::leaveShare(float* out, int made, double moved) {
  // The frames taken last fade out; the voice's own stretching starts again where they end and
  // fades in.
  const int fading = out ? std::min(made, kDeclickFrames) : 0;
  for (int i = 0; i < fading; ++i) {
    const float g = static_cast<float>(fading - 1 - i) / static_cast<float>(fading);
    out[2 * (made - fading + i)] *= g;
    out[2 * (made - fading + i) + 1] *= g;
  }
  shared_ = false;
  skipInput_ = std::max<int64_t>(skipInput_, static_cast<int64_t>(std::floor(position_ + moved)) - inputFrame_);
  converter_.reset();
  if (stretching_) lane_.restart(rate_);
  dropOutput_ = 0;
}

void PlayerVoice::skipAhead() {
  while (skipInput_ > 0) {
    const Chunk* c = currentChunk();
    if (!c) return;
    const int skip = static_cast<int>(std::min<int64_t>(skipInput_, c->frames - chunkOffset_));
    advance(*c, skip);
    skipInput_ -= skip;
    if (chunkOffset_ < c->frames || c->last) return;
    releaseChunk();
  }
}

void PlayerVoice::feedLane() {
  const StretchOrigin origin{appliedSerial_.load(std::memory_order_relaxed), position_, converterStep(), !loop_.on() && !wrapOnce_.on() && !continuing_};
  for (int want; (want = lane_.inputWanted(rate_)) > 0;) {
    const int got = produce(stretchIn_, want);
    if (got == 0 && !ended_) break;  // the reader has not caught up yet
    lane_.push(stretchIn_, got, rate_, ended_, origin);
    if (ended_) break;
  }
}

void PlayerVoice::mixBlock(const float* in, int frames, int offset, float envelope, float slope) {
  for (int i = 0; i < frames; ++i) {
    float e = std::clamp(envelope + slope * static_cast<float>(i), 0.0f, 1.0f);
    pre_[2 * (offset + i)] = in[2 * i] * e;
    pre_[2 * (offset + i) + 1] = in[2 * i + 1] * e;
  }
}

void PlayerVoice::render(float* mix, int frames) {
  // Gains move from their old to their new values across this block.
  for (int i = 0; i < frames; ++i) {
    float t = static_cast<float>(i + 1) / static_cast<float>(frames);
    rampLeft_[i] = gainLeft_ + (targetLeft_ - gainLeft_) * t;
    rampRight_[i] = gainRight_ + (targetRight_ - gainRight_) * t;
  }
  gainLeft_ = targetLeft_;
  gainRight_ = targetRight_;
  if (!sounding()) {
    if (meter_.active()) meter_.update(0, frames);
    return;
  }
  std::fill(pre_, pre_ + 2 * frames, 0.0f);
  if (producing()) renderSource(frames);
  eq_.process(pre_, frames);
  filter_.process(pre_, frames);
  float peak = 0;
  for (int i = 0; i < frames; ++i) {
    float left = pre_[2 * i] * rampLeft_[i], right = pre_[2 * i + 1] * rampRight_[i];
    mix[2 * i] += left;
    mix[2 * i + 1] += right;
    peak = std::max({peak, std::fabs(left), std::fabs(right)});
  }
  meter_.update(peak, frames);
}

void PlayerVoice::renderSource(int frames) {
  int done = 0;
  if (shared_ && playing_ && share_.runningOut()) {
    // The frames left in the share stand in for the voice's own until its stretcher has caught
    // up, as the old place does for a jump.
    fadeOut(kHoldFrames);
    leaveShare(nullptr, 0, 0);
    fadeInDone_ = 0;
  }
  if (fadeOutLeft_ > 0) {
    done = hold(frames);
    if (done == frames) return;
    const int fading = std::min(fadeOutLeft_, frames - done);
    int audible = std::clamp(tailFrames_ - tailPlayed_, 0, fading);
    mixBlock(tail_ + 2 * tailPlayed_, audible, done, static_cast<float>(fadeOutLeft_) / kDeclickFrames,
             -1.0f / kDeclickFrames);
    tailPlayed_ += fading;
    fadeOutLeft_ -= fading;
    movedDuringFade_ += fading;
    done += fading;
    if (fadeOutLeft_ > 0) return;
  }
  if (!playing_ || !track_) return;
  if (movedDuringFade_ > 0) {
    moveOn(movedDuringFade_);
    movedDuringFade_ = 0;
  }
  renderPlaying(frames - done, done);
}

void PlayerVoice::renderPlaying(int frames, int offset) {
  double s = step();
  int want = frames;
  if (endPosition_ >= 0) want = static_cast<int>(std::clamp(std::ceil((endPosition_ - position_) / s), 0.0, 1.0 * frames));
  int got = -1;
  if (!shared_ && shareable()) got = enterShare(scratch_, want);
  const bool wasShared = shared_;
  if (got < 0) got = pull(scratch_, want);
  if (stretching_ && !wasShared && got < want) lane_.missed(want - got);
  double input = pulledInput_;
  mixBlock(scratch_, got, offset, static_cast<float>(fadeInDone_) / kDeclickFrames, 1.0f / kDeclickFrames);
  fadeInDone_ = std::min(fadeInDone_ + got, kDeclickFrames);
  if (wasShared && !shared_) {
    // The share ended within the block, faded out: the voice's own frames fill the rest, fading in.
    const int more = pullOwn(scratch_, want - got);
    input += pulledInput_;
    mixBlock(scratch_, more, offset + got, 0.0f, 1.0f / kDeclickFrames);
    fadeInDone_ = std::min(more, kDeclickFrames);
    got += more;
  }
  // Stretched frames move the play head at the rate the stretcher made them with.
  const double moved = stretching_ ? input * converterStep() : got * s;
  double before = position_;
  position_ += moved;
  played_ += moved;
  wrapPosition(before);
  if (shared_) {
    skipInput_ = std::max<int64_t>(skipInput_, static_cast<int64_t>(std::floor(position_)) - inputFrame_);
    skipAhead();
  }
  publish();
  bool atEndPoint = endPosition_ >= 0 && position_ >= endPosition_;
  if (finished() || atEndPoint) {
    reportEnd();
    fadeOut();
    playing_ = false;
  }
}

}  // namespace vx::audio
