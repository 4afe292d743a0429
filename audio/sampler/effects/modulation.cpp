// Chorus and flanger: a delay swept by a slow oscillator, fed back and mixed with the dry sound.
// They differ in their delay range and sweep width; the right channel's sweep runs at the set
// phase against the left's.
#include <array>

#include "audio/sampler/effects/dsp.h"
#include "audio/sampler/effects/effect.h"
#include "audio/sampler/effects/kinds.h"

namespace vx::audio {
namespace {

template <class Record>
class Modulation : public Effect {
 public:
  // `maxDelayMs`: the longest base delay; `sweepMs`: how far a full depth sweeps beyond it.
  Modulation(float maxDelayMs, float sweepMs) : maxDelayMs_(maxDelayMs), sweepMs_(sweepMs) {}

  void prepare(int sampleRate, int channels) override {
    rate_ = sampleRate;
    channels_ = channels;
    int room = static_cast<int>((maxDelayMs_ + sweepMs_) * static_cast<float>(sampleRate) / 1000.0f) + 8;
    for (auto& line : lines_) line.size(room);
    setParameters(Record{});
    for (dsp::Ramp* r : ramps()) r->end();
  }
  void setParameters(const platform::EffectParameters& record) override {
    const auto& p = std::get<Record>(record);
    wet_.setTarget(p.fWetDryMix / 100.0f);
    feedback_.setTarget(p.fFeedback / 100.0f);
    float perMs = static_cast<float>(rate_) / 1000.0f;
    delay_.setTarget(p.fDelay * perMs);
    sweep_.setTarget(p.fDepth / 100.0f * sweepMs_ * perMs);
    hz_ = p.fFrequency;
    sine_ = p.lWaveform == platform::kWaveSine;
    phase_ = static_cast<double>(p.lPhase - 2) / 4.0;  // quarter turns from -180 to 180 degrees
  }
  void process(float* s, int frames) override {
    for (dsp::Ramp* r : ramps()) r->begin(frames);
    for (int i = 0; i < frames; ++i) {
      float wet = wet_.next(), fb = feedback_.next(), base = delay_.next(), sweep = sweep_.next();
      for (int c = 0; c < channels_; ++c) {
        float mod = 0.5f * (1.0f + lfo_.value(c == 0 ? 0.0 : phase_, sine_));
        float in = s[i * channels_ + c];
        // Pushed first, so that a delay of 0 hears the input itself.
        float delayed = lines_[c].read(static_cast<double>(base + sweep * mod));
        lines_[c].push(in + fb * delayed);
        s[i * channels_ + c] = in * (1 - wet) + delayed * wet;
      }
      lfo_.advance(hz_, rate_);
    }
    for (dsp::Ramp* r : ramps()) r->end();
  }
  void reset() override {
    for (auto& line : lines_) line.clear();
  }

 private:
  std::array<dsp::Ramp*, 4> ramps() { return {&wet_, &feedback_, &delay_, &sweep_}; }

  float maxDelayMs_, sweepMs_;
  int rate_ = 44100, channels_ = 2;
  dsp::DelayLine lines_[2];
  dsp::Ramp wet_, feedback_, delay_, sweep_;
  dsp::Lfo lfo_;
  double hz_ = 1, phase_ = 0;
  bool sine_ = true;
};

}  // namespace

std::unique_ptr<Effect> makeChorus() { return std::make_unique<Modulation<platform::ChorusParameters>>(20.0f, 10.0f); }
std::unique_ptr<Effect> makeFlanger() { return std::make_unique<Modulation<platform::FlangerParameters>>(4.0f, 4.0f); }

}  // namespace vx::audio
