#pragma once
// The mixing graph of one output: its players, room for the sampler's eight voices, the master
// level, the master meter and the limiter. One mixer feeds the main output (the two decks and the
// sampler), another the monitor's device. Each may lay its sound out for cueing (CueLayout): the
// monitor's mixer blends in or splits against the master that the main mixer hands it through a
// CueFeed.
//
// Threads: post() is called on the UI thread only (the one producer of the command queue).
// render() runs on the engine thread only: the device callback, or whoever drives the virtual
// device. It never locks, allocates, logs or touches a file.
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "audio/dsp/level_meter.h"
#include "audio/engine/player_voice.h"
#include "audio/engine/stretch_worker.h"
#include "audio/engine/voice_command.h"
#include "audio/realtime/spsc_queue.h"

namespace vx::audio {

class CueFeed;
class MasterTap;

class Mixer {
 public:
  static constexpr int kSamplerVoices = 8;  // places for the sampler's voices (see sampler_device.h)

  // What the output plays (own = this mixer's sum after the limiter, feed = the master through
  // the CueFeed, both mono in the split layouts).
  enum CueLayout : int {
    Stereo = 0,         // own, blended toward the feed by the SetCue value (0 = own only)
    SplitWithFeed = 1,  // left own, right feed
    SplitLeft = 2,      // left own, right silent (the other half comes from the other mixer)
    SplitRight = 3,     // left silent, right own
  };

  // `quality`: the players' rate conversion (Preview for the headphone monitor).
  Mixer(int players, int outputRate, RateConverter::Quality quality = RateConverter::Quality::Full);
  // UI thread, only while nothing renders (the device is closed).
  void setOutputRate(int rate);
  int outputRate() const { return outputRate_; }

  // UI thread. While nothing renders on another thread (the virtual device, whose engine thread
  // is the UI thread itself, or an output that is closed) the command takes effect at once;
  // otherwise the engine takes it up at its next block.
  void post(const Command& command);
  // Not immediate, the players' key lock stretches on a worker thread ahead of render().
  void setImmediate(bool immediate);
  // UI thread: true while no device renders on another thread.
  bool immediate() const { return immediate_; }
  // UI thread: called when a command taken up at once (no device renders) makes the mixer sound,
  // so that the output it rests from opens again.
  void setOnSound(std::function<void()> onSound) { onSound_ = std::move(onSound); }
  // UI thread: after a command for the sampler or the recorder was taken up, opens the resting
  // output again when the mixer now has something to render.
  void wakeIfSounding();

  const PlayerVoice& voice(int i) const { return *voices_[static_cast<size_t>(i)]; }
  // UI thread, before anything renders: player `i` offers its stretched frames to `share`.
  void offerStretched(int i, StretchShare* share) { voices_[static_cast<size_t>(i)]->stretchLane().setShare(share); }
  int players() const { return static_cast<int>(voices_.size()); }

  // Engine thread: writes `frames` interleaved stereo frames.
  void render(float* out, int frames);
  void applyCommands();

  // How many render() calls have run; any thread (the device watchdog reads it).
  uint64_t blocksRendered() const { return blocks_.load(std::memory_order_relaxed); }
  // Engine thread (or the UI thread while nothing renders): whether the next block may be
  // anything but silence.
  bool sounding() const;
  // How many render() calls in a row have been silent and would stay so; any thread.
  // forgetSilence() starts the count again (UI thread, before a device opens).
  uint64_t silentBlocks() const { return silentBlocks_.load(std::memory_order_relaxed); }
  void forgetSilence() { silentBlocks_.store(0, std::memory_order_relaxed); }

  // UI thread: the recorder's tap that receives every finished block (null: none).
  void setTap(MasterTap* tap) { tap_.store(tap); }
  // UI thread: where this mixer hands its finished blocks for the headphones (null: nowhere), and
  // where it takes the master from for its cue layout (null: silence).
  void setFeedOut(CueFeed* feed) { feedOut_.store(feed); }
  void setFeedIn(CueFeed* feed) { feedIn_.store(feed); }
  // After the master level, before the limiter; read from any thread.
  const dsp::LevelMeter& masterMeter() const { return meter_; }

 private:
  void renderBlock(float* out, int frames);
  void layOut(float* out, int frames);
  bool laidOut() const { return layout_ != Stereo || newLayout_ != Stereo || blend_ != 0 || targetBlend_ != 0; }

  int outputRate_;
  std::vector<std::unique_ptr<PlayerVoice>> voices_;
  StretchWorker stretchWorker_;
  VoiceSource* sampler_[kSamplerVoices] = {};
  SpscQueue<Command, 4096> commands_;
  bool immediate_ = true;  // no device renders until one is opened
  float masterLeft_ = 1, masterRight_ = 1;
  float targetMasterLeft_ = 1, targetMasterRight_ = 1;
  dsp::LevelMeter meter_;
  int layout_ = Stereo, newLayout_ = Stereo;
  float blend_ = 0, targetBlend_ = 0;
  std::atomic<CueFeed*> feedOut_{nullptr};
  std::atomic<CueFeed*> feedIn_{nullptr};
  CueFeed* feedTaken_ = nullptr;  // the feed the engine read last block
  float feedBlock_[PlayerVoice::kMaxBlock * 2] = {};
  std::atomic<uint64_t> blocks_{0};
  std::atomic<MasterTap*> tap_{nullptr};
  std::atomic<uint64_t> silentBlocks_{0};
  std::function<void()> onSound_;
};

}  // namespace vx::audio
