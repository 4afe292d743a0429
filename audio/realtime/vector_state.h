#pragma once
// A thread that sleeps between short bursts of work (a device callback, the key lock worker) can
// come back from the scheduler with the upper halves of its vector registers marked in use: the
// kernel restores the wide register state it saved, and on processors with AVX every plain SSE
// instruction then pays for the mixed state until something clears it. Rubber Band's stretching,
// SSE code calling glibc's AVX maths, took 4.7 times its own per-frame cost on the key lock worker
// for this alone. Clearing the upper halves once per wake-up costs one instruction.
//
// Threads: any thread, for itself; no lock, no allocation, no system call.

namespace vx::audio {

#if defined(__x86_64__)
inline const bool kProcessorHasAvx = [] {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx") != 0;
}();

inline void clearUpperVectorState() {
  if (kProcessorHasAvx) __asm__ volatile("vzeroupper");
}
#else
inline void clearUpperVectorState() {}
#endif

}  // namespace vx::audio
