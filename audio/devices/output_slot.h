#pragma once
// Where one mixer's sound goes: the chosen sound card, or the clock when the card cannot be
// opened or goes away; the card is tried again from time to time until it is back.
// While the mixer stays silent the slot rests: the device is closed, so that no thread wakes
// while nothing plays, and the first command that makes the mixer sound opens it again.
//
// Threads: UI thread only.
#include <chrono>
#include <memory>
#include <string>

#include "audio/devices/output_device.h"

namespace vx::audio {

class Mixer;
class SdlAudio;

class OutputSlot {
 public:
  OutputSlot(Mixer& mixer, SdlAudio& sdl, int sampleRate, int bufferFrames);
  ~OutputSlot();

  // Plays into the output named `name` ("" = the system's default).
  void open(const std::string& name);
  // Nothing renders any more.
  void close();
  // Notices a lost card and falls back to the clock; tries the card again when it is due; rests
  // once the mixer has been silent for kRestSeconds.
  void watch();

  static constexpr double kRestSeconds = 1.0;
  // A device renders (it may be resting or closed otherwise).
  bool rendering() const { return device_ != nullptr; }
  bool onClock() const { return onClock_; }
  // Why the card is not used, for the user; "" while it is.
  const std::string& message() const { return message_; }

 private:
  bool tryCard(const std::string& listedName, std::string& error);
  void useClock();
  void rest();
  void wake();

  Mixer& mixer_;
  SdlAudio& sdl_;
  int sampleRate_;
  int bufferFrames_;
  std::string name_;
  std::string cardName_;  // the name the card was last opened by (a returned card may have a new one)
  std::unique_ptr<OutputDevice> device_;
  bool onClock_ = false;
  bool resting_ = false;
  std::string message_;
  std::chrono::steady_clock::time_point nextTry_{};
};

}  // namespace vx::audio
