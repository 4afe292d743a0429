#include "audio/reader.h"

#include <algorithm>
#include <chrono>

#include "audio/track.h"

namespace vx::audio {
namespace {
// While every cache is full the worker still looks again this often, since the engine consumes
// without telling it (the audio callback may not signal a condition variable).
constexpr auto kPollInterval = std::chrono::milliseconds(4);
}  // namespace

Reader::Reader() : worker_([this] { run(); }) {}

Reader::~Reader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wakeUp_.notify_all();
  worker_.join();
}

void Reader::add(Track* track) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tracks_.push_back(track);
    ++requests_;
  }
  wakeUp_.notify_all();
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
  wakeUp_.notify_all();
}

void Reader::waitIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  uint64_t mine = ++requests_;
  wakeUp_.notify_all();
  changed_.wait(lock, [&] { return idleThrough_ >= mine || stopping_; });
}

bool Reader::passOnce(std::unique_lock<std::mutex>& lock) {
  bool worked = false;
  for (size_t i = 0; i < tracks_.size(); ++i) {
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
    if (passOnce(lock)) continue;
    idleThrough_ = std::max(idleThrough_, answering);
    changed_.notify_all();
    wakeUp_.wait_for(lock, kPollInterval, [&] { return stopping_ || requests_ != answering; });
  }
}

}  // namespace vx::audio
