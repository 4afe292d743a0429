// Gargle: the sound's amplitude rises and falls at the set rate, as a triangle or a square.
#include "audio/sampler/effects/dsp.h"
#include "audio/sampler/effects/effect.h"
#include "audio/sampler/effects/kinds.h"

namespace vx::audio {
namespace {

class Gargle : public Effect {
 public:
  void prepare(int sampleRate, int channels) override {
    rate_ = sampleRate;
    channels_ = channels;
    setParameters(platform::GargleParameters{});
  }
  void setParameters(const platform::EffectParameters& record) override {
    const auto& p = std::get<platform::GargleParameters>(record);
    hz_ = static_cast<double>(p.lRateHz);
    square_ = p.lWaveShape == platform::kWaveSquare;
  }
  void process(float* s, int frames) override {
    for (int i = 0; i < frames; ++i) {
      double ph = lfo_.phase();
      // The phase changes continuously when the rate does, so a new rate never clicks.
      float gain = square_ ? (ph < 0.5 ? 1.0f : 0.0f) : static_cast<float>(ph < 0.5 ? 2 * ph : 2 - 2 * ph);
      for (int c = 0; c < channels_; ++c) s[i * channels_ + c] *= gain;
      lfo_.advance(hz_, rate_);
    }
  }
  void reset() override { lfo_.reset(); }

 private:
  int rate_ = 44100, channels_ = 2;
  dsp::Lfo lfo_;
  double hz_ = 20;
  bool square_ = false;
};

}  // namespace

std::unique_ptr<Effect> makeGargle() { return std::make_unique<Gargle>(); }

}  // namespace vx::audio
