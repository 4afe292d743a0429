// An hour of continuous play with automatic crossfades on the virtual device, songs of five
// seconds: every change happens, the decks take turns, each list plays in order and every song
// to its end, the sound never stops or clicks, and the program's memory stays where it was.
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "tests/audio/signal_analysis.h"
#include "tests/audio/test_media.h"
#include "tests/mixing/mixing_program.h"

namespace vx::test {
namespace {

constexpr double kSongSeconds = 5;
constexpr long kTicksPerMinute = 2000;  // 30 ms each
constexpr double kAmplitude = 0.25;

long residentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Bytes the program holds allocated, in every arena.
long heapKilobytes() {
  struct mallinfo2 info = mallinfo2();
  return static_cast<long>((info.uordblks + info.hblkhd) / 1024);
}

struct Start {
  int deck;
  int song;  // index in the deck's list
  long tick;
};

// What the decks and the output did, tick by tick. Holds no growing allocation of its own
// beyond `starts`, reserved up front.
struct Watch {
  const std::array<std::vector<std::string>, 2>& songs;
  std::vector<Start> starts;
  std::array<int, 2> state{};
  std::array<std::string, 2> file;
  std::array<double, 2> furthest{};  // how far the deck's current song got
  long shortSongs = 0, silentTicks = 0;
  double largestStep = 0, lastSample = 0;

  explicit Watch(const std::array<std::vector<std::string>, 2>& s) : songs(s) { starts.reserve(4000); }

  void deck(Program& p, int d, long tick) {
    auto& player = p.player(d);
    const int now = player.playState();
    const std::string& name = player.fileName();
    if (now == platform::Playing && (state[d] != platform::Playing || name != file[d])) {
      if (furthest[d] > 0 && furthest[d] < kSongSeconds - 0.05) ++shortSongs;
      furthest[d] = 0;
      const auto& list = songs[d];
      starts.push_back({d, static_cast<int>(std::find(list.begin(), list.end(), name) - list.begin()), tick});
    }
    if (now == platform::Playing) furthest[d] = std::max(furthest[d], player.currentPosition());
    state[d] = now;
    file[d] = name;
  }

  void output(const std::vector<float>& out) {
    const size_t frames = out.size() / 2;
    if (audio::testing::rms({out, 0, 0, frames}) < kAmplitude / 10) ++silentTicks;
    for (size_t i = 0; i < frames; ++i) {
      largestStep = std::max(largestStep, std::abs(out[2 * i] - lastSample));
      lastSample = out[2 * i];
    }
  }
};

class ContinuousPlaySoak : public ::testing::Test {
 protected:
  audio::testing::TempDir dir;
  std::array<std::vector<std::string>, 2> songs;

  // Seven songs for A, five for B, so that the lists wrap at different times. Whole cycles in
  // five seconds: every song begins and ends on a zero crossing.
  void SetUp() override {
    const std::vector<double> hz[2] = {{220, 247, 262, 294, 330, 349, 392}, {440, 494, 523, 587, 659}};
    for (int deck = 0; deck < 2; ++deck) {
      std::filesystem::create_directories(folder(deck));
      for (size_t i = 0; i < hz[deck].size(); ++i) {
        songs[deck].push_back(folder(deck) + "/song" + std::to_string(i + 1) + ".wav");
        writeToneSong(songs[deck].back(), hz[deck][i], kAmplitude, kSongSeconds);
      }
    }
  }
  std::string folder(int deck) { return dir.path(deck == 0 ? "listA" : "listB"); }

  // Both lists dropped, their first songs loaded, continuous play with automatic crossfade.
  void prepare(MixingProgram& m) {
    m.run("set autoplay2.checked True");
    m.run("set autocrossfadeplay.checked True");
    m.run("set random.checked False");
    for (int deck = 0; deck < 2; ++deck) {
      const std::string ref = "title1(" + std::to_string(deck) + ")";
      m.run("drop " + ref + " " + folder(deck));
      m.run("set " + ref + ".listindex 0");
      m.run("dblclick " + ref);
      m.run("expect player(" + std::to_string(deck) + ").filename = " + songs[deck][0]);
    }
  }
};

TEST_F(ContinuousPlaySoak, AnHourOfAutomaticCrossfadesPlaysBothListsInTurnWithoutAGlitch) {
  MixingProgram m(dir.path("home"));
  prepare(m);
  m.run("down Pause(0)");
  m.run("up Pause(0)");

  Watch watch(songs);
  long heapAtTenMinutes = 0, residentAtTenMinutes = 0;
  for (long tick = 1; tick <= 60 * kTicksPerMinute; ++tick) {
    m.out.clear();
    m.tick();
    watch.deck(m.p, 0, tick);
    watch.deck(m.p, 1, tick);
    watch.output(m.out);
    if (tick == 10 * kTicksPerMinute) {
      heapAtTenMinutes = heapKilobytes();
      residentAtTenMinutes = residentKilobytes();
    }
  }

  // The next song starts about every 2.5 s: five-second songs, each faded in 2.5 s before the
  // end of the one before.
  EXPECT_GE(watch.starts.size(), 1420u);
  EXPECT_LE(watch.starts.size(), 1442u);
  std::array<int, 2> next{};
  for (size_t i = 0; i < watch.starts.size(); ++i) {
    const Start& s = watch.starts[i];
    if (i > 0) {
      ASSERT_NE(s.deck, watch.starts[i - 1].deck) << "two starts in a row on one deck, tick " << s.tick;
    }
    ASSERT_EQ(s.song, next[s.deck]) << "out of order on deck " << s.deck << ", tick " << s.tick;
    next[s.deck] = (next[s.deck] + 1) % static_cast<int>(songs[s.deck].size());
  }
  EXPECT_EQ(watch.shortSongs, 0) << "songs left before their end";
  EXPECT_EQ(watch.silentTicks, 0);
  EXPECT_LT(watch.largestStep, 0.06) << "a click in the output";
  EXPECT_LT(heapKilobytes() - heapAtTenMinutes, 256) << "kB more held after fifty more minutes";
  // The allocator's own pages may grow a little with fragmentation; a leak of a song's worth of
  // samples per change would be hundreds of megabytes.
  EXPECT_LT(residentKilobytes() - residentAtTenMinutes, 16 * 1024);
  RecordProperty("changes", static_cast<int>(watch.starts.size()));
}

}  // namespace
}  // namespace vx::test
