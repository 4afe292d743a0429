// The settings file: what is written, what comes back, and what a damaged file leaves.
#include <gtest/gtest.h>

#include <random>

#include "shell/settings_file.h"
#include "songlist/song_list.h"
#include "tests/shell/settings_test_support.h"

namespace vx::test {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* kReset = "Velvoxの状態を初期化します。";

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFolder folder;

  std::unique_ptr<TestProgram> program() {
    auto t = std::make_unique<TestProgram>();
    t->p.settingsPath = folder.path();
    return t;
  }
  std::unique_ptr<TestProgram> readBack() {
    auto t = program();
    shell::readSettings(t->p);
    return t;
  }
  static songlist::SongList list(TestProgram& t, int deck) { return songlist::SongList(t.p.main, deck); }
};

void addEntry(TestProgram& t, int deck, const std::string& path, const std::string& tempo, const std::string& start) {
  songlist::SongEntry e;
  e.path = path;
  e.title = songlist::fileTitle(path);
  e.tempo = tempo;
  e.trim = "2000";
  e.start = start;
  songlist::SongList(t.p.main, deck).append(e);
}

// A set-up with every kind of value away from its default.
void setUpEverything(TestProgram& t) {
  addEntry(t, 0, "/music/one song.mp3", "100", "-1");
  addEntry(t, 0, "/music/two.mp3", " 104", "12.5");  // as the pitch knob writes it
  addEntry(t, 1, "/music/three.wav", " 96", "-1");
  songlist::SongList(t.p.main, 0).select(1);
  songlist::SongList(t.p.main, 1).select(0);
  Settings& s = t.p.settings;
  s.samplerShown = false;
  s.stutterInterval = 7;
  s.playOnSwitch = false;
  s.skinName = "midnight";
  s.initialTrim = 33;
  s.gapTime = 55;
  s.monitorDevice = 1;
  s.faderCurve = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  s.faderTime = {40, 60, 700};
  s.slotKind = {0, 1, 2, 3, 0, 1, 2, 3};
  t.p.dialogInitialFolder = "/music/sets";
  t.p.main.top = 960;
  t.p.main.left = -120;
  t.form().menu("autoplay2").setChecked(false);
  t.form().menu("random").setChecked(true);
  t.form().menu("startup").setChecked(false);
  t.form().menu("countdown").setChecked(true);
  t.form().menu("autocrossfadeplay").setChecked(false);
}

TEST_F(SettingsFileTest, EverythingSetUpComesBackAfterARestart) {
  auto before = program();
  setUpEverything(*before);
  ASSERT_TRUE(shell::savest(before->p));
  EXPECT_TRUE(before->p.quitRequested);
  const std::string bytes = folder.bytes();
  EXPECT_NE(bytes.find("\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1) << "every line ends in CR LF";

  auto t = readBack();
  EXPECT_TRUE(t->dialogs.shown.empty()) << t->dialogs.messages().front();
  EXPECT_EQ(list(*t, 0).columns(), list(*before, 0).columns());
  EXPECT_EQ(list(*t, 1).columns(), list(*before, 1).columns());
  EXPECT_EQ(list(*t, 0).selected(), 1);
  EXPECT_EQ(list(*t, 1).selected(), 0);
  EXPECT_EQ(t->player(0).file, "/music/two.mp3");
  EXPECT_TRUE(t->player(0).called("selstart=12.5"));
  EXPECT_EQ(t->form().label("text2", 0).caption(), "two.mp3");
  EXPECT_EQ(t->form().picture("pitchbtn", 0).top(), (1.04 - 1) * 3000 + 2400);
  EXPECT_EQ(t->player(1).file, "/music/three.wav");
  const Settings& s = t->p.settings;
  const Settings& w = before->p.settings;
  EXPECT_EQ(s.samplerShown, w.samplerShown);
  EXPECT_EQ(s.stutterInterval, 7);
  EXPECT_FALSE(s.playOnSwitch);
  EXPECT_EQ(s.skinName, "midnight");
  EXPECT_EQ(s.initialTrim, 33);
  EXPECT_EQ(s.gapTime, 55);
  EXPECT_EQ(s.monitorDevice, 1);
  EXPECT_EQ(s.faderCurve, w.faderCurve);
  EXPECT_EQ(s.faderTime, w.faderTime);
  EXPECT_EQ(s.slotKind, w.slotKind);
  EXPECT_EQ(t->p.dialogInitialFolder, "/music/sets");
  EXPECT_EQ(t->p.main.top, 960);
  EXPECT_EQ(t->p.main.left, -120);
  for (const char* menu : {"autoplay2", "random", "startup", "countdown", "autocrossfadeplay"})
    EXPECT_EQ(t->form().menu(menu).checked(), before->form().menu(menu).checked()) << menu;
}

TEST_F(SettingsFileTest, ListBlocksAndLineOrder) {
  auto t = program();
  ASSERT_TRUE(shell::savest(t->p));
  Lines empty = folder.lines();
  ASSERT_EQ(empty.size(), 2u + 2u + 51u - 2u);
  EXPECT_EQ(Lines(empty.begin(), empty.begin() + 4), (Lines{"0", "0", "-1", "-1"}));

  addEntry(*t, 0, "/a.mp3", "100", "-1");
  addEntry(*t, 0, "/b.mp3", "100", "-1");
  ASSERT_TRUE(shell::savest(t->p));
  const Lines two = folder.lines();
  EXPECT_EQ(Lines(two.begin(), two.begin() + 16),
            (Lines{"2", "/a.mp3", "/b.mp3", "a.mp3", "b.mp3", "100", "100", "2000", "2000", "-1", "-1", "-1", "-1", "-1",
                   "-1", "0"}));
  // Lines 3 to 51 after the two selections; the fader curves pattern by pattern.
  const Lines tail(two.end() - 49, two.end());
  EXPECT_EQ(tail[0], "True");
  EXPECT_EQ(Lines(tail.begin() + 18, tail.begin() + 22), (Lines{"500", "500", "0", "0"}));
  EXPECT_EQ(Lines(tail.begin() + 22, tail.begin() + 26), (Lines{"0", "500", "0", "500"}));
  EXPECT_EQ(Lines(tail.begin() + 30, tail.begin() + 33), (Lines{"50", "50", "50"}));
}

TEST_F(SettingsFileTest, StoredSelectionsNeedAnEntryInListB) {
  folder.writeLines({"1", "/a.mp3", "a", "100", "2000", "-1", "-1", "-1", "0", "0", "0"});
  auto t = readBack();
  EXPECT_EQ(list(*t, 0).count(), 1);
  EXPECT_EQ(list(*t, 0).selected(), -1) << "list B is empty: the selections are read and ignored";
  EXPECT_TRUE(t->player(0).file.empty());

  folder.writeLines({"0", "1", "/b.mp3", "b", "100", "2000", "-1", "-1", "-1", "-1", "0"});
  auto u = readBack();
  EXPECT_TRUE(u->player(0).file.empty());
  EXPECT_EQ(u->player(1).file, "/b.mp3");
  EXPECT_EQ(u->form().label("text2", 1).caption(), "b");
}

TEST_F(SettingsFileTest, NoFileResetsOnceAndAFreshStartNeitherPlaysNorCountsDown) {
  auto t = readBack();
  EXPECT_EQ(t->dialogs.messages(), Lines{kReset});
  EXPECT_EQ(t->dialogs.shown[0].icon, platform::MsgIcon::None);
  EXPECT_EQ(t->dialogs.shown[0].buttons, platform::MsgButtons::OK);
  EXPECT_TRUE(t->form().menu("autoplay2").checked());
  for (const char* menu : {"startup", "random", "autocrossfadeplay", "countdown"}) EXPECT_FALSE(t->form().menu(menu).checked()) << menu;
  EXPECT_EQ(t->p.settings.skinName, "orange");
  EXPECT_TRUE(t->p.monitor.monitorOn);
  EXPECT_TRUE(t->p.settings.samplerEnabled);
  EXPECT_TRUE(t->sound.called("create")) << "the reset runs the sampler device check";
}

TEST_F(SettingsFileTest, AFirstStartSendsTheMonitorToAnotherOutputElseSwitchesItOff) {
  auto two = program();
  two->waveOut.devices = {"Speakers", "Headphones", "HDMI"};
  shell::readSettings(two->p);
  EXPECT_EQ(two->p.settings.monitorDevice, 1);
  EXPECT_TRUE(two->p.monitor.monitorOn);

  auto one = program();
  one->waveOut.devices = {"Built-in Audio"};
  shell::readSettings(one->p);
  EXPECT_FALSE(one->p.monitor.monitorOn);

  // A stored choice stands, the main output included.
  two->p.settings.monitorDevice = 0;
  shell::savest(two->p);
  auto again = program();
  again->waveOut.devices = {"Speakers", "Headphones"};
  shell::readSettings(again->p);
  EXPECT_EQ(again->p.settings.monitorDevice, 0);
  EXPECT_TRUE(again->p.monitor.monitorOn);
}

TEST_F(SettingsFileTest, AFileCutAfterTheWindowPositionKeepsWhatCameBefore) {
  auto before = program();
  setUpEverything(*before);
  before->p.settings.stutterInterval = 9;
  shell::savest(before->p);
  Lines lines = folder.lines();
  const size_t firstOption = lines.size() - 49;
  lines.resize(firstOption + 7);  // lines 3 to 9
  folder.writeLines(lines);

  auto t = readBack();
  EXPECT_EQ(t->dialogs.messages(), Lines{kReset});
  EXPECT_EQ(list(*t, 0).count(), 2);
  EXPECT_EQ(list(*t, 0).selected(), 1);
  EXPECT_TRUE(t->form().menu("random").checked() == false) << "the reset unchecks random";
  EXPECT_FALSE(t->form().menu("autoplay2").checked()) << "read before the failure";
  EXPECT_EQ(t->p.main.left, -120);
  EXPECT_EQ(t->p.settings.stutterInterval, 2);
  EXPECT_EQ(t->p.settings.skinName, "orange");
  EXPECT_EQ(t->p.settings.faderTime, Settings{}.faderTime);
}

TEST_F(SettingsFileTest, SamplerOffStopsBeforeTheSlotPaths) {
  auto before = program();
  before->p.settings.samplerEnabled = false;
  shell::savest(before->p);
  Lines lines = folder.lines();
  ASSERT_EQ(lines.back(), "");
  lines.resize(lines.size() - 8);
  folder.writeLines(lines);
  auto t = readBack();
  EXPECT_TRUE(t->dialogs.shown.empty());
  EXPECT_FALSE(t->p.settings.samplerEnabled);
  EXPECT_FALSE(t->sound.called("create"));
}

TEST_F(SettingsFileTest, SlotLabelsAndALostSample) {
  const std::string wav = folder.folder() + "/kick.wav";
  std::ofstream(wav) << "RIFF";
  auto before = program();
  before->p.settings.slotPath[0] = wav;
  shell::savest(before->p);
  auto t = readBack();
  EXPECT_TRUE(t->dialogs.shown.empty());
  EXPECT_EQ(t->form().label("Text1", 0).caption(), " 1:kick.wav");
  EXPECT_EQ(t->form().label("Text1", 7).caption(), " 8:");

  std::filesystem::remove(wav);
  auto u = readBack();
  EXPECT_EQ(u->dialogs.messages(), Lines{kReset});
  EXPECT_EQ(u->p.settings.slotPath[0], wav) << "kept as read";
}

TEST_F(SettingsFileTest, ValuesOutOfTheirRangeStopTheReading) {
  auto before = program();
  addEntry(*before, 1, "/b.mp3", "100", "-1");
  shell::savest(before->p);
  const Lines good = folder.lines();
  const size_t firstOption = good.size() - 49;
  for (auto [line, value] : std::vector<std::pair<size_t, std::string>>{
           {10, "11"}, {15, "41"}, {16, "-1"}, {21, "501"}, {33, "0"}, {33, "40000"}, {36, "4"}, {3, "maybe"}, {8, "1e60"}}) {
    Lines bad = good;
    bad[firstOption + line - 3] = value;
    folder.writeLines(bad);
    auto t = readBack();
    EXPECT_EQ(t->dialogs.messages(), Lines{kReset}) << "line " << line << " = " << value;
    EXPECT_EQ(list(*t, 1).count(), 1);
  }
}

TEST_F(SettingsFileTest, ATruncatedListBlockIsNotTakenAtAll) {
  folder.writeLines({"2", "/a.mp3", "/b.mp3", "a", "b", "100", "100", "2000"});
  auto t = readBack();
  EXPECT_EQ(t->dialogs.messages(), Lines{kReset});
  for (int c = 0; c < songlist::kColumns; ++c) EXPECT_EQ(list(*t, 0).column(songlist::Column(c)).listCount(), 0);
}

// Full lists come back whole; a block one entry over the limit is not taken at all.
TEST_F(SettingsFileTest, ListsAtTheirLimit) {
  auto before = program();
  for (int deck = 0; deck < 2; ++deck) {
    songlist::Columns columns;
    for (int i = 0; i < songlist::kMaxSongs; ++i) {
      const std::string values[] = {"/m/" + std::to_string(i) + ".mp3", std::to_string(i), "100", "2000", "-1", "-1", "-1"};
      for (int c = 0; c < songlist::kColumns; ++c) columns[static_cast<size_t>(c)].push_back(values[c]);
    }
    ASSERT_TRUE(list(*before, deck).appendColumns(std::move(columns)));
  }
  list(*before, 1).select(songlist::kMaxSongs - 1);
  ASSERT_TRUE(shell::savest(before->p));
  auto t = readBack();
  EXPECT_TRUE(t->dialogs.shown.empty());
  EXPECT_EQ(list(*t, 0).count(), songlist::kMaxSongs);
  EXPECT_EQ(list(*t, 1).selected(), songlist::kMaxSongs - 1);
  EXPECT_EQ(t->player(1).file, "/m/32766.mp3");

  Lines over{std::to_string(songlist::kMaxSongs + 1)};
  for (int c = 0; c < songlist::kColumns; ++c)
    for (int i = 0; i <= songlist::kMaxSongs; ++i) over.push_back(c < 2 ? "x" : "1");
  folder.writeLines(over);
  auto u = readBack();
  EXPECT_EQ(u->dialogs.messages(), Lines{kReset});
  EXPECT_EQ(list(*u, 0).count(), 0);
}

TEST_F(SettingsFileTest, LegacyFileInCp932) {
  const std::string title = "\x96\xe9\x82\xcc\x8b\xc8";  // 夜の曲 in CP932
  folder.write("1\r\n/m/x.mp3\r\n" + title + "\r\n100\r\n2000\r\n-1\r\n-1\r\n-1\r\n0\r\n0\r\n0\r\n");
  auto t = readBack();
  EXPECT_EQ(list(*t, 0).value(songlist::Title, 0), "夜の曲");
}

// Every cut and many random changes of a good file: never a crash, the seven lists of each
// deck always in step, and at most one message.
TEST_F(SettingsFileTest, DamagedFilesNeverBreakTheLists) {
  auto before = program();
  setUpEverything(*before);
  shell::savest(before->p);
  const std::string good = folder.bytes();
  std::mt19937 rng(20261207);
  auto check = [&](const std::string& bytes, const std::string& what) {
    folder.write(bytes);
    auto t = readBack();
    EXPECT_LE(t->dialogs.shown.size(), 1u) << what;
    for (int deck = 0; deck < 2; ++deck) {
      const int n = list(*t, deck).count();
      for (int c = 0; c < songlist::kColumns; ++c)
        ASSERT_EQ(list(*t, deck).column(songlist::Column(c)).listCount(), n) << what;
    }
  };
  for (size_t cut = 0; cut < good.size(); cut += 3) check(good.substr(0, cut), "cut at " + std::to_string(cut));
  for (int round = 0; round < 300; ++round) {
    std::string bytes = good;
    const int changes = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < changes; ++i) bytes[rng() % bytes.size()] = static_cast<char>(rng() % 256);
    check(bytes, "round " + std::to_string(round));
  }
  std::string noise(4096, '\0');
  for (char& ch : noise) ch = static_cast<char>(rng() % 256);
  check(noise, "random bytes");
}

TEST_F(SettingsFileTest, AFailedSaveKeepsTheOldFileAndTheProgram) {
  folder.writeLines({"0", "0"});
  const std::string old = folder.bytes();
  auto t = program();
  std::filesystem::create_directory(folder.path() + ".tmp");  // the temporary file cannot be made
  EXPECT_FALSE(shell::savest(t->p));
  EXPECT_FALSE(t->p.quitRequested);
  ASSERT_EQ(t->dialogs.shown.size(), 1u);
  EXPECT_EQ(t->dialogs.shown[0].text.rfind("現在の状態を保存できませんでした。", 0), 0u);
  EXPECT_EQ(folder.bytes(), old);
}

}  // namespace
}  // namespace vx::test
