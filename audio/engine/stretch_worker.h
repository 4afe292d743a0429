#pragma once
// The thread that stretches ahead of one mixer's callback for its voices' key lock lanes. It
// sleeps until a lane's callback side has fewer than StretchLane::kWakeBelow frames ready (or
// restarted), so that it stretches several blocks per wake-up, and nothing runs while no voice
// stretches.
//
// Threads: add(), start() and stop() on the UI thread while nothing renders; wake() on the
// engine thread (never blocks or allocates).
#include <semaphore.h>

#include <atomic>
#include <thread>
#include <vector>

namespace vx::audio {

class StretchLane;

class StretchWorker {
 public:
  StretchWorker();
  ~StretchWorker();
  StretchWorker(const StretchWorker&) = delete;
  StretchWorker& operator=(const StretchWorker&) = delete;

  void add(StretchLane* lane) { lanes_.push_back(lane); }
  // The lanes stretch on the worker from now on; stop() hands them back to the engine thread.
  void start();
  void stop();
  bool running() const { return thread_.joinable(); }
  void wake() { sem_post(&wakes_); }

 private:
  void run();

  std::vector<StretchLane*> lanes_;
  sem_t wakes_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace vx::audio
