#include "audio/decode/reader.h"

#include <algorithm>

#include "audio/decode/track.h"

namespace vx::audio {

Reader::Reader() {
  sem_init(&nudges_, 0, 0);
  worker_ = std::thread([this] { run(); });
}

Reader::~Reader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  nudge();
  worker_.join();
  sem_destroy(&nudges_);
}

void Reader::add(Track* track) {
  track->attach(this);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tracks_.push_back(track);
    ++requests_;
  }
  nudge();
}

void Reader::remove(Track* track) {
  std::unique_lock<std::mutex> lock(mutex_);
  tracks_.erase(std::remove(tracks_.begin(), tracks_.end(), track), tracks_.end());
  changed_.wait(lock, [&] { return busy_ != track; });
}

void Reader::wake() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++requests_;
  }
  nudge();
}

void Reader::waitIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  uint64_t mine = ++requests_;
  nudge();
  changed_.wait(lock, [&] { return idleThrough_ >= mine || stopping_; });
}

void Reader::hold(bool held) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (held == held_) return;
  held_ = held;
  if (held) {
    changed_.wait(lock, [&] { return busy_ == nullptr; });
    return;
  }
  ++requests_;
  lock.unlock();
  nudge();
}

bool Reader::passOnce(std::unique_lock<std::mutex>& lock) {
  bool worked = false;
  for (size_t i = 0; i < tracks_.size() && !held_; ++i) {
    busy_ = tracks_[i];
    lock.unlock();
    bool did = busy_->service();
    lock.lock();
    busy_ = nullptr;
    changed_.notify_all();
    worked = worked || did;
  }
  return worked;
}

void Reader::run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    uint64_t answering = requests_;
    if (!held_) {
      // A pass cut short by a hold answers nothing: the requests wait for the release.
      if (passOnce(lock) || held_) continue;
      idleThrough_ = std::max(idleThrough_, answering);
      changed_.notify_all();
      if (stopping_ || requests_ != answering) continue;
    }
    // Nudges that came while the pass ran are still counted: the worker passes again for them.
    lock.unlock();
    while (sem_wait(&nudges_) != 0) {
    }
    // Every nudge up to here is answered by the one pass that follows.
    while (sem_trywait(&nudges_) == 0) {
    }
    lock.lock();
  }
}

}  // namespace vx::audio
