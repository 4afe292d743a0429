#pragma once
// Time in the headless run moves only when the script says `tick`.
#include <map>
#include <vector>

#include "form/form.h"

namespace vx::driver {

// Milliseconds since start-up and the audio frames that belong to them. The frames handed out
// always add up to floor(ms * sampleRate / 1000), so no rounding builds up over a long run.
class VirtualClock {
 public:
  explicit VirtualClock(int sampleRate) : sampleRate_(sampleRate) {}
  // Moves time on by `ms` and returns the frames to render for that step.
  int advance(int ms);
  long long nowMs() const { return ms_; }

 private:
  int sampleRate_;
  long long ms_ = 0;
  long long frames_ = 0;
};

// Fires the timers of the program's windows as virtual time passes. A timer keeps its phase:
// enabled at time t with interval i it fires at t+i, t+2i, ..., each on the first tick that
// reaches that time. A timer that is disabled, has no interval or no handler never fires;
// enabling it again starts a fresh interval.
class TimerSchedule {
 public:
  // Takes note of timers started, stopped or given a new interval at `nowMs`: call it after
  // start-up and after every command, so that their intervals count from then.
  void note(const std::vector<form::Form*>& forms, long long nowMs);
  // Fires every timer that is due at `nowMs`, except `skip` (the main timer, run on its own).
  void run(const std::vector<form::Form*>& forms, long long nowMs, const form::Timer* skip);

 private:
  struct Entry {
    long long due = 0;
    int interval = 0;
    bool running = false;
  };
  static bool running(const form::Timer& t);
  // The timer's entry, restarted when it was not running at the last look or its interval changed.
  Entry& observe(const form::Timer& t, long long nowMs);
  static std::vector<form::Timer*> timers(const std::vector<form::Form*>& forms);

  std::map<const form::Timer*, Entry> entries_;
};

}  // namespace vx::driver
