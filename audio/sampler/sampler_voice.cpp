#include "audio/sampler/sampler_voice.h"

#include <algorithm>
#include <cmath>

#include "audio/sampler/sample_data.h"

namespace vx::audio {
namespace {

// How long effects may ring on after the sound stopped, and how long they must have been silent
// to be taken as done (longer than the longest echo delay).
constexpr double kRingSeconds = 10.0;
constexpr double kQuietSeconds = 2.1;
constexpr float kQuiet = 1e-5f;  // -100 dB

float hermite(float ym1, float y0, float y1, float y2, float t) {
  float c1 = 0.5f * (y1 - ym1);
  float c2 = ym1 - 2.5f * y0 + 2.0f * y1 - 0.5f * y2;
  float c3 = 0.5f * (y2 - ym1) + 1.5f * (y0 - y1);
  return ((c3 * t + c2) * t + c1) * t + y0;
}

}  // namespace

void SamplerVoice::apply(const SamplerCommand& c) {
  switch (c.kind) {
    case SamplerCommand::Attach:
      data_ = c.data;
      chain_ = nullptr;
      head_ = {};
      tail_ = {};
      loop_ = false;
      releasing_ = false;
      ringFrames_ = -1;
      frequency_ = c.data ? c.data->sampleRate : 44100;
      left_ = targetLeft_ = c.left;
      right_ = targetRight_ = c.right;
      position.store(0, std::memory_order_relaxed);
      break;
    case SamplerCommand::Detach:
      releaseSerial_ = c.serial;
      if (!c.fade || !data_) {
        drop();
        break;
      }
      releasing_ = true;
      releaseGain_ = 1;
      break;
    case SamplerCommand::Play:
      if (!data_) break;
      serial_ = c.serial;
      loop_ = c.loop;
      if (!head_.on && ringFrames_ < 0 && chain_)
        for (auto& e : chain_->effects) e->reset();
      head_.on = true;
      break;
    case SamplerCommand::Stop:
      if (head_.on) startTail();
      head_.on = false;
      break;
    case SamplerCommand::SetPosition:
      if (head_.on) startTail();
      head_.pos = static_cast<double>(c.frame);
      position.store(c.frame, std::memory_order_relaxed);
      break;
    case SamplerCommand::SetFrequency:
      frequency_ = c.value;
      break;
    case SamplerCommand::SetGain:
      targetLeft_ = c.left;
      targetRight_ = c.right;
      break;
    case SamplerCommand::SetChain:
      chain_ = c.chain;
      ringFrames_ = -1;
      break;
    case SamplerCommand::SetEffect:
      if (chain_ && chain_ == c.chain && c.effect >= 0 && c.effect < static_cast<int>(chain_->effects.size()))
        chain_->effects[static_cast<size_t>(c.effect)]->setParameters(c.parameters);
      break;
  }
}

void SamplerVoice::startTail() {
  tail_ = head_;
  tail_.on = true;
  tailLoop_ = loop_;
  tailGain_ = 1;
}

void SamplerVoice::drop() {
  data_ = nullptr;
  chain_ = nullptr;
  head_ = {};
  tail_ = {};
  releasing_ = false;
  released.store(releaseSerial_, std::memory_order_release);
}

float SamplerVoice::at(long frame, int channel, bool loop) const {
  long n = data_->frames;
  if (frame < 0 || frame >= n) {
    if (!loop) return 0.0f;
    frame = ((frame % n) + n) % n;
  }
  return data_->samples[static_cast<size_t>(frame * data_->channels + channel)];
}

int SamplerVoice::read(Head& head, int frames, double step, bool loop, float gain, float gainStep) {
  const int ch = data_->channels;
  const double n = static_cast<double>(data_->frames);
  const bool exact = step == 1.0 && head.pos == std::floor(head.pos);
  for (int i = 0; i < frames; ++i) {
    if (head.pos >= n) {
      if (!loop) return i;
      head.pos -= n * std::floor(head.pos / n);
    }
    auto whole = static_cast<long>(head.pos);
    if (exact) {
      const float* s = &data_->samples[static_cast<size_t>(whole * ch)];
      for (int c = 0; c < ch; ++c) scratch_[i * ch + c] += gain * s[c];
    } else {
      auto t = static_cast<float>(head.pos - static_cast<double>(whole));
      for (int c = 0; c < ch; ++c)
        scratch_[i * ch + c] += gain * hermite(at(whole - 1, c, loop), at(whole, c, loop), at(whole + 1, c, loop),
                                               at(whole + 2, c, loop), t);
    }
    head.pos += step;
    gain += gainStep;
  }
  return frames;
}

void SamplerVoice::runChain(int frames, bool input, int outputRate) {
  if (!chain_ || chain_->effects.empty()) {
    ringFrames_ = -1;
    return;
  }
  if (!input && ringFrames_ < 0) return;
  for (auto& e : chain_->effects) e->process(scratch_, frames);
  if (input) {
    ringFrames_ = quietFrames_ = 0;
    return;
  }
  // Ringing on after the sound: done once quiet long enough; faded out at the limit.
  float peak = 0;
  const int n = frames * data_->channels;
  for (int i = 0; i < n; ++i) peak = std::max(peak, std::fabs(scratch_[i]));
  ringFrames_ += frames;
  quietFrames_ = peak > kQuiet ? 0 : quietFrames_ + frames;
  if (quietFrames_ >= static_cast<long>(kQuietSeconds * outputRate)) {
    ringFrames_ = -1;
  } else if (ringFrames_ >= static_cast<long>(kRingSeconds * outputRate)) {
    for (int i = 0; i < frames; ++i)
      for (int c = 0; c < data_->channels; ++c)
        scratch_[i * data_->channels + c] *= 1.0f - static_cast<float>(i + 1) / static_cast<float>(frames);
    ringFrames_ = -1;
  }
}

void SamplerVoice::mixInto(float* out, int frames, int outputRate) {
  if (!data_) return;
  frames = std::min(frames, kMaxBlock);
  const int ch = data_->channels;
  bool input = head_.on || tail_.on;
  if (!input && ringFrames_ < 0) {
    if (releasing_) drop();
    return;
  }
  std::fill(scratch_, scratch_ + frames * ch, 0.0f);
  const double step = frequency_ / static_cast<double>(outputRate);
  if (head_.on) {
    int made = read(head_, frames, step, loop_, 1.0f, 0.0f);
    if (made < frames) {
      head_ = {};
      ended.store(serial_, std::memory_order_release);
    }
  }
  if (tail_.on) {
    int fade = std::min(frames, static_cast<int>(std::ceil(tailGain_ * kFadeFrames)));
    read(tail_, fade, step, tailLoop_, tailGain_, -1.0f / kFadeFrames);
    tailGain_ -= static_cast<float>(fade) / kFadeFrames;
    if (tailGain_ <= 0) tail_ = {};
  }
  position.store(static_cast<int64_t>(head_.pos), std::memory_order_relaxed);
  runChain(frames, input, outputRate);

  const float dl = (targetLeft_ - left_) / static_cast<float>(frames);
  const float dr = (targetRight_ - right_) / static_cast<float>(frames);
  const float dRelease = releasing_ ? -1.0f / kFadeFrames : 0.0f;
  for (int i = 0; i < frames; ++i) {
    float gl = (left_ + dl * static_cast<float>(i + 1)) * releaseGain_;
    float gr = (right_ + dr * static_cast<float>(i + 1)) * releaseGain_;
    float l = scratch_[i * ch], r = ch == 2 ? scratch_[i * ch + 1] : l;
    out[2 * i] += l * gl;
    out[2 * i + 1] += r * gr;
    releaseGain_ = std::max(0.0f, releaseGain_ + dRelease);
  }
  left_ = targetLeft_;
  right_ = targetRight_;
  if (releasing_ && releaseGain_ <= 0) drop();
}

}  // namespace vx::audio
