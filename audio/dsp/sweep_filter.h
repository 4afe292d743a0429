#pragma once
// The channel FILTER: one knob from a low-pass fully closed (-1) through off (0) to a high-pass
// fully closed (+1). A resonant two-pole state-variable filter (topology-preserving transform):
// its cutoff can move every few samples without zipper noise or instability, and one filter
// gives both the low-pass and the high-pass. Q = 1.2, a mild resonance (+2.4 dB peak) that is
// heard as the filter sweeps without howling at full trim.
//
// The cutoff moves exponentially with the knob, so every knob step is the same musical
// interval: the low-pass from 20 kHz down to 30 Hz, the high-pass from 20 Hz up to 15 kHz (never
// above 0.45 of the sample rate). The -3 dB point therefore moves monotonically with the knob.
// Within 5 % of the centre the filtered sound is faded against the dry sound, so that crossing
// the centre (low-pass at 20 kHz to high-pass at 20 Hz) is seamless. At the centre the filter is
// bypassed: samples pass bit-exact and nothing is computed.
//
// Threads: prepare() while the engine does not run this object; everything else on the engine
// thread only.
#include "audio/dsp/biquad.h"
#include "audio/dsp/linear_ramp.h"

namespace vx::audio::dsp {

class SweepFilter {
 public:
  static constexpr double kQ = 1.2;
  static constexpr double kRampSeconds = 0.05;  // the knob glides to a new setting in this time
  static constexpr double kDryZone = 0.05;      // |position| below this is faded against the dry sound

  void prepare(int sampleRate);
  // -1 (low-pass closed) .. 0 (off) .. 1 (high-pass closed).
  void setPosition(double position);
  void process(float* samples, int frames);  // interleaved stereo, in place
  bool ringing() const { return !bypassed_ && !quiet_; }
  bool bypassed() const { return bypassed_; }
  // The cutoff the knob position gives at `sampleRate`, in Hz.
  static double cutoff(double position, double sampleRate);

 private:
  void design(double position);

  int rate_ = 44100;
  LinearRamp position_;
  Pair ic1_ = {0, 0}, ic2_ = {0, 0};  // the two integrators' state, both channels
  double a1_ = 0, a2_ = 0, a3_ = 0;  // the filter's coefficients for the current cutoff
  bool bypassed_ = true;
  bool quiet_ = true;
};

}  // namespace vx::audio::dsp
