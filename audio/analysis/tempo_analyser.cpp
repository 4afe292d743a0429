#include "audio/analysis/tempo_analyser.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>

#include "audio/analysis/mono_reader.h"
#include "audio/analysis/tempo_estimate.h"
#include "audio/decode/decoder.h"

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

bool isMidiFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[4] = {};
  in.read(head, sizeof head);
  return in && std::string_view(head, 4) == "MThd";
}

}  // namespace

TempoEstimate analyseTempoFile(const std::string& path, const std::atomic<bool>* cancel) {
  if (isMidiFile(path)) return {};
  if (auto mono = openMonoReader(path)) return estimateTempo(*mono, cancel);
  // Files FFmpeg does not take may still have a decoder of the player's.
  auto opened = openDecoder(path);
  return opened.decoder ? estimateTempo(*opened.decoder, cancel) : TempoEstimate{};
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
  platform::TempoResult job{deck, std::move(*pending_[deck]), 0};
  pending_[deck].reset();
  busyDeck_ = deck;
  cancel_[deck] = false;
  return job;
}

void TempoAnalyser::run() {
  if (lowPriority_) lowerPriority();
  while (auto job = nextJob()) {
    const auto found = analyseTempoFile(job->path, &cancel_[job->deck]);
    if (found.cancelled) continue;
    job->bpm = found.bpm;
    job->seconds = found.length;
    std::lock_guard lock(mutex_);
    finished_.push_back(std::move(*job));
  }
}

}  // namespace vx::audio
