#pragma once
// The tempo analysis port: one worker thread at the lowest scheduling priority decodes a song
// and finds its tempo, beat grid, overview and loudness, so that neither the window nor the
// playing decks wait for it.
//
// Threads: every public function is called on the UI thread. The worker is started by the
// first request and sleeps while there is nothing to do.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/analysis/tempo_estimate.h"
#include "platform/tempo_analysis.h"

namespace vx::audio {

class TempoAnalyser : public platform::TempoAnalysis {
 public:
  // `lowPriority`: the worker runs at the lowest nice level, so that it only takes what the
  // rest of the machine leaves.
  explicit TempoAnalyser(bool lowPriority = true) : lowPriority_(lowPriority) {}
  ~TempoAnalyser() override;  // stops the analysis under way and joins the worker
  TempoAnalyser(const TempoAnalyser&) = delete;
  TempoAnalyser& operator=(const TempoAnalyser&) = delete;

  void analyse(int deck, const std::string& path) override;
  void deliver(const std::function<void(const platform::TempoResult&)>& take) override;

  // Waits until every request so far has a result waiting for deliver(). For tests, the
  // headless driver and benchmarks.
  void waitIdle();

 private:
  void run();
  std::optional<platform::TempoResult> nextJob();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::optional<std::string> pending_[2];  // the next song per deck, newest wins
  int busyDeck_ = -1;                      // the deck whose song the worker analyses now
  std::atomic<bool> cancel_[2]{};
  std::vector<platform::TempoResult> finished_;
  bool stopping_ = false;
  const bool lowPriority_;
  std::thread worker_;
};

// For the headless driver: every analysis asked for is finished before the next delivery, so
// that a script sees the same tempos at the same tick on every run.
// Its worker keeps the normal priority: the driver waits for it anyway.
class SettledTempoAnalyser : public TempoAnalyser {
 public:
  SettledTempoAnalyser() : TempoAnalyser(false) {}
  void deliver(const std::function<void(const platform::TempoResult&)>& take) override {
    waitIdle();
    TempoAnalyser::deliver(take);
  }
};

// The tempo of one file (bpm 0 = none) and its length: a MIDI file's tempo is not looked for.
// Any thread; reads the file itself.
TempoEstimate analyseTempoFile(const std::string& path, const std::atomic<bool>* cancel);

}  // namespace vx::audio
