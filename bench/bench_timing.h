#pragma once
// Timing shared by the benchmarks: the median of several runs with warm caches, and one line
// setting a figure against the plain operation measured in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace vx::bench {

// `reset`, when given, runs before each run and is not timed.
inline double medianSeconds(int runs, const std::function<void()>& run, const std::function<void()>& reset = {}) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    if (reset) reset();
    const auto start = std::chrono::steady_clock::now();
    run();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[static_cast<size_t>(runs / 2)];
}

// CPU time this process has used so far, every thread counted.
inline double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline void report(const char* what, double seconds, const char* against, double plain) {
  std::printf("%-34s %9.2f ms   %-30s %9.2f ms   ratio %.2f\n", what, seconds * 1e3, against, plain * 1e3,
              seconds / plain);
}

}  // namespace vx::bench
