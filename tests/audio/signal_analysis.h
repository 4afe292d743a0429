#pragma once
// Measurements on interleaved stereo float signals, over frames [from, to) of one channel.
#include <cmath>
#include <cstddef>
#include <vector>

namespace vx::audio::testing {

struct Span {
  const std::vector<float>& samples;
  int channel;
  size_t from;
  size_t to;
};

double rms(Span s);
// Amplitude of the sine at `hz` that best fits the span (least squares).
double toneAmplitude(Span s, double hz, int sampleRate);
// The median of toneAmplitude over successive tenths of a second: a dropout or a jump in phase
// (as a sound server may cause) spoils one window, not the measurement.
double typicalToneAmplitude(Span s, double hz, int sampleRate);
// Frequency from the rising zero crossings, interpolated between samples.
double frequency(Span s, int sampleRate);
// The median of frequency over successive tenths of a second.
double typicalFrequency(Span s, int sampleRate);
// Largest difference between neighbouring samples.
double largestStep(Span s);
// Largest absolute sample; infinity when a sample is not a number.
double peak(Span s);

inline double decibels(double ratio) { return 20.0 * std::log10(ratio); }

}  // namespace vx::audio::testing
