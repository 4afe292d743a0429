#pragma once
// Real-time scheduling for the threads that run device callbacks.
//
// Threads: any thread, for itself.

namespace vx::audio {

// Low among real-time threads, so a sound server's own (PulseAudio 5, PipeWire 20 and up by
// default) come first; any real-time priority comes before every ordinary thread.
inline constexpr int kCallbackRealTimePriority = 3;

// The key lock worker runs just below the callbacks, so that it keeps ahead of them but never
// stands in their way.
inline constexpr int kStretchRealTimePriority = kCallbackRealTimePriority - 1;

// Moves the calling thread to round-robin real-time scheduling at kCallbackRealTimePriority
// (threads it starts do not inherit it). False, and nothing changed, where the system refuses:
// neither privileged nor granted an rtprio limit. One system call; no lock, no allocation.
bool raiseCallbackThread();
// The same at kStretchRealTimePriority.
bool raiseStretchThread();

}  // namespace vx::audio
