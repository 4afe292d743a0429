#include "audio/analysis/tempo_analyser.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "audio/analysis/song_analysis.h"

namespace vx::audio {
namespace {

// The worker gives way to everything else, the audio threads above all: it runs in the idle
// class, on time no other thread wants. At the lowest nice level alone it still took slices
// from a busy machine and the playing deck's sound dropped out more often (measured).
void lowerPriority() {
  sched_param none{};
  pthread_setschedparam(pthread_self(), SCHED_IDLE, &none);
  setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 19);
}

}  // namespace

TempoEstimate analyseTempoFile(const std::string& path, const std::atomic<bool>* cancel) {
  auto found = analyseSongFile(path, cancel);
  found.tempo.cancelled = found.cancelled;
  return found.tempo;
}

TempoAnalyser::~TempoAnalyser() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    cancel_[0] = cancel_[1] = true;
  }
  wake_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void TempoAnalyser::analyse(int deck, const std::string& path) {
  if (deck < 0 || deck > 1) return;
  {
    std::lock_guard lock(mutex_);
    pending_[deck] = path;
    if (busyDeck_ == deck) cancel_[deck] = true;
    if (!worker_.joinable()) worker_ = std::thread([this] { run(); });
  }
  wake_.notify_all();
}

void TempoAnalyser::deliver(const std::function<void(const platform::TempoResult&)>& take) {
  std::vector<platform::TempoResult> ready;
  {
    std::lock_guard lock(mutex_);
    ready.swap(finished_);
  }
  for (const auto& r : ready) take(r);
}

void TempoAnalyser::waitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return busyDeck_ < 0 && !pending_[0] && !pending_[1]; });
}

std::optional<platform::TempoResult> TempoAnalyser::nextJob() {
  std::unique_lock lock(mutex_);
  busyDeck_ = -1;
  idle_.notify_all();
  wake_.wait(lock, [this] { return stopping_ || pending_[0] || pending_[1]; });
  if (stopping_) return std::nullopt;
  const int deck = pending_[0] ? 0 : 1;
  platform::TempoResult job{deck, std::move(*pending_[deck])};
  pending_[deck].reset();
  busyDeck_ = deck;
  cancel_[deck] = false;
  return job;
}

void TempoAnalyser::run() {
  if (lowPriority_) lowerPriority();
  while (auto job = nextJob()) {
    auto found = analyseSongFile(job->path, &cancel_[job->deck]);
    if (found.cancelled) continue;
    job->bpm = found.tempo.bpm;
    job->seconds = found.tempo.length;
    if (found.tempo.bpm > 0) {
      job->beatLength = 60 / found.tempo.bpm;
      job->firstBeat = found.tempo.firstBeat;
    }
    job->loudness = found.loudness;
    job->overview = std::move(found.overview);
    std::lock_guard lock(mutex_);
    finished_.push_back(std::move(*job));
  }
}

}  // namespace vx::audio
