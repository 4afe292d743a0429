#include "tests/audio/signal_analysis.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vx::audio::testing {
namespace {

float at(const Span& s, size_t frame) { return s.samples[2 * frame + static_cast<size_t>(s.channel)]; }

}  // namespace

double rms(Span s) {
  double sum = 0;
  for (size_t i = s.from; i < s.to; ++i) sum += static_cast<double>(at(s, i)) * at(s, i);
  return s.to > s.from ? std::sqrt(sum / static_cast<double>(s.to - s.from)) : 0;
}

double toneAmplitude(Span s, double hz, int sampleRate) {
  double ss = 0, cc = 0, sc = 0, ys = 0, yc = 0;
  for (size_t i = s.from; i < s.to; ++i) {
    double ph = 2 * M_PI * hz * static_cast<double>(i) / sampleRate;
    double sn = std::sin(ph), cs = std::cos(ph);
    ss += sn * sn;
    cc += cs * cs;
    sc += sn * cs;
    ys += at(s, i) * sn;
    yc += at(s, i) * cs;
  }
  double det = ss * cc - sc * sc;
  if (det <= 0) return 0;
  double a = (ys * cc - yc * sc) / det, b = (yc * ss - ys * sc) / det;
  return std::hypot(a, b);
}

namespace {

// The median of `measure` over successive tenths of a second of the span.
template <typename Measure>
double medianOverWindows(Span s, int sampleRate, Measure measure) {
  std::vector<double> windows;
  size_t window = static_cast<size_t>(sampleRate / 10);
  for (size_t at = s.from; at + window <= s.to; at += window) windows.push_back(measure(Span{s.samples, s.channel, at, at + window}));
  if (windows.empty()) return 0;
  std::nth_element(windows.begin(), windows.begin() + static_cast<long>(windows.size() / 2), windows.end());
  return windows[windows.size() / 2];
}

}  // namespace

double typicalToneAmplitude(Span s, double hz, int sampleRate) {
  return medianOverWindows(s, sampleRate, [&](Span w) { return toneAmplitude(w, hz, sampleRate); });
}

double typicalFrequency(Span s, int sampleRate) {
  return medianOverWindows(s, sampleRate, [&](Span w) { return frequency(w, sampleRate); });
}

double frequency(Span s, int sampleRate) {
  double first = -1, last = -1;
  int crossings = 0;
  for (size_t i = s.from + 1; i < s.to; ++i) {
    float a = at(s, i - 1), b = at(s, i);
    if (a < 0 && b >= 0) {
      double t = static_cast<double>(i - 1) + a / (a - b);
      if (first < 0) first = t;
      last = t;
      ++crossings;
    }
  }
  if (crossings < 2) return 0;
  return (crossings - 1) * sampleRate / (last - first);
}

double largestStep(Span s) {
  double worst = 0;
  for (size_t i = s.from + 1; i < s.to; ++i) worst = std::max(worst, static_cast<double>(std::fabs(at(s, i) - at(s, i - 1))));
  return worst;
}

double peak(Span s) {
  double worst = 0;
  for (size_t i = s.from; i < s.to; ++i) {
    if (!std::isfinite(at(s, i))) return std::numeric_limits<double>::infinity();
    worst = std::max(worst, static_cast<double>(std::fabs(at(s, i))));
  }
  return worst;
}

}  // namespace vx::audio::testing
