#include "audio/engine/stretch_lane.h"

#include <algorithm>

#include "audio/engine/stretch_worker.h"

namespace vx::audio {

void StretchLane::prepare(int sampleRate) {
  stretch_.prepare(sampleRate);
  // What the stretcher holds before a frame comes out: its analysis window and its start delay,
  // each about twice that delay.
  stretcherFrames_ = 3 * stretch_.startDelay();
}

void StretchLane::restart(double rate) {
  latest_.store(++epoch_, std::memory_order_release);
  restartPending_ = true;
  restartRate_ = rate;
  handedOver_ = takenInput_ = 0;
  lastPushed_ = drained_ = haveReading_ = false;
  changed_ = true;
}

int StretchLane::inputWanted(double rate) {
  if (restartPending_) {
    if (in_.full()) return 0;
    InBlock& b = building_;
    b.epoch = epoch_;
    b.frames = 0;
    b.rate = restartRate_;
    b.restart = true;
    b.last = false;
    in_.push(b);
    restartPending_ = false;
  }
  if (lastPushed_ || in_.full()) return 0;
  const double target = (kAheadFrames + stretcherFrames_) * rate;
  return static_cast<int>(std::clamp(target - (handedOver_ - takenInput_), 0.0, 1.0 * kBlockFrames));
}

void StretchLane::push(const float* in, int frames, double rate, bool last, const StretchOrigin& origin) {
  InBlock& b = building_;
  b.origin = origin;
  b.epoch = epoch_;
  b.frames = std::clamp(frames, 0, kBlockFrames);
  b.rate = rate;
  b.restart = false;
  b.last = last;
  std::copy(in, in + 2 * b.frames, b.data);
  if (!in_.push(b)) return;  // inputWanted() said there was room
  handedOver_ += b.frames;
  lastPushed_ = last;
  changed_ = true;
}

void StretchLane::kick() {
  if (!worker_) {
    work();
  } else if (!changed_ || readyFrames() >= kWakeBelow) {
    return;  // woken in batches, the worker finds its stretcher's memory still cached
  } else {
    worker_->wake();
  }
  changed_ = false;
}

int StretchLane::readyFrames() const {
  return static_cast<int>(out_.size()) * kBlockFrames + (haveReading_ ? reading_.frames - readAt_ : 0);
}

bool StretchLane::ready() {
  while (!haveReading_ && out_.pop(reading_)) {
    changed_ = true;
    haveReading_ = reading_.epoch == epoch_;
    readAt_ = 0;
  }
  return haveReading_;
}

int StretchLane::take(float* out, int frames, double& input) {
  input = 0;
  int made = 0;
  while (made < frames) {
    if (!haveReading_) {
      if (!out_.pop(reading_)) break;
      changed_ = true;
      if (reading_.epoch != epoch_) continue;  // stretched before the last restart
      haveReading_ = true;
      readAt_ = 0;
    }
    const int n = std::min(frames - made, reading_.frames - readAt_);
    std::copy(reading_.data + 2 * readAt_, reading_.data + 2 * (readAt_ + n), out + 2 * made);
    if (n > 0) input += reading_.input * n / reading_.frames;
    readAt_ += n;
    made += n;
    if (readAt_ == reading_.frames) {
      haveReading_ = false;
      drained_ = drained_ || reading_.drained;
    }
  }
  takenInput_ += input;
  return made;
}

void StretchLane::missed(int frames) {
  if (takenInput_ > 0 && !lastPushed_)  // not a stream's start or end
    late_.store(late_.load(std::memory_order_relaxed) + static_cast<uint64_t>(frames), std::memory_order_relaxed);
}

void StretchLane::work() {
  for (;;) {
    if (havePending_ && !sendPending()) return;  // the finished queue is full
    if (finishBlock()) continue;
    if (!feedFromInput()) return;
  }
}

bool StretchLane::sendPending() {
  if (finished_.epoch == latest_.load(std::memory_order_acquire) && !out_.push(finished_)) return false;
  havePending_ = false;
  return true;
}

bool StretchLane::finishBlock() {
  if (workEpoch_ != latest_.load(std::memory_order_acquire)) return false;  // a restart is on its way
  double input = 0;
  const int got = stretch_.take(finished_.data, kBlockFrames, &input);
  if (got == 0 && (drainSent_ || !stretch_.drained())) return false;
  finished_.epoch = workEpoch_;
  finished_.frames = got;
  finished_.input = input;
  finished_.drained = got == 0;
  drainSent_ = finished_.drained;
  havePending_ = true;
  stretched_.store(stretched_.load(std::memory_order_relaxed) + static_cast<uint64_t>(got), std::memory_order_relaxed);
  offerShared(finished_);
  return true;
}

void StretchLane::noteInput(const InBlock& block) {
  fedRate_ = block.rate;
  plain_ = plain_ && block.origin.plain;
  if (originKnown_) return;
  origin_ = block.origin;
  originKnown_ = true;
}

void StretchLane::offerShared(const OutBlock& block) {
  const double start = origin_.start + sharedInput_ * origin_.sourcePerInput;
  sharedInput_ += block.input;
  if (!share_ || !originKnown_) return;
  StretchShare::Block b;
  b.song = origin_.song;
  b.stream = block.epoch;
  b.plain = plain_;
  b.drained = block.drained;
  b.frames = block.frames;
  b.start = start;
  b.length = block.input * origin_.sourcePerInput;
  b.rate = fedRate_;
  b.sourcePerInput = origin_.sourcePerInput;
  std::copy(block.data, block.data + 2 * block.frames, b.data);
  share_->offer(b);
}

bool StretchLane::feedFromInput() {
  for (;;) {
    if (!haveFeeding_) {
      if (!in_.pop(feeding_)) return false;
      haveFeeding_ = true;
      fedAt_ = 0;
    }
    if (feeding_.epoch != latest_.load(std::memory_order_acquire)) {
      haveFeeding_ = false;  // handed over before a restart since
      continue;
    }
    if (feeding_.restart) {
      workEpoch_ = feeding_.epoch;
      stretch_.reset(feeding_.rate);
      drainSent_ = haveFeeding_ = false;
      originKnown_ = false;
      plain_ = true;
      sharedInput_ = 0;
      if (share_) share_->startStream(workEpoch_);
      continue;
    }
    if (fedAt_ == 0) noteInput(feeding_);
    stretch_.setRate(feeding_.rate);
    const int want = stretch_.wanted();
    if (want == 0) {  // the input has ended already
      haveFeeding_ = false;
      continue;
    }
    const int n = std::min(want, feeding_.frames - fedAt_);
    stretch_.feed(feeding_.data + 2 * fedAt_, n, feeding_.last && fedAt_ + n == feeding_.frames);
    fedAt_ += n;
    if (fedAt_ == feeding_.frames) haveFeeding_ = false;
    return true;
  }
}

}  // namespace vx::audio
