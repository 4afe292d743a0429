#include "audio/realtime/realtime_thread.h"

#include <sched.h>

namespace vx::audio {

bool raiseCallbackThread() {
  sched_param param{};
  param.sched_priority = kCallbackRealTimePriority;
  return sched_setscheduler(0, SCHED_RR | SCHED_RESET_ON_FORK, &param) == 0;
}

}  // namespace vx::audio
