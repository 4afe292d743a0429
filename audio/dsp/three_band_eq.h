#pragma once
// The channel equaliser: LOW, MID and HIGH, each a gain on one band of a three-way crossover.
//
// Why a crossover and not shelving/peaking filters: a DJ's kill must take a band out (below
// -60 dB in the band), which a shelf cannot do without turning into another filter; and a knob
// must never touch a filter coefficient, so that moving it or pressing a kill is a plain gain
// ramp and cannot click. The bands are Linkwitz-Riley 8th order (48 dB/octave) at 250 Hz and
// 3 kHz: 24 dB/octave would leave a killed LOW 32 dB down at 100 Hz; 48 dB/octave is the gentlest
// slope that keeps 100 Hz, 1 kHz and 10 kHz below -60 dB when their band is killed. The bands
// sum to an all-pass, so equal gains give a flat magnitude, and in the middle of each band the
// response is that band's gain (within 0.1 dB at 100 Hz, 1 kHz and 10 kHz).
//
// Structure, 12 sections a channel: lowPre = LP(250); rest = AP(250) - lowPre (the exact
// high-pass complement); high = HP(3k)(rest); out = AP(3k)(gL lowPre + gM rest) + (gH - gM) high.
//
// Flat (all gains 1) it is bypassed: samples pass bit-exact and nothing is computed. Leaving or
// reaching flat cross-fades between the bypass and the filters over kFadeSeconds.
//
// Threads: prepare() while the engine does not run this object; everything else on the engine
// thread only.
#include <array>

#include "audio/dsp/biquad.h"
#include "audio/dsp/linear_ramp.h"

namespace vx::audio::dsp {

class ThreeBandEq {
 public:
  enum Band { Low = 0, Mid = 1, High = 2 };
  static constexpr double kLowCrossover = 250;
  static constexpr double kHighCrossover = 3000;
  static constexpr double kRampSeconds = 0.01;  // a gain glides to a new setting in this time
  static constexpr double kFadeSeconds = 0.01;

  void prepare(int sampleRate);
  // Linear gain of one band (0 = killed); the sound glides there over kRampSeconds.
  void setGain(int band, double gain);
  // `frames` interleaved stereo frames, in place.
  void process(float* samples, int frames);
  // Whether the filters still hold sound of their own: the caller keeps feeding silence until
  // this turns false, so that a song's end is heard through the equaliser to its last ring.
  bool ringing() const { return !bypassed_ && !quiet_; }
  bool bypassed() const { return bypassed_; }

 private:
  struct Filters {
    std::array<Biquad, 4> lowPass;
    std::array<Biquad, 2> lowAllPass;
    std::array<Biquad, 4> highPass;
    std::array<Biquad, 2> highAllPass;
    Pair run(Pair x, double gl, double gm, double gh);
    void clear();
    void flushTiny();
  };
  bool flatTarget() const;
  void wake();

  Filters filters_;  // both channels at once
  LinearRamp gains_[3];
  LinearRamp wet_;
  bool bypassed_ = true;
  bool quiet_ = true;
  int fadeFrames_ = 441;
};

}  // namespace vx::audio::dsp
