#pragma once
#include <cstdint>
#include <string>

namespace vx::platform {

// Play states as the deck logic reads them; only Playing (2) counts as playing.
enum PlayState : int { Stopped = 0, Paused = 1, Playing = 2, Waiting = 3, Closed = 6 };

// Receives a player's events, always on the user-interface thread. A change the UI asked for
// (a seek, play, pause, stop, a new file) is reported inside that call, so the operation that
// caused it has the last word; a change the player makes by itself (the end of the song) is
// posted and delivered when the UI thread is idle (or, headless, after the driver's command or
// tick).
class MediaPlayerListener {
 public:
  virtual ~MediaPlayerListener() = default;
  virtual void endOfStream(int deck, long result) = 0;
  virtual void playStateChange(int deck, int oldState, int newState) = 0;
  virtual void positionChange(int deck, double oldPosition, double newPosition) = 0;
};

// One deck's player. Every function is called on the UI thread only. Positions and durations are
// seconds; volume and balance are hundredths of a decibel (volume 0 = full, -10000 = silence;
// balance -10000 left .. 10000 right). A getter answers from the UI side's view at once: a
// position set here is read back exactly by the next get.
class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // Opens the file ("" closes it). Afterwards openCheck() tells whether the open failed.
  virtual void setFileName(const std::string& path) = 0;
  virtual std::string fileName() const = 0;
  // True when the last open failed; False for every file that opened.
  virtual bool openCheck() const = 0;

  virtual double currentPosition() const = 0;
  // Seeks at once in any state; raises positionChange.
  virtual void setCurrentPosition(double seconds) = 0;
  virtual double duration() const = 0;  // 0 with no file

  virtual double rate() const = 0;
  virtual void setRate(double rate) = 0;  // clamped to 0.5 .. 2.0
  // Key lock: when on, the rate changes the tempo and keeps the key. Positions stay in the song's
  // own time either way; switching while playing neither jumps nor clicks.
  virtual bool keyLock() const = 0;
  virtual void setKeyLock(bool on) = 0;

  virtual int playState() const = 0;

  virtual long volume() const = 0;
  virtual void setVolume(long hundredthsDb) = 0;
  virtual long balance() const = 0;
  virtual void setBalance(long hundredthsDb) = 0;
  virtual bool mute() const = 0;
  virtual void setMute(bool mute) = 0;

  // -1 = none. Playing stops at the selection end when one is set.
  virtual double selectionStart() const = 0;
  virtual void setSelectionStart(double seconds) = 0;
  virtual double selectionEnd() const = 0;
  virtual void setSelectionEnd(double seconds) = 0;

  // play() starts or resumes from the current position and is accepted while already playing.
  virtual void play() = 0;
  virtual void pause() = 0;
  virtual void stop() = 0;

  virtual void setListener(MediaPlayerListener* listener) = 0;

  // Frames per second of the open song (0 with none): positions exact to the sample are whole
  // multiples of its inverse, and a jump to one lands on that very sample.
  virtual long sampleRate() const = 0;
  // Plays frames inFrame .. outFrame - 1 over and over, the wrap seamless; (-1, -1) or any
  // out <= in ends the loop, and the song plays on. The position reads the real place inside the
  // loop. A playing deck keeps playing; a new song starts without a loop.
  virtual void setLoop(int64_t inFrame, int64_t outFrame) = 0;
  virtual int64_t loopIn() const = 0;   // -1: no loop
  virtual int64_t loopOut() const = 0;  // -1: no loop
};

}  // namespace vx::platform
