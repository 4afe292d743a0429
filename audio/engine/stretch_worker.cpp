#include "audio/engine/stretch_worker.h"

#include "audio/engine/stretch_lane.h"
#include "audio/realtime/realtime_thread.h"
#include "audio/realtime/vector_state.h"

namespace vx::audio {

StretchWorker::StretchWorker() { sem_init(&wakes_, 0, 0); }

StretchWorker::~StretchWorker() {
  stop();
  sem_destroy(&wakes_);
}

void StretchWorker::start() {
  if (running()) return;
  stopping_ = false;
  for (StretchLane* lane : lanes_) lane->setWorker(this);
  thread_ = std::thread([this] { run(); });
}

void StretchWorker::stop() {
  if (!running()) return;
  stopping_ = true;
  wake();
  thread_.join();
  for (StretchLane* lane : lanes_) lane->setWorker(nullptr);
}

void StretchWorker::run() {
  raiseStretchThread();
  for (;;) {
    while (sem_wait(&wakes_) != 0) {
    }
    while (sem_trywait(&wakes_) == 0) {
    }
    if (stopping_) return;
    clearUpperVectorState();
    for (StretchLane* lane : lanes_) lane->work();
  }
}

}  // namespace vx::audio
