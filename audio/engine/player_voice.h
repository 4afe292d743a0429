#pragma once
// The engine's side of one player (a deck or the monitor): reads its track's cache, changes the
// rate, runs the channel's equaliser and filter, applies the gains (the channel fader), meters
// the result, and reports its position and its end through atomics. With key lock on and a rate
// other than 1, a time stretcher follows the rate converter (which then only changes the sample
// rate): the tempo follows the rate, the key stays. The stretching runs ahead on the mixer's
// worker (see stretch_lane.h); each stretched frame moves the position by the source frames it
// stands for, so positions stay in the song's own time. The headphone monitor's voice may take a
// deck's stretched frames instead of stretching the same song again (see stretch_share.h): it
// crossfades into them where they hold its place and leaves them, fading, where they stop
// joining up, going on with its own stretching.
//
// Threads: apply() and render() run on the engine thread only (the device callback, or the
// caller of the virtual device). The report getters may be read from any thread.
#include <atomic>
#include <cstdint>

#include "audio/dsp/level_meter.h"
#include "audio/dsp/sweep_filter.h"
#include "audio/dsp/three_band_eq.h"
#include "audio/decode/track.h"
#include "audio/engine/rate_converter.h"
#include "audio/engine/share_reader.h"
#include "audio/engine/stretch_lane.h"
#include "audio/engine/voice_command.h"

namespace vx::audio {

class Track;

class PlayerVoice {
 public:
  // Frames over which a start, a stop or a jump fades, so that none of them clicks.
  static constexpr int kDeclickFrames = 64;
  // Frames of the old place a jump while playing may hold before its fade-out, waiting for the
  // reader to decode the new place (a few milliseconds): the old place keeps sounding instead of
  // silence. When the new place is ready at once, as on the virtual device, nothing is held.
  static constexpr int kHoldFrames = 1024;
  static constexpr int kMaxBlock = 512;

  explicit PlayerVoice(int outputRate, RateConverter::Quality quality = RateConverter::Quality::Full);
  void setOutputRate(int rate);  // only while the engine is not running

  void apply(const Command& command);
  // Frees the ring from frames decoded for jumps that have been overtaken, so that the reader
  // finds room for the current one at once. Engine thread, after a batch of commands.
  void dropStale();
  // Adds up to `frames` (<= kMaxBlock) frames of this player to `mix`.
  void render(float* mix, int frames);
  // Whether the next render() may add anything: the voice plays, still fades out, or its
  // equaliser or filter still ring.
  bool sounding() const { return producing() || eq_.ringing() || filter_.ringing(); }
  // The key lock stage, for the mixer's worker (UI thread while nothing renders).
  StretchLane& stretchLane() { return lane_; }
  const StretchLane& stretchLane() const { return lane_; }
  // After the equaliser, the filter and the channel fader; read from any thread.
  const dsp::LevelMeter& meter() const { return meter_; }

  // Reports. How far the play head has moved since the last jump, for which jump (the
  // generation's low 16 bits, and the distance in 1/256 source frames); each end reached; and
  // the last track change applied.
  static uint32_t generationOf(uint64_t where) { return static_cast<uint32_t>(where >> 48); }
  // Negative after a loop's wrap took the play head back before the jump's target.
  static double framesOf(uint64_t where) {
    int64_t signedFrames = static_cast<int64_t>((where & kPositionMask) << 16) >> 16;
    return static_cast<double>(signedFrames) / 256.0;
  }
  uint64_t where() const { return where_.load(std::memory_order_acquire); }
  // High 32 bits: the generation that ended; low 32 bits: how many ends so far.
  uint64_t ends() const { return ends_.load(std::memory_order_acquire); }
  uint64_t appliedTrackSerial() const { return appliedSerial_.load(std::memory_order_acquire); }

 private:
  static constexpr uint64_t kPositionMask = (uint64_t{1} << 48) - 1;

  bool producing() const { return (playing_ && track_) || fadeOutLeft_ > 0; }
  void prepareChannel();
  // The song's frames for this block, before the channel's equaliser and fader, into `pre_`.
  void renderSource(int frames);

  // Takes the next `frames` (kDeclickFrames, or kHoldFrames for a jump) frames of the old place
  // for its fade-out.
  void fadeOut(int frames = kDeclickFrames);
  // Plays held frames of the old place at full level while the new place is not decoded yet;
  // returns the frames of the block it filled.
  int hold(int frames);
  // The new place can sound: decoded, and while stretching, stretched too.
  bool newPlaceReady();
  void jump(uint32_t generation, double position);
  // Goes on from the current place as `generation`, decoded from source frame `from`.
  void restartHere(uint32_t generation, double from);
  void moveOn(double outputFrames);
  void publish();
  void reportEnd();
  double step() const;
  // Source frames per converter output frame: step(), or without the rate while stretching.
  double converterStep() const;
  // Like produce(), through the stretcher while stretching, or from the share while taking it.
  int pull(float* out, int frames);
  int pullOwn(float* out, int frames);
  int pullShared(float* out, int frames);
  // The share may stand in for this voice's own stretching from here on.
  bool shareable() const;
  // Takes the share up where it holds the play head: the first frames crossfade from the voice's own.
  int enterShare(float* out, int frames);
  // Goes back to the voice's own stretching after the last `made` frames taken into `out`, which
  // fade out; they moved the play head by `moved` source frames, not yet counted.
  void leaveShare(float* out, int made, double moved);
  // Drops the cache's frames that `skipInput_` leaves out, while the share stands in for them.
  void skipAhead();
  // The file's end has been played out through every stage.
  bool finished() const {
    return shared_ ? share_.ended() : ended_ && (!stretching_ || lane_.drained());
  }
  // Hands the stretch lane the converted frames it wants now.
  void feedLane();
  // Fills `out` with up to `frames` converted frames; fewer when the cache runs dry or the
  // file ends (then `ended_` is set).
  int produce(float* out, int frames);
  const Chunk* currentChunk();
  // A loop change goes on with the frames decoded for it as soon as they are there: the chunks
  // before them are dropped and the voice skips to the frame it would read next.
  void takeUpContinuation();
  // Frames of chunk `c` (from the current offset) the voice may use: while a loop change waits
  // for its frames, the old ones serve only up to the first crossfade either loop would start.
  int usable(const Chunk& c) const;
  void applyLoop(const Command& c);
  // Takes `frames` of chunk `c`, keeping the next input frame's number.
  void advance(const Chunk& c, int frames);
  // Moves the play head back by the loop's length each time it passed the loop's end.
  void wrapPosition(double before);
  void releaseChunk();
  void renderPlaying(int frames, int offset);
  // Writes `frames` frames of `in` to `pre_` from frame `offset` of the block on, under an
  // envelope that starts at `envelope` and moves by `slope` per frame.
  void mixBlock(const float* in, int frames, int offset, float envelope, float slope);

  int outputRate_;
  Track* track_ = nullptr;
  RateConverter converter_;
  StretchLane lane_;
  double rate_ = 1.0;
  bool keyLock_ = false;
  bool stretching_ = false;    // the stretcher is in the path, chosen at each jump
  uint32_t generation_ = 0;
  double position_ = 0;        // source frames
  double played_ = 0;          // source frames since the last jump
  double endPosition_ = -1;    // selection end; negative: none
  LoopSpan loop_;              // as the stream of this generation is decoded
  LoopSpan wrapOnce_;          // an old loop whose wrap the sound still takes once, after a change
  bool continuing_ = false;    // a loop change's generation is awaited without a jump
  uint32_t continuation_ = 0;  // that generation
  int64_t oldLimit_ = -1;      // source frame the old stream serves up to meanwhile (-1: no limit)
  int64_t inputFrame_ = 0;     // source frame of the next input frame
  bool playing_ = false;
  bool inputDone_ = false;     // the last chunk of this generation has gone into the converter
  bool ended_ = false;         // and the converter has given out everything
  int chunkOffset_ = 0;        // frames of the front chunk already taken
  int64_t skipInput_ = 0;      // source frames still to leave out after a jump
  int fadeOutLeft_ = 0;        // frames of the fade-out still to play after a stop or a jump
  float tail_[kHoldFrames * 2] = {};  // the old place's frames for that fade-out
  int tailFrames_ = 0;
  bool holding_ = false;       // a jump's fade-out waits for the new place
  int tailPlayed_ = 0;
  int movedDuringFade_ = 0;    // output frames the new place has run while the old one faded
  int fadeInDone_ = kDeclickFrames;
  float gainLeft_ = 1, gainRight_ = 1;
  float targetLeft_ = 1, targetRight_ = 1;
  float scratch_[kMaxBlock * 2] = {};
  float stretchIn_[StretchLane::kBlockFrames * 2] = {};
  double pulledInput_ = 0;  // converted frames the last pull() stands for while stretching
  int dropOutput_ = 0;      // stretched frames of the new place the held old one stood in for
  float pre_[kMaxBlock * 2] = {};  // the block before the equaliser and the fader
  ShareReader share_;
  bool shared_ = false;         // the share stands in for the stretching
  float own_[kDeclickFrames * 2] = {};
  dsp::ThreeBandEq eq_;
  dsp::SweepFilter filter_;
  dsp::LevelMeter meter_;
  double eqGain_[3] = {1, 1, 1};  // the last settings, kept across a change of output rate
  double filterPosition_ = 0;
  float rampLeft_[kMaxBlock] = {};
  float rampRight_[kMaxBlock] = {};
  uint32_t endCount_ = 0;

  std::atomic<uint64_t> where_{0};
  std::atomic<uint64_t> ends_{0};
  std::atomic<uint64_t> appliedSerial_{0};
};

}  // namespace vx::audio
