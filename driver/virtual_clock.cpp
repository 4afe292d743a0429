#include "driver/virtual_clock.h"

namespace vx::driver {

int VirtualClock::advance(int ms) {
  ms_ += ms;
  long long owed = ms_ * sampleRate_ / 1000;
  int frames = static_cast<int>(owed - frames_);
  frames_ = owed;
  return frames;
}

bool TimerSchedule::running(const form::Timer& t) { return t.enabled() && t.interval > 0 && t.tick; }

std::vector<form::Timer*> TimerSchedule::timers(const std::vector<form::Form*>& forms) {
  std::vector<form::Timer*> out;
  for (form::Form* f : forms)
    for (form::Control* c : f->controls())
      if (auto* t = dynamic_cast<form::Timer*>(c)) out.push_back(t);
  return out;
}

TimerSchedule::Entry& TimerSchedule::observe(const form::Timer& t, long long nowMs) {
  Entry& e = entries_[&t];
  bool now = running(t);
  if (now && (!e.running || e.interval != t.interval)) {
    e.due = nowMs + t.interval;
    e.interval = t.interval;
  }
  e.running = now;
  return e;
}

void TimerSchedule::note(const std::vector<form::Form*>& forms, long long nowMs) {
  for (form::Timer* t : timers(forms)) observe(*t, nowMs);
}

void TimerSchedule::run(const std::vector<form::Form*>& forms, long long nowMs, const form::Timer* skip) {
  for (form::Timer* t : timers(forms)) {
    if (t == skip) continue;
    Entry& e = observe(*t, nowMs);
    while (e.running && e.due <= nowMs) {
      e.due += e.interval;
      t->tick();
      e.running = running(*t);
    }
  }
}

}  // namespace vx::driver
