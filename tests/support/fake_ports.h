#pragma once
// Test doubles for the platform ports. Each records the calls that change something as short
// texts ("play", "position=1.5", "open /x.mp3") so a test can compare the exact sequence the
// logic produced; readings are answered from public fields the test sets.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/ports.h"
#include "tests/support/call_log.h"

namespace vx::test {

// Shortest text that reads back as the same double: 1.5 -> "1.5", 1.0 -> "1", -1 -> "-1".
std::string numText(double v);

class FakeMediaPlayer : public platform::MediaPlayer, public CallLog {
 public:
  int deck = 0;  // the index the events carry
  // State the test reads or sets directly.
  std::string file;
  bool openFailed = false;
  double position = 0;
  double length = 0;
  double rateValue = 1;
  bool keyLocked = false;
  int state = platform::Stopped;
  long vol = 0;
  long bal = 0;
  bool muted = false;
  double selStart = -1;
  double selEnd = -1;
  long rateHz = 44100;
  int64_t loopFrom = -1, loopTo = -1;
  platform::MediaPlayerListener* listener = nullptr;

  // Paths whose open fails (the open check then reads True).
  std::set<std::string> failingPaths;
  // Length reported after opening a path; `defaultLength` for paths not listed.
  std::map<std::string, double> lengths;
  double defaultLength = 180;

  // Raise the player's events, as the real player does later on the UI thread.
  void raiseEndOfStream(long result = 0);
  void raisePlayStateChange(int oldState, int newState);
  void raisePositionChange(double oldPosition, double newPosition);

  void setFileName(const std::string& path) override;
  std::string fileName() const override { return file; }
  bool openCheck() const override { return openFailed; }
  double currentPosition() const override { return position; }
  void setCurrentPosition(double seconds) override;
  double duration() const override { return length; }
  double rate() const override { return rateValue; }
  void setRate(double rate) override;
  bool keyLock() const override { return keyLocked; }
  void setKeyLock(bool on) override;
  int playState() const override { return state; }
  long volume() const override { return vol; }
  void setVolume(long hundredthsDb) override;
  long balance() const override { return bal; }
  void setBalance(long hundredthsDb) override;
  bool mute() const override { return muted; }
  void setMute(bool mute) override;
  double selectionStart() const override { return selStart; }
  void setSelectionStart(double seconds) override;
  double selectionEnd() const override { return selEnd; }
  void setSelectionEnd(double seconds) override;
  // play() sounds only with a file that opened; pause and stop change the state always.
  void play() override;
  void pause() override;
  void stop() override;
  void setListener(platform::MediaPlayerListener* l) override { listener = l; }
  long sampleRate() const override { return file.empty() ? 0 : rateHz; }
  // Records "loop=IN,OUT"; (-1, -1) after an end.
  void setLoop(int64_t inFrame, int64_t outFrame) override;
  int64_t loopIn() const override { return loopFrom; }
  int64_t loopOut() const override { return loopTo; }
};

class FakeMonitorLibrary : public platform::MonitorLibrary, public CallLog {
 public:
  bool initResult = true;
  int openResult = 1;
  long sampleRate = 44100;                      // filled into the record by a successful open
  std::map<std::string, long> sampleRates;      // per path, overrides `sampleRate`
  std::set<std::string> failingPaths;           // opens of these return 0
  long state = 0;                               // what getState reports
  int getStateCount = 0;                        // getState is a reading: counted, not recorded
  bool pauseOnlyWhilePlaying = false;           // as the engine's monitor: pausing a stopped one keeps it stopped

  std::string file;
  long samples = 0;
  long pitchPercent = 100;
  long volLeft = 100, volRight = 100;
  int deviceId = 0;
  bool keyLocked = false;

  bool init() override;
  void free() override { record("free"); }
  void setFftWindow(int window) override { record("setFftWindow " + std::to_string(window)); }
  void setWaveOutDeviceId(int device) override;
  int open(const std::string& path, platform::MonitorInfo& info) override;
  void play() override { record("play"); state = 1; }
  void pause() override {
    record("pause");
    if (!pauseOnlyWhilePlaying || state == 1) state = 2;
  }
  void restart() override { record("restart"); state = 1; }
  void stop() override { record("stop"); state = 0; }
  int getState(long& s) override;
  void setPlaySamples(long sample) override;
  void seek(long seconds) override { record("seek " + std::to_string(seconds)); }
  void setPitch(long percent) override;
  void setVolume(long left, long right) override;
  void setKeyLock(bool on) override;
  bool keyLock() const override { return keyLocked; }

  std::string fileName() const override { return file; }
  long positionSamples() const override { return samples; }
  long pitch() const override { return pitchPercent; }
  long volumeLeft() const override { return volLeft; }
  int device() const override { return deviceId; }
};

// Records every setting ("eq 0 2 -260", "kill 1 0 on", "filter 0 -40", "monitordeck 1",
// "cuemix 50", "split on"); meters read what the test puts in `meters`.
class FakeDjMixer : public platform::DjMixer, public CallLog {
 public:
  platform::MeterReading meters[3];

  void setEq(int deck, int band, int tenthsDb) override;
  void setKill(int deck, int band, bool kill) override;
  void setFilter(int deck, int position) override;
  void setMonitorDeck(int deck) override;
  void setCueMix(int percent) override;
  void setSplitCue(bool on) override;
  platform::MeterReading meter(int channel) const override;
};

// One message box or file dialog as it was shown, with the answer it got.
struct ShownDialog {
  std::string kind;  // "msgbox", "open", "save", "color", "popup"
  std::string text;  // message text; the dialog title of a file dialog; the menu of a popup
  std::string title;
  platform::MsgButtons buttons = platform::MsgButtons::OK;
  platform::MsgIcon icon = platform::MsgIcon::None;
  std::string answer;  // "ok", "yes", "cancel", a path, a colour number, an entry name
  platform::FileDialogSpec file;  // for "open" and "save"
};

// Answers come from one queue per kind; an empty queue gives the answer that changes least:
// Cancel, else No, else OK for message boxes; a cancelled file, colour or popup dialog.
class FakeDialogs : public platform::Dialogs {
 public:
  std::deque<platform::MsgResult> messageAnswers;
  std::deque<std::optional<std::string>> openAnswers;
  std::deque<std::optional<std::string>> saveAnswers;
  std::deque<std::optional<uint32_t>> colorAnswers;
  std::deque<std::optional<std::string>> popupAnswers;
  std::vector<ShownDialog> shown;

  int count(const std::string& kind) const;
  // The message boxes' texts, in order.
  std::vector<std::string> messages() const;

  platform::MsgResult messageBox(const platform::MessageBoxSpec& spec) override;
  std::optional<std::string> openFile(const platform::FileDialogSpec& spec) override;
  std::optional<std::string> saveFile(const platform::FileDialogSpec& spec) override;
  std::optional<uint32_t> chooseColor(uint32_t initial) override;
  std::optional<std::string> popupMenu(const std::string& menuName, const std::vector<std::string>& entries) override;
};

class FakeShell : public platform::Shell {
 public:
  bool singleInstance = true;
  int acquireCount = 0;
  std::string mediaFolder = "/music";
  // Folder -> the files directly inside it (full paths). Every key counts as an existing folder.
  std::map<std::string, std::vector<std::string>> folders;
  bool startResult = true;
  std::vector<std::string> started;

  bool acquireSingleInstance() override { ++acquireCount; return singleInstance; }
  std::string defaultMediaFolder() override { return mediaFolder; }
  bool folderExists(const std::string& path) override { return folders.count(path) > 0; }
  std::vector<std::string> listFiles(const std::string& folder) override;
  bool isFolder(const std::string& path) override { return folders.count(path) > 0; }
  bool startProcess(const std::string& program) override;
};

class FakeWaveOut : public platform::WaveOut, public CallLog {
 public:
  uint32_t level = 0xFFFFFFFFu;
  std::vector<std::string> devices{"Default output", "Headphones"};
  uint32_t getVolume() const override { return level; }
  void setVolume(uint32_t value) override;
  std::vector<std::string> deviceNames() const override { return devices; }
};

// Records every command string; a command listed in `failures` returns its code.
class FakeRecordingDevice : public platform::RecordingDevice, public CallLog {
 public:
  std::map<std::string, long> failures;
  std::map<long, std::string> errorTexts;
  long sendCommand(const std::string& command, std::string& result) override;
  std::string errorText(long code) const override;
};

}  // namespace vx::test

#include "tests/support/fake_sound.h"
