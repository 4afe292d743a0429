#pragma once
// While alive, the calling thread's floating point unit treats subnormal numbers as zero (x86:
// flush-to-zero and denormals-are-zero); the previous mode comes back at the end of the scope, so
// code outside the DSP sees no change. Elsewhere it does nothing: the filters also flush their
// own decayed state (Biquad::flushTiny). Engine thread; costs two register moves.
#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace vx::audio::dsp {

class DenormalGuard {
 public:
#if defined(__SSE__) || defined(__x86_64__)
  DenormalGuard() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | 0x8040u); }
  ~DenormalGuard() { _mm_setcsr(saved_); }

 private:
  unsigned saved_;
#endif
 public:
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;
};

}  // namespace vx::audio::dsp
