#pragma once
// The UI thread's handle on one player voice: opens files into it, sends it commands, and keeps
// the UI side's view of it (what was asked last), so that every getter answers at once.
//
// Threads: UI thread only.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/decode/decoder.h"
#include "audio/decode/track.h"
#include "audio/engine/voice_command.h"

namespace vx::audio {

class Mixer;
class Reader;
class Track;

class VoiceControl {
 public:
  // Source frames before a loop's end within which the engine may have wrapped before it takes
  // up a change the UI sends now: a device block and the frames the rate converter and the
  // time stretcher read ahead of what sounds.
  static constexpr int64_t kWrapWindow = 8192;
  VoiceControl(Mixer& mixer, int voice, Reader& reader);
  ~VoiceControl();
  VoiceControl(const VoiceControl&) = delete;
  VoiceControl& operator=(const VoiceControl&) = delete;

  // Replaces the file (stopped, at its start). False, with the reason, when it cannot be played;
  // the voice is then empty.
  bool open(const std::string& path, std::string& error);
  void close();
  bool loaded() const { return current_ != nullptr; }
  // Numbers the voice's changes of file; the engine tags what it makes of the file with it.
  uint64_t trackSerial() const { return serial_; }
  // The open file's format; a zero format when none is open.
  const SourceFormat& format() const;

  // Jumps to a position in source frames (fractions allowed).
  void seek(double frame);
  // Where the voice plays, in source frames: the last jump plus what was played since.
  double position() const { return origin_ + played(); }
  // Source frames played since the last seek(): 0 until the engine has taken the seek up, and
  // exact sums of whole blocks after it.
  double played() const;
  void play();
  void pause();
  bool playing() const { return playing_; }
  void setRate(double rate);
  // Key lock: the rate changes the tempo only. Switching whether the stretcher is in the path
  // while playing restarts the voice where it plays, fading as a jump does.
  void setKeyLock(bool on);
  bool keyLock() const { return keyLock_; }
  void setGain(float left, float right);
  void setEndPosition(double frame);  // negative: play to the end of the file
  // Loops between two source frames from now on (`loop.on()` false: no loop). Playing, the
  // voice goes on without a break when the loop's end is still ahead (the reader decodes the
  // wrap in time); when the play head is already in the loop's crossfade or past its end, it
  // jumps to the loop's start plus the overshoot, as the wrap would have taken it. A jump
  // elsewhere keeps the loop; it applies whenever the play head reaches the loop's end from
  // before it. A change within kWrapWindow before the old loop's end takes effect after its
  // wrap, which the engine may already have taken. True when it jumped (the position is then
  // the new origin()).
  bool setLoop(LoopSpan loop);
  double origin() const { return origin_; }
  LoopSpan loop() const { return loop_; }

  // True once for each end the engine reached since the last call (the voice then no longer
  // plays). An end reached before a later jump or start does not count.
  bool takeEnd();
  // Deletes files the engine has let go of.
  void reclaim();

 private:
  Command command(int kind) const;  // addressed to this voice
  void send(int kind, double value = 0);
  void jump(double frame);  // tells reader and engine; `frame` = origin_ + carried_
  // A new generation whose stream the reader decodes from `frame` with the loop; the count of
  // frames played starts again from it. Returns the generation for the engine's command.
  uint32_t newStream(double frame);
  // `continuing` 0: the loop belongs to the jump just sent; 1: the voice goes on into the new
  // stream; 2: and that stream first wraps once as the old loop did.
  void sendLoop(int continuing);
  // Whether the engine's report for `generation` belongs to the current jump (a loop change
  // goes on from it without a jump of its own).
  bool sinceLastJump(uint32_t generation) const;
  bool stretches() const { return keyLock_ && rate_ != 1.0; }
  // Sends the key lock; with `restart`, the voice goes on from where it plays as a new generation.
  void sendKeyLock(bool restart);

  Mixer& mixer_;
  int voice_;
  Reader& reader_;
  std::unique_ptr<Track> current_;
  std::vector<std::unique_ptr<Track>> retired_;
  uint64_t serial_ = 0;
  uint32_t generation_ = 0;
  uint32_t jumpGeneration_ = 0;  // the generation of the last jump
  LoopSpan loop_;
  double origin_ = 0;   // the last seek() target
  double carried_ = 0;  // played before the voice was restarted at its own position
  bool playing_ = false;
  double rate_ = 1.0;
  bool keyLock_ = false;
  uint32_t endsSeen_ = 0;
};

}  // namespace vx::audio
