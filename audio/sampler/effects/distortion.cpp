// Distortion: a low-pass before the shaper, a soft clipper whose drive grows with the edge, a
// band-pass after it, and the output gain.
#include <array>
#include <cmath>

#include "audio/sampler/effects/dsp.h"
#include "audio/sampler/effects/effect.h"
#include "audio/sampler/effects/kinds.h"

namespace vx::audio {
namespace {

class Distortion : public Effect {
 public:
  void prepare(int sampleRate, int channels) override {
    rate_ = sampleRate;
    channels_ = channels;
    setParameters(platform::DistortionParameters{});
    for (dsp::Ramp* r : ramps()) r->end();
    design();
  }
  void setParameters(const platform::EffectParameters& record) override {
    const auto& p = std::get<platform::DistortionParameters>(record);
    gain_.setTarget(dsp::fromDb(p.fGain));
    drive_.setTarget(1.0f + p.fEdge / 100.0f * 40.0f);
    cutoff_.setTarget(p.fPreLowpassCutoff);
    centre_.setTarget(p.fPostEQCenterFrequency);
    band_.setTarget(p.fPostEQBandwidth);
  }
  void process(float* s, int frames) override {
    bool refilter = cutoff_.moving() || centre_.moving() || band_.moving();
    for (dsp::Ramp* r : ramps()) r->begin(frames);
    for (int i = 0; i < frames; ++i) {
      float gain = gain_.next(), drive = drive_.next();
      cutoff_.next();
      centre_.next();
      band_.next();
      if (refilter && i % 16 == 0) design();
      for (int c = 0; c < channels_; ++c) {
        float x = pre_[c].process(s[i * channels_ + c]);
        float shaped = std::tanh(drive * x) / std::tanh(drive);
        s[i * channels_ + c] = post_[c].process(shaped) * gain;
      }
    }
    for (dsp::Ramp* r : ramps()) r->end();
    if (refilter) design();
  }
  void reset() override {
    for (int c = 0; c < 2; ++c) {
      pre_[c].clear();
      post_[c].clear();
    }
  }

 private:
  std::array<dsp::Ramp*, 5> ramps() { return {&gain_, &drive_, &cutoff_, &centre_, &band_}; }
  // Refreshes the filters' coefficients, keeping their state.
  void design() {
    for (int c = 0; c < 2; ++c) {
      pre_[c].lowPass(cutoff_.value(), 0.7071, rate_);
      double centre = centre_.value();
      post_[c].bandPass(centre, std::max(0.1, centre / std::max(1.0f, band_.value())), rate_);
    }
  }

  int rate_ = 44100, channels_ = 2;
  dsp::Ramp gain_, drive_, cutoff_, centre_, band_;
  dsp::Biquad pre_[2], post_[2];
};

}  // namespace

std::unique_ptr<Effect> makeDistortion() { return std::make_unique<Distortion>(); }

}  // namespace vx::audio
