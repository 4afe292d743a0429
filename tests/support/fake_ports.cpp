#include "tests/support/fake_ports.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace vx::test {

std::string numText(double v) {
  std::array<char, 64> buf{};
  auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v);
  if (ec != std::errc()) return "?";
  return std::string(buf.data(), end);
}

bool CallLog::called(const std::string& call) const { return count(call) > 0; }

int CallLog::count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

// ---- FakeMediaPlayer

void FakeMediaPlayer::raiseEndOfStream(long result) {
  if (listener) listener->endOfStream(deck, result);
}

void FakeMediaPlayer::raisePlayStateChange(int oldState, int newState) {
  if (listener) listener->playStateChange(deck, oldState, newState);
}

void FakeMediaPlayer::raisePositionChange(double oldPosition, double newPosition) {
  if (listener) listener->positionChange(deck, oldPosition, newPosition);
}

void FakeMediaPlayer::setFileName(const std::string& path) {
  record("filename=" + path);
  file = path;
  openFailed = !path.empty() && failingPaths.count(path) > 0;
  position = 0;
  loopFrom = loopTo = -1;
  state = platform::Stopped;
  if (path.empty() || openFailed) {
    length = 0;
  } else {
    auto it = lengths.find(path);
    length = it == lengths.end() ? defaultLength : it->second;
  }
}

void FakeMediaPlayer::setCurrentPosition(double seconds) {
  record("position=" + numText(seconds));
  position = seconds;
}

void FakeMediaPlayer::setRate(double rate) {
  record("rate=" + numText(rate));
  rateValue = std::clamp(rate, 0.5, 2.0);
}

void FakeMediaPlayer::setKeyLock(bool on) {
  record(on ? "keylock on" : "keylock off");
  keyLocked = on;
}

void FakeMediaPlayer::setVolume(long hundredthsDb) {
  record("volume=" + std::to_string(hundredthsDb));
  vol = hundredthsDb;
}

void FakeMediaPlayer::setBalance(long hundredthsDb) {
  record("balance=" + std::to_string(hundredthsDb));
  bal = hundredthsDb;
}

void FakeMediaPlayer::setMute(bool mute) {
  record(std::string("mute=") + (mute ? "True" : "False"));
  muted = mute;
}

void FakeMediaPlayer::setSelectionStart(double seconds) {
  record("selstart=" + numText(seconds));
  selStart = seconds;
}

void FakeMediaPlayer::setSelectionEnd(double seconds) {
  record("selend=" + numText(seconds));
  selEnd = seconds;
}

void FakeMediaPlayer::setLoop(int64_t inFrame, int64_t outFrame) {
  bool on = inFrame >= 0 && outFrame > inFrame;
  loopFrom = on ? inFrame : -1;
  loopTo = on ? outFrame : -1;
  record("loop=" + std::to_string(loopFrom) + "," + std::to_string(loopTo));
}

void FakeMediaPlayer::play() {
  record("play");
  if (!file.empty() && !openFailed) state = platform::Playing;
}

void FakeMediaPlayer::pause() {
  record("pause");
  if (state == platform::Playing) state = platform::Paused;
}

void FakeMediaPlayer::stop() {
  record("stop");
  state = platform::Stopped;
}

// ---- FakeMonitorLibrary

bool FakeMonitorLibrary::init() {
  record("init");
  return initResult;
}

void FakeMonitorLibrary::setWaveOutDeviceId(int device) {
  record("setWaveOutDeviceId " + std::to_string(device));
  deviceId = device;
}

int FakeMonitorLibrary::open(const std::string& path, platform::MonitorInfo& info) {
  record("open " + path);
  if (openResult == 0 || failingPaths.count(path)) return 0;
  file = path;
  samples = 0;
  state = 0;
  auto it = sampleRates.find(path);
  info.sampleRate = it == sampleRates.end() ? sampleRate : it->second;
  info.channels = 2;
  return openResult;
}

int FakeMonitorLibrary::getState(long& s) {
  ++getStateCount;
  s = state;
  return static_cast<int>(state);
}

void FakeMonitorLibrary::setPlaySamples(long sample) {
  record("setPlaySamples " + std::to_string(sample));
  samples = sample;
}

void FakeMonitorLibrary::setPitch(long percent) {
  record("setPitch " + std::to_string(percent));
  pitchPercent = percent;
}

void FakeMonitorLibrary::setKeyLock(bool on) {
  record(on ? "setKeyLock on" : "setKeyLock off");
  keyLocked = on;
}

void FakeDjMixer::setEq(int deck, int band, int tenthsDb) {
  record("eq " + std::to_string(deck) + " " + std::to_string(band) + " " + std::to_string(tenthsDb));
}
void FakeDjMixer::setKill(int deck, int band, bool kill) {
  record("kill " + std::to_string(deck) + " " + std::to_string(band) + (kill ? " on" : " off"));
}
void FakeDjMixer::setFilter(int deck, int position) {
  record("filter " + std::to_string(deck) + " " + std::to_string(position));
}
void FakeDjMixer::setMonitorDeck(int deck) { record("monitordeck " + std::to_string(deck)); }
void FakeDjMixer::setCueMix(int percent) { record("cuemix " + std::to_string(percent)); }
void FakeDjMixer::setSplitCue(bool on) { record(on ? "split on" : "split off"); }
platform::MeterReading FakeDjMixer::meter(int channel) const {
  return channel >= 0 && channel <= kMasterMeter ? meters[channel] : platform::MeterReading{};
}

void FakeMonitorLibrary::setVolume(long left, long right) {
  record("setVolume " + std::to_string(left) + " " + std::to_string(right));
  volLeft = left;
  volRight = right;
}

// ---- FakeDialogs

namespace {

bool offers(platform::MsgButtons b, platform::MsgResult r) {
  using B = platform::MsgButtons;
  using R = platform::MsgResult;
  switch (r) {
    case R::Cancel: return b == B::OKCancel || b == B::YesNoCancel || b == B::RetryCancel;
    case R::No: return b == B::YesNoCancel || b == B::YesNo;
    default: return false;
  }
}

platform::MsgResult leastChange(platform::MsgButtons b) {
  if (offers(b, platform::MsgResult::Cancel)) return platform::MsgResult::Cancel;
  if (offers(b, platform::MsgResult::No)) return platform::MsgResult::No;
  return platform::MsgResult::OK;
}

template <class T>
std::optional<T> takeAnswer(std::deque<std::optional<T>>& queue) {
  if (queue.empty()) return std::nullopt;
  auto a = queue.front();
  queue.pop_front();
  return a;
}

std::string answerText(const std::optional<std::string>& a) { return a ? *a : "cancel"; }

}  // namespace

int FakeDialogs::count(const std::string& kind) const {
  return static_cast<int>(std::count_if(shown.begin(), shown.end(), [&](const ShownDialog& d) { return d.kind == kind; }));
}

std::vector<std::string> FakeDialogs::messages() const {
  std::vector<std::string> out;
  for (const auto& d : shown)
    if (d.kind == "msgbox") out.push_back(d.text);
  return out;
}

platform::MsgResult FakeDialogs::messageBox(const platform::MessageBoxSpec& spec) {
  platform::MsgResult answer = leastChange(spec.buttons);
  if (!messageAnswers.empty()) {
    answer = messageAnswers.front();
    messageAnswers.pop_front();
  }
  shown.push_back({"msgbox", spec.text, spec.title, spec.buttons, spec.icon, platform::resultName(answer), {}});
  return answer;
}

std::optional<std::string> FakeDialogs::openFile(const platform::FileDialogSpec& spec) {
  auto answer = takeAnswer(openAnswers);
  shown.push_back({"open", spec.title, spec.title, platform::MsgButtons::OK, platform::MsgIcon::None, answerText(answer), spec});
  return answer;
}

std::optional<std::string> FakeDialogs::saveFile(const platform::FileDialogSpec& spec) {
  auto answer = takeAnswer(saveAnswers);
  shown.push_back({"save", spec.title, spec.title, platform::MsgButtons::OK, platform::MsgIcon::None, answerText(answer), spec});
  return answer;
}

std::optional<uint32_t> FakeDialogs::chooseColor(uint32_t initial) {
  auto answer = takeAnswer(colorAnswers);
  shown.push_back({"color", std::to_string(initial), "", platform::MsgButtons::OK, platform::MsgIcon::None,
                   answer ? std::to_string(*answer) : "cancel", {}});
  return answer;
}

std::optional<std::string> FakeDialogs::popupMenu(const std::string& menuName, const std::vector<std::string>& entries) {
  auto answer = takeAnswer(popupAnswers);
  shown.push_back({"popup", menuName, "", platform::MsgButtons::OK, platform::MsgIcon::None, answer ? *answer : "none", {}});
  return answer;
}

// ---- FakeShell, FakeWaveOut, FakeSoundDevice, FakeRecordingDevice

std::vector<std::string> FakeShell::listFiles(const std::string& folder) {
  auto it = folders.find(folder);
  return it == folders.end() ? std::vector<std::string>{} : it->second;
}

bool FakeShell::startProcess(const std::string& program) {
  started.push_back(program);
  return startResult;
}

void FakeWaveOut::setVolume(uint32_t value) {
  record("setVolume " + std::to_string(value));
  level = value;
}

long FakeRecordingDevice::sendCommand(const std::string& command, std::string& result) {
  record(command);
  result.clear();
  auto it = failures.find(command);
  if (it == failures.end()) it = failures.find(command.substr(0, command.find(' ')));
  return it == failures.end() ? 0 : it->second;
}

std::string FakeRecordingDevice::errorText(long code) const {
  auto it = errorTexts.find(code);
  return it == errorTexts.end() ? "error " + std::to_string(code) : it->second;
}

}  // namespace vx::test
