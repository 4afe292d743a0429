#pragma once
// The reader thread: decodes ahead of the play head of every open track, so that the engine
// never decodes or touches a file. It sleeps until there is work: a command from the UI (a new
// track, a seek) or a nudge from the engine when a playing voice's cache runs low.
//
// Threads: add(), remove(), wake(), waitIdle() and hold() are called on the UI thread; nudge()
// on any thread, the audio callback included; the worker runs on its own thread.
#include <semaphore.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace vx::audio {

class Track;

class Reader {
 public:
  Reader();
  ~Reader();
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  void add(Track* track);
  // On return the worker no longer touches the track, and the caller may delete it.
  void remove(Track* track);
  // Something changed (a seek, a new track): look at the tracks now.
  void wake();
  // Look at the tracks soon. Never locks or blocks: the audio callback calls it.
  void nudge() { sem_post(&nudges_); }
  // Blocks until the worker has passed over every track, having started after this call, and
  // found nothing to do: every cache is full enough or its file is read to the end. The virtual
  // device calls it before rendering, so that what it renders never depends on thread timing.
  void waitIdle();
  // While held, the worker services no track: what a device renders meanwhile is what it would
  // play before the reader has caught up. hold(true) returns once the worker has left the track
  // it was servicing; waitIdle() must not be called while held. For the virtual device's tests.
  void hold(bool held);

 private:
  void run();
  bool passOnce(std::unique_lock<std::mutex>& lock);

  std::mutex mutex_;
  std::condition_variable changed_;
  sem_t nudges_;               // the worker sleeps on it; every wake-up posts it
  std::vector<Track*> tracks_;
  Track* busy_ = nullptr;      // the track the worker services right now (outside the lock)
  uint64_t requests_ = 0;      // wake() calls so far
  uint64_t idleThrough_ = 0;   // requests answered by a pass that found nothing to do
  bool stopping_ = false;
  bool held_ = false;
  std::thread worker_;
};

}  // namespace vx::audio
