#include "audio/realtime/realtime_thread.h"

#include <sched.h>

namespace vx::audio {

namespace {

bool raise(int priority) {
  sched_param param{};
  param.sched_priority = priority;
  return sched_setscheduler(0, SCHED_RR | SCHED_RESET_ON_FORK, &param) == 0;
}

}  // namespace

bool raiseCallbackThread() { return raise(kCallbackRealTimePriority); }

bool raiseStretchThread() { return raise(kStretchRealTimePriority); }

}  // namespace vx::audio
