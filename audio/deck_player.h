#pragma once
// One deck's player as the deck logic sees it (the MediaPlayer port).
#include <string>

#include "audio/player_events.h"
#include "platform/media_player.h"

namespace vx::audio {

class DeckPlayer : public platform::MediaPlayer {
 public:
  DeckPlayer(int deck, int outputRate);

  // Port functions: UI thread only.
  void setFileName(const std::string& path) override;
  std::string fileName() const override { return fileName_; }
  bool openCheck() const override { return openFailed_; }
  double currentPosition() const override;
  void setCurrentPosition(double seconds) override;
  double duration() const override { return duration_; }
  double rate() const override { return rate_; }
  void setRate(double rate) override;
  int playState() const override { return state_; }
  long volume() const override { return volume_; }
  void setVolume(long hundredthsDb) override { volume_ = hundredthsDb; }
  long balance() const override { return balance_; }
  void setBalance(long hundredthsDb) override { balance_ = hundredthsDb; }
  bool mute() const override { return mute_; }
  void setMute(bool mute) override { mute_ = mute; }
  double selectionStart() const override { return selectionStart_; }
  void setSelectionStart(double seconds) override { selectionStart_ = seconds; }
  double selectionEnd() const override { return selectionEnd_; }
  void setSelectionEnd(double seconds) override { selectionEnd_ = seconds; }
  void play() override;
  void pause() override;
  void stop() override;
  void setListener(platform::MediaPlayerListener* listener) override { events_.setListener(listener); }

  // UI thread: advances the clock by `frames` output frames while playing (virtual device).
  void advance(int frames);
  void deliverEvents() { events_.deliver(); }

 private:
  void changeState(int state);
  void moveTo(double seconds);
  double endSeconds() const;

  int outputRate_;
  PlayerEvents events_;
  std::string fileName_;
  bool openFailed_ = false;
  double duration_ = 0;
  // The position is the last seek target plus the source frames played since, so that a position
  // set by the UI reads back exactly and whole blocks at rate 1 add up without rounding.
  double anchorSeconds_ = 0;
  double playedFrames_ = 0;
  double rate_ = 1.0;
  int state_ = platform::Stopped;
  long volume_ = 0;
  long balance_ = 0;
  bool mute_ = false;
  double selectionStart_ = -1;
  double selectionEnd_ = -1;
};

}  // namespace vx::audio
