#pragma once
// One deck's player as the deck logic sees it (the MediaPlayer port), playing through a voice of
// the main mixer.
//
// Threads: UI thread only (every port function and deliverEvents()).
#include <string>

#include "audio/engine/player_events.h"
#include "audio/engine/voice_control.h"
#include "platform/media_player.h"

namespace vx::audio {

class DeckPlayer : public platform::MediaPlayer {
 public:
  DeckPlayer(int deck, Mixer& mixer, Reader& reader);

  void setFileName(const std::string& path) override;
  std::string fileName() const override { return fileName_; }
  const std::string& file() const { return fileName_; }
  uint64_t trackSerial() const { return control_.trackSerial(); }
  bool openCheck() const override { return openFailed_; }
  double currentPosition() const override;
  void setCurrentPosition(double seconds) override;
  double duration() const override { return control_.format().durationSeconds; }
  double rate() const override { return rate_; }
  void setRate(double rate) override;
  bool keyLock() const override { return control_.keyLock(); }
  void setKeyLock(bool on) override { control_.setKeyLock(on); }
  int playState() const override { return state_; }
  long volume() const override { return volume_; }
  void setVolume(long hundredthsDb) override;
  long balance() const override { return balance_; }
  void setBalance(long hundredthsDb) override;
  bool mute() const override { return mute_; }
  void setMute(bool mute) override;
  double selectionStart() const override { return selectionStart_; }
  void setSelectionStart(double seconds) override { selectionStart_ = seconds; }
  double selectionEnd() const override { return selectionEnd_; }
  void setSelectionEnd(double seconds) override;
  void play() override;
  void pause() override;
  void stop() override;
  void setListener(platform::MediaPlayerListener* listener) override { events_.setListener(listener); }
  long sampleRate() const override { return control_.format().sampleRate; }
  void setLoop(int64_t inFrame, int64_t outFrame) override;
  int64_t loopIn() const override { return control_.loop().in; }
  int64_t loopOut() const override { return control_.loop().out; }

  // Why the last open failed ("" when it did not).
  const std::string& openError() const { return openError_; }
  // Takes up what the engine reported (the end of the song) and hands the waiting events to the
  // listener.
  void deliverEvents();

 private:
  void changeState(int state, PlayerEvents::Timing when = PlayerEvents::Timing::Now);
  void moveTo(double seconds);
  void sendGain();
  void sendEnd();

  PlayerEvents events_;
  VoiceControl control_;
  std::string fileName_;
  std::string openError_;
  bool openFailed_ = false;
  // The position is the last jump's target plus what was played since, counted in source frames:
  // a position set by the UI reads back exactly, and whole blocks add up without rounding.
  double anchorSeconds_ = 0;
  double rate_ = 1.0;
  int state_ = platform::Stopped;
  long volume_ = 0;
  long balance_ = 0;
  bool mute_ = false;
  double selectionStart_ = -1;
  double selectionEnd_ = -1;
};

}  // namespace vx::audio
