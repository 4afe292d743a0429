#include "audio/engine/mixer.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "audio/engine/cue_feed.h"
#include "audio/engine/master_tap.h"
#include "audio/engine/voice_source.h"
#include "audio/realtime/soft_limit.h"

namespace vx::audio {

Mixer::Mixer(int players, int outputRate, RateConverter::Quality quality) : outputRate_(outputRate) {
  for (int i = 0; i < players; ++i) {
    voices_.push_back(std::make_unique<PlayerVoice>(outputRate, quality));
    stretchWorker_.add(&voices_.back()->stretchLane());
  }
  meter_.prepare(outputRate);
}

void Mixer::setOutputRate(int rate) {
  outputRate_ = rate;
  const bool worker = stretchWorker_.running();
  stretchWorker_.stop();
  for (auto& v : voices_) v->setOutputRate(rate);
  if (worker) stretchWorker_.start();
  meter_.prepare(rate);
}

void Mixer::setImmediate(bool immediate) {
  immediate_ = immediate;
  if (immediate)
    stretchWorker_.stop();
  else
    stretchWorker_.start();
}

void Mixer::post(const Command& command) {
  while (!commands_.push(command)) std::this_thread::yield();
  if (!immediate_) return;
  applyCommands();
  wakeIfSounding();
}

void Mixer::wakeIfSounding() {
  if (immediate_ && onSound_ && sounding()) onSound_();
}

bool Mixer::sounding() const {
  // A recording of the mix must get its silences too, so the output does not rest under it.
  if (const MasterTap* tap = tap_.load(std::memory_order_acquire); tap && tap->recording()) return true;
  for (const auto& v : voices_)
    if (v->sounding()) return true;
  for (const VoiceSource* s : sampler_)
    if (s && s->sounding()) return true;
  // The headphones carry the master while it plays.
  if (const CueFeed* feed = feedIn_.load(std::memory_order_acquire); feed && laidOut() && feed->live()) return true;
  return false;
}

void Mixer::applyCommands() {
  Command c;
  bool any = false;
  while (commands_.pop(c)) {
    any = true;
    switch (c.kind) {
      case Command::SetMaster:
        targetMasterLeft_ = c.left;
        targetMasterRight_ = c.right;
        break;
      case Command::SetSampler:
        if (c.voice >= 0 && c.voice < kSamplerVoices) sampler_[c.voice] = c.source;
        break;
      case Command::SetCue:
        if (c.frame >= Stereo && c.frame <= SplitRight) newLayout_ = static_cast<int>(c.frame);
        targetBlend_ = std::clamp(static_cast<float>(c.value), 0.0f, 1.0f);
        break;
      default:
        if (c.voice >= 0 && c.voice < players()) voices_[static_cast<size_t>(c.voice)]->apply(c);
    }
  }
  if (any)
    for (auto& v : voices_) v->dropStale();
}

void Mixer::render(float* out, int frames) {
  applyCommands();
  for (int done = 0; done < frames;) {
    int n = std::min(frames - done, PlayerVoice::kMaxBlock);
    renderBlock(out + 2 * done, n);
    done += n;
  }
  // The recorder's master tap and the headphones' feed: copies of the finished output, before
  // any cue layout.
  if (MasterTap* tap = tap_.load(std::memory_order_acquire)) tap->deliver(out, frames);
  if (CueFeed* feed = feedOut_.load(std::memory_order_acquire)) feed->offer(out, frames, sounding());
  if (laidOut())
    for (int done = 0; done < frames;) {
      int n = std::min(frames - done, PlayerVoice::kMaxBlock);
      layOut(out + 2 * done, n);
      done += n;
    }
  blocks_.fetch_add(1, std::memory_order_relaxed);
  uint64_t silent = silentBlocks_.load(std::memory_order_relaxed);
  silentBlocks_.store(sounding() ? 0 : silent + 1, std::memory_order_relaxed);
}

void Mixer::renderBlock(float* out, int frames) {
  std::fill(out, out + 2 * frames, 0.0f);
  for (auto& v : voices_) v->render(out, frames);
  for (VoiceSource* s : sampler_)
    if (s) s->mixInto(out, frames, outputRate_);
  float peak = 0;
  for (int i = 0; i < frames; ++i) {
    float t = static_cast<float>(i + 1) / static_cast<float>(frames);
    float left = out[2 * i] * (masterLeft_ + (targetMasterLeft_ - masterLeft_) * t);
    float right = out[2 * i + 1] * (masterRight_ + (targetMasterRight_ - masterRight_) * t);
    peak = std::max({peak, std::fabs(left), std::fabs(right)});
    out[2 * i] = softLimit(left);
    out[2 * i + 1] = softLimit(right);
  }
  masterLeft_ = targetMasterLeft_;
  masterRight_ = targetMasterRight_;
  meter_.update(peak, frames);
}

namespace {

// One frame of `layout`: own (l, r) and the feed (fl, fr), blended toward the feed by `blend`.
void layFrame(int layout, float blend, float l, float r, float fl, float fr, float& outL, float& outR) {
  switch (layout) {
    case Mixer::SplitWithFeed: outL = 0.5f * (l + r), outR = 0.5f * (fl + fr); break;
    case Mixer::SplitLeft: outL = 0.5f * (l + r), outR = 0; break;
    case Mixer::SplitRight: outL = 0, outR = 0.5f * (l + r); break;
    default: outL = l + blend * (fl - l), outR = r + blend * (fr - r);
  }
}

}  // namespace

void Mixer::layOut(float* out, int frames) {
  CueFeed* feed = feedIn_.load(std::memory_order_acquire);
  if (feed) feed->take(feedBlock_, frames, feed != feedTaken_);
  else std::fill(feedBlock_, feedBlock_ + 2 * frames, 0.0f);
  feedTaken_ = feed;
  // A new layout or blend is crossfaded from the old one across the block.
  for (int i = 0; i < frames; ++i) {
    float t = static_cast<float>(i + 1) / static_cast<float>(frames);
    float l = out[2 * i], r = out[2 * i + 1], fl = feedBlock_[2 * i], fr = feedBlock_[2 * i + 1];
    float newL, newR;
    layFrame(newLayout_, blend_ + (targetBlend_ - blend_) * t, l, r, fl, fr, newL, newR);
    if (newLayout_ != layout_) {
      float oldL, oldR;
      layFrame(layout_, blend_, l, r, fl, fr, oldL, oldR);
      newL = oldL + (newL - oldL) * t;
      newR = oldR + (newR - oldR) * t;
    }
    out[2 * i] = newL;
    out[2 * i + 1] = newR;
  }
  layout_ = newLayout_;
  blend_ = targetBlend_;
}

}  // namespace vx::audio
