// Echo: each channel repeats after its own delay, fed back by the feedback percentage; with the
// pan delay on, every repeat crosses to the other side.
#include "audio/sampler/effects/dsp.h"
#include "audio/sampler/effects/effect.h"
#include "audio/sampler/effects/kinds.h"

namespace vx::audio {
namespace {

class Echo : public Effect {
 public:
  void prepare(int sampleRate, int channels) override {
    rate_ = sampleRate;
    channels_ = channels;
    for (auto& line : lines_) line.size(sampleRate * 2 + 8);
    setParameters(platform::EchoParameters{});
    for (dsp::Ramp* r : {&wet_, &feedback_, &delay_[0], &delay_[1]}) r->end();
  }
  void setParameters(const platform::EffectParameters& record) override {
    const auto& p = std::get<platform::EchoParameters>(record);
    wet_.setTarget(p.fWetDryMix / 100.0f);
    feedback_.setTarget(p.fFeedback / 100.0f);
    delay_[0].setTarget(p.fLeftDelay * static_cast<float>(rate_) / 1000.0f);
    delay_[1].setTarget(p.fRightDelay * static_cast<float>(rate_) / 1000.0f);
    cross_ = p.lPanDelay != 0 && channels_ == 2;
  }
  void process(float* s, int frames) override {
    for (dsp::Ramp* r : {&wet_, &feedback_, &delay_[0], &delay_[1]}) r->begin(frames);
    for (int i = 0; i < frames; ++i) {
      float wet = wet_.next(), fb = feedback_.next();
      float d[2] = {delay_[0].next(), delay_[1].next()};
      float in[2], echo[2];
      for (int c = 0; c < channels_; ++c) {
        in[c] = s[i * channels_ + c];
        // The line holds what was pushed up to the previous frame: a delay of d frames reads d-1.
        echo[c] = lines_[c].read(static_cast<double>(d[c]) - 1.0);
      }
      for (int c = 0; c < channels_; ++c) {
        float back = cross_ ? echo[1 - c] : echo[c];
        lines_[c].push(in[c] + fb * back);
        s[i * channels_ + c] = in[c] * (1 - wet) + echo[c] * wet;
      }
    }
    for (dsp::Ramp* r : {&wet_, &feedback_, &delay_[0], &delay_[1]}) r->end();
  }
  void reset() override {
    for (auto& line : lines_) line.clear();
  }

 private:
  int rate_ = 44100, channels_ = 2;
  dsp::DelayLine lines_[2];
  dsp::Ramp wet_, feedback_, delay_[2];
  bool cross_ = false;
};

}  // namespace

std::unique_ptr<Effect> makeEcho() { return std::make_unique<Echo>(); }

}  // namespace vx::audio
