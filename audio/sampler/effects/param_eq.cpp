// Parametric equaliser: one peaking band; the centre frequency is raised or lowered by exactly
// the gain, the band's width is given in semitones.
#include <array>

#include "audio/sampler/effects/dsp.h"
#include "audio/sampler/effects/effect.h"
#include "audio/sampler/effects/kinds.h"

namespace vx::audio {
namespace {

class ParamEq : public Effect {
 public:
  void prepare(int sampleRate, int channels) override {
    rate_ = sampleRate;
    channels_ = channels;
    setParameters(platform::ParamEqParameters{});
    for (dsp::Ramp* r : ramps()) r->end();
    design();
  }
  void setParameters(const platform::EffectParameters& record) override {
    const auto& p = std::get<platform::ParamEqParameters>(record);
    centre_.setTarget(p.fCenter);
    band_.setTarget(p.fBandwidth);
    gain_.setTarget(p.fGain);
  }
  void process(float* s, int frames) override {
    bool moving = centre_.moving() || band_.moving() || gain_.moving();
    for (dsp::Ramp* r : ramps()) r->begin(frames);
    for (int i = 0; i < frames; ++i) {
      for (dsp::Ramp* r : ramps()) r->next();
      if (moving && i % 16 == 0) design();
      for (int c = 0; c < channels_; ++c) s[i * channels_ + c] = filters_[c].process(s[i * channels_ + c]);
    }
    for (dsp::Ramp* r : ramps()) r->end();
    if (moving) design();
  }
  void reset() override {
    for (auto& b : filters_) b.clear();
  }

 private:
  std::array<dsp::Ramp*, 3> ramps() { return {&centre_, &band_, &gain_}; }
  void design() {
    // The band may reach no higher than a third of the sample rate.
    double centre = std::min<double>(centre_.value(), rate_ / 3.0);
    for (auto& b : filters_) b.peaking(centre, band_.value() / 12.0, gain_.value(), rate_);
  }

  int rate_ = 44100, channels_ = 2;
  dsp::Ramp centre_, band_, gain_;
  dsp::Biquad filters_[2];
};

}  // namespace

std::unique_ptr<Effect> makeParamEq() { return std::make_unique<ParamEq>(); }

}  // namespace vx::audio
