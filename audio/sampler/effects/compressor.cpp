// Compressor: a peak follower over both channels (attack and release), a gain computer that
// lets through 1/ratio of every decibel above the threshold, make-up gain, and a short look-ahead
// (the pre-delay) on the signal so that the gain can move before a peak arrives.
#include <cmath>

#include "audio/sampler/effects/dsp.h"
#include "audio/sampler/effects/effect.h"
#include "audio/sampler/effects/kinds.h"

namespace vx::audio {
namespace {

class Compressor : public Effect {
 public:
  void prepare(int sampleRate, int channels) override {
    rate_ = sampleRate;
    channels_ = channels;
    for (auto& line : lines_) line.size(sampleRate * 4 / 1000 + 8);
    setParameters(platform::CompressorParameters{});
    for (dsp::Ramp* r : {&makeup_, &predelay_}) r->end();
  }
  void setParameters(const platform::EffectParameters& record) override {
    const auto& p = std::get<platform::CompressorParameters>(record);
    makeup_.setTarget(p.fGain);
    predelay_.setTarget(p.fPredelay * static_cast<float>(rate_) / 1000.0f);
    attack_ = coefficient(p.fAttack);
    release_ = coefficient(p.fRelease);
    threshold_ = p.fThreshold;
    slope_ = 1.0f - 1.0f / p.fRatio;
  }
  void process(float* s, int frames) override {
    for (dsp::Ramp* r : {&makeup_, &predelay_}) r->begin(frames);
    for (int i = 0; i < frames; ++i) {
      float makeup = makeup_.next(), delay = predelay_.next();
      float peak = 0;
      for (int c = 0; c < channels_; ++c) peak = std::max(peak, std::fabs(s[i * channels_ + c]));
      envelope_ += (peak > envelope_ ? attack_ : release_) * (peak - envelope_);
      envelope_ = dsp::flushDenormal(envelope_);
      float level = 20.0f * std::log10(std::max(envelope_, 1e-9f));
      float reduction = level > threshold_ ? (level - threshold_) * slope_ : 0.0f;
      float gain = dsp::fromDb(makeup - reduction);
      for (int c = 0; c < channels_; ++c) {
        lines_[c].push(s[i * channels_ + c]);
        s[i * channels_ + c] = lines_[c].read(delay) * gain;
      }
    }
    for (dsp::Ramp* r : {&makeup_, &predelay_}) r->end();
  }
  void reset() override {
    for (auto& line : lines_) line.clear();
    envelope_ = 0;
  }

 private:
  // Per-frame smoothing for a time constant of `ms`.
  float coefficient(float ms) const {
    return 1.0f - std::exp(-1.0f / std::max(1.0f, ms * static_cast<float>(rate_) / 1000.0f));
  }

  int rate_ = 44100, channels_ = 2;
  dsp::DelayLine lines_[2];
  dsp::Ramp makeup_, predelay_;
  float attack_ = 0, release_ = 0, threshold_ = -20, slope_ = 0;
  float envelope_ = 0;
};

}  // namespace

std::unique_ptr<Effect> makeCompressor() { return std::make_unique<Compressor>(); }

}  // namespace vx::audio
