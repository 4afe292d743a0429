#include "shell/settings_file.h"

#include <cmath>
#include <limits>

#include "basic/convert.h"
#include "basic/fileio.h"
#include "basic/textfile.h"
#include "decks/pitch.h"
#include "mixer/channel_strip.h"
#include "mixer/volume_law.h"
#include "play/loading.h"
#include "sampler/sampler.h"
#include "shell/directx_check.h"
#include "songlist/list_block.h"
#include "songlist/song_list.h"

namespace vx::shell {

namespace {

// The reading stops here: the file ended, or a line does not hold what its place asks for.
struct StopReading {};

// The file's text, decoded once (UTF-8, else CP932), handed out line by line. Lines end with
// CR LF, LF or a lone CR; a final line without an end counts.
class TextCursor {
 public:
  explicit TextCursor(const std::string& path) {
    std::string bytes, error;
    if (!basic::detail::readWholeFile(path, bytes, error)) return;
    found_ = true;
    text_ = std::make_shared<const std::string>(basic::decodeText(std::move(bytes)));
    lines_ = basic::LineSplitter(*text_);
  }

  // The view is valid while the cursor lives.
  bool next(std::string_view& line) { return lines_.next(line); }
  basic::LineSplitter& lines() { return lines_; }
  // The whole text, which the song lists read from it share.
  const songlist::SharedText& text() const { return text_; }
  // False when there was no file to read: the program's first start.
  bool found() const { return found_; }

 private:
  bool found_ = false;
  songlist::SharedText text_ = std::make_shared<const std::string>();
  basic::LineSplitter lines_{std::string_view()};
};

// Hands out the file's lines converted to what their place holds.
class SettingsLines {
 public:
  explicit SettingsLines(TextCursor& in) : in_(in) {}

  std::string text() {
    std::string_view line;
    if (!in_.next(line)) throw StopReading{};
    return std::string(line);
  }

  // A whole number within [min, max]; a fraction is rounded halves to even, as the classic
  // conversion does. Out of range is no value for the setting: the reading stops.
  int integer(int min, int max) {
    const std::string line = text();
    if (!songlist::isNumberText(line)) throw StopReading{};
    try {
      const int v = basic::CInt(basic::Val(line));
      if (v < min || v > max) throw StopReading{};
      return v;
    } catch (const basic::OverflowError&) {
      throw StopReading{};
    }
  }

  bool boolean() {
    bool ok = false;
    const bool b = basic::CBool(text(), ok);
    if (!ok) throw StopReading{};
    return b;
  }

  double single() {
    const std::string line = text();
    if (!songlist::isNumberText(line)) throw StopReading{};
    const double v = basic::Val(line);
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) throw StopReading{};
    return static_cast<float>(v);
  }

  TextCursor& cursor() { return in_; }

 private:
  TextCursor& in_;
};

constexpr int kInt16Min = -32768;
constexpr int kInt16Max = 32767;

void setChecked(Program& p, const char* menu, bool checked) { p.main.menu(menu).setChecked(checked); }

// Returns the block's count; a block that is incomplete, malformed or too long for the list
// is not taken at all.
int readBlock(Program& p, SettingsLines& in, int deck) {
  auto block = songlist::readListBlock(in.cursor().lines(), in.cursor().text());
  if (!block) throw StopReading{};
  const int n = static_cast<int>((*block)[songlist::Path].size());
  if (!songlist::SongList(p.main, deck).appendColumns(std::move(*block))) throw StopReading{};
  return n;
}

// Loads entry i of the deck's list into the deck as it was left: its file, tempo, trim, start
// point and title. An index that names no entry leaves the deck unloaded.
void restoreSelection(Program& p, int deck, int i) {
  songlist::SongList list(p.main, deck);
  if (i < 0 || i >= list.count() || !list.select(i)) return;
  p.player(deck).setFileName(list.value(songlist::Path, i));
  p.main.picture("pitchbtn", deck).setTop(play::pitchKnobTop(basic::Val(list.value(songlist::Tempo, i))));
  p.pitchLockTicks = 0;
  decks::applyPitch(p, deck);
  mixer::trimlinedraw(p, deck);
  p.player(deck).setSelectionStart(basic::Val(list.value(songlist::Start, i)));
  p.main.label("text2", deck).setCaption(list.value(songlist::Title, i));
}

void readSelections(Program& p, SettingsLines& in, bool apply) {
  for (int deck = 0; deck < 2; ++deck) {
    if (!apply) {
      in.text();
      continue;
    }
    restoreSelection(p, deck, in.integer(kInt16Min, kInt16Max));
  }
  if (apply) mixer::volcontrol(p);
}

void readOptions(Program& p, SettingsLines& in) {
  Settings& s = p.settings;
  s.samplerShown = in.boolean();
  s.songListShown = in.boolean();
  setChecked(p, "autoplay2", in.boolean());
  setChecked(p, "startup", in.boolean());
  setChecked(p, "random", in.boolean());
  p.main.top = in.single();
  p.main.left = in.single();
  p.main.touch();
  s.stutterInterval = in.integer(0, 10);
  s.playOnSwitch = in.boolean();
  s.skinName = in.text();
  p.dialogInitialFolder = in.text();
  s.samplerEnabled = in.boolean();
  s.initialTrim = in.integer(0, 40);
  s.gapTime = in.integer(0, 100);
  setChecked(p, "autocrossfadeplay", in.boolean());
  setChecked(p, "countdown", in.boolean());
  s.monitorDevice = in.integer(0, kInt16Max);
  p.monitor.monitorOn = in.boolean();
}

void readFader(Program& p, SettingsLines& in) {
  Settings& s = p.settings;
  for (int pattern = 0; pattern < 3; ++pattern)
    for (int point = 0; point < 4; ++point) s.faderCurve[static_cast<size_t>(pattern + 3 * point)] = in.integer(0, 500);
  for (int& time : s.faderTime) time = in.integer(1, kInt16Max);
  for (int& kind : s.slotKind) kind = in.integer(0, 3);
}

// The slot label shows the number as the classic Str writes it (" 1") and the file's name.
void readSlots(Program& p, SettingsLines& in) {
  for (int slot = 0; slot < 8; ++slot) {
    std::string path = in.text();
    p.settings.slotPath[static_cast<size_t>(slot)] = path;
    const std::string name = path.empty() ? "" : songlist::fileTitle(path);
    p.main.label("Text1", slot).setCaption(basic::Str(slot + 1) + ":" + name);
    if (!path.empty() && p.startup.directSoundReady && !sampler::loadSlotFile(p, slot, path)) throw StopReading{};
  }
}

void readAll(Program& p, SettingsLines& in) {
  readBlock(p, in, 0);
  const int countB = readBlock(p, in, 1);
  readSelections(p, in, countB > 0);
  readOptions(p, in);
  readFader(p, in);
  if (!p.settings.samplerEnabled) return;
  directXCheck(p);
  readSlots(p, in);
}

// The first start sends the monitor to an output of its own: on the main output it would play
// the monitored deck to the room a second time, past the trim, the channel fader and the
// crossfader. Without another output the monitor starts switched off.
void chooseMonitorDevice(Program& p) {
  platform::WaveOut* out = p.ports.waveOut;
  const int count = out ? static_cast<int>(out->deviceNames().size()) : 0;
  const int main = out ? out->mainDevice() : -1;
  for (int device = 0; device < count; ++device) {
    if (device == main) continue;
    p.settings.monitorDevice = device;
    return;
  }
  p.settings.monitorDevice = 0;
  p.monitor.monitorOn = false;
}

}  // namespace

void resetSettings(Program& p) {
  if (p.ports.dialogs) p.ports.dialogs->messageBox({"Velvoxの状態を初期化します。", "", platform::MsgButtons::OK, platform::MsgIcon::None});
  setChecked(p, "startup", false);
  setChecked(p, "random", false);
  Settings& s = p.settings;
  p.monitor.monitorOn = true;
  s.samplerEnabled = true;
  s.samplerShown = true;
  s.songListShown = true;
  s.playOnSwitch = true;
  const Settings defaults;
  s.faderCurve = defaults.faderCurve;
  s.faderTime = defaults.faderTime;
  s.stutterInterval = 2;
  s.skinName = "orange";
  s.initialTrim = 20;
  directXCheck(p);
  s.gapTime = 10;
  setChecked(p, "autocrossfadeplay", false);
  setChecked(p, "countdown", false);
}

void readSettings(Program& p) {
  TextCursor in(p.settingsPath);
  SettingsLines lines(in);
  try {
    readAll(p, lines);
  } catch (const StopReading&) {
    resetSettings(p);
    // A stored choice, even in a file that could not be read to its end, is kept.
    if (!in.found()) chooseMonitorDevice(p);
  }
}

}  // namespace vx::shell
