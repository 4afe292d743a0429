#include "audio/engine/mixer.h"

#include <algorithm>
#include <thread>

#include "audio/engine/master_tap.h"
#include "audio/engine/voice_source.h"
#include "audio/realtime/soft_limit.h"

namespace vx::audio {

Mixer::Mixer(int players, int outputRate, RateConverter::Quality quality) : outputRate_(outputRate) {
  for (int i = 0; i < players; ++i) voices_.push_back(std::make_unique<PlayerVoice>(outputRate, quality));
}

void Mixer::setOutputRate(int rate) {
  outputRate_ = rate;
  for (auto& v : voices_) v->setOutputRate(rate);
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
  // The recorder's master tap: one copy of the finished output.
  if (MasterTap* tap = tap_.load(std::memory_order_acquire)) tap->deliver(out, frames);
  blocks_.fetch_add(1, std::memory_order_relaxed);
  uint64_t silent = silentBlocks_.load(std::memory_order_relaxed);
  silentBlocks_.store(sounding() ? 0 : silent + 1, std::memory_order_relaxed);
}

void Mixer::renderBlock(float* out, int frames) {
  std::fill(out, out + 2 * frames, 0.0f);
  for (auto& v : voices_) v->render(out, frames);
  for (VoiceSource* s : sampler_)
    if (s) s->mixInto(out, frames, outputRate_);
  for (int i = 0; i < frames; ++i) {
    float t = static_cast<float>(i + 1) / static_cast<float>(frames);
    float left = masterLeft_ + (targetMasterLeft_ - masterLeft_) * t;
    float right = masterRight_ + (targetMasterRight_ - masterRight_) * t;
    out[2 * i] = softLimit(out[2 * i] * left);
    out[2 * i + 1] = softLimit(out[2 * i + 1] * right);
  }
  masterLeft_ = targetMasterLeft_;
  masterRight_ = targetMasterRight_;
}

}  // namespace vx::audio
