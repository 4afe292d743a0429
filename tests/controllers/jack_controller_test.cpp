// A virtual controller on a JACK server (scripts/test.d/jack.sh starts one with the dummy back
// end), learned onto the crossfader, PLAY A and jog A by pointing at them; its messages travel
// the real path (JACK, the port's thread, the queue, the wake-up, a drain on this thread). Its
// lamps come back on its own input port, which JACK names "VxTestPad-01" (RtMidi makes each
// port a client of its own).
#include <rtmidi/RtMidi.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "midi/ports.h"
#include "tests/controllers/controller_fixture.h"

namespace vx::test {
namespace {

class JackController : public ControllerFixture {
 protected:
  void SetUp() override {
    if (!midi::jackServerRunning()) GTEST_SKIP() << "no JACK server";
    out = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "VxTestPad");
    out->openVirtualPort("pads");
    lampsIn = std::make_unique<RtMidiIn>(RtMidi::UNIX_JACK, "VxTestPad");
    lampsIn->setCallback(&JackController::onLamp, this);
    lampsIn->openVirtualPort("lamps");
    start(true, [this] {
      std::lock_guard lock(mutex);
      ++wakes;
      woken.notify_all();
    });
  }

  // Drains on every wake-up, as the window does, until pred holds; false after the deadline (far
  // beyond a loaded machine's delays).
  template <typename Pred>
  bool until(Pred pred, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
      std::unique_lock lock(mutex);
      woken.wait_until(lock, std::min(end, std::chrono::steady_clock::now() + std::chrono::milliseconds(50)),
                       [&] { return wakes > 0; });
      if (std::chrono::steady_clock::now() > end) return false;
      wakes = 0;
      lock.unlock();
      host->drainNow();
    }
    return true;
  }
  // Sends one message and waits until the program has taken it. A JACK server without real-time
  // scheduling on a loaded machine lets a client miss a cycle now and then, and the MIDI of that
  // cycle is gone (as a cable's would be). A message that has not arrived after two seconds was
  // lost there and goes again, so that every step the test counts reaches the program once.
  bool sendHw(std::vector<unsigned char> bytes) {
    for (int attempt = 0; attempt < 5; ++attempt) {
      const uint64_t before = host->system().drained();
      out->sendMessage(&bytes);
      if (until([&] { return host->system().drained() > before; }, std::chrono::seconds(2))) return true;
    }
    return false;
  }
  bool portOpen() {
    for (const std::string& n : host->system().portNames())
      if (n.find("VxTestPad") != std::string::npos) return true;
    return false;
  }
  static void onLamp(double, std::vector<unsigned char>* bytes, void* self) {
    auto* test = static_cast<JackController*>(self);
    std::lock_guard lock(test->mutex);
    test->lamps.push_back(*bytes);
    test->woken.notify_all();
  }
  // Waits until `count` lamps came back; false after the deadline.
  bool lampsArrived(size_t count) {
    std::unique_lock lock(mutex);
    return woken.wait_for(lock, std::chrono::seconds(20), [&] { return lamps.size() >= count; });
  }

  std::unique_ptr<RtMidiOut> out;
  std::unique_ptr<RtMidiIn> lampsIn;
  std::vector<std::vector<unsigned char>> lamps;  // guarded by mutex
  std::mutex mutex;
  std::condition_variable woken;
  int wakes = 0;
};

TEST_F(JackController, LearnedByPointingThenPlaysTheDeckTheCrossfaderAndTheJog) {
  ASSERT_TRUE(until([&] { return portOpen(); }));
  t.addSong(0, "/music/a.mp3");
  t.addSong(1, "/music/b.mp3");
  // Learn: crossfader (CC 7), PLAY A (note 36), jog A (CC 16, relative around 64).
  t.form().menu("midilearn").events.click();
  down("Faderbase");
  ASSERT_TRUE(sendHw({0xB0, 0x07, 0x40}));
  ASSERT_TRUE(sendHw({0xB0, 0x07, 0x41}));
  ASSERT_TRUE(until([&] { return !host->system().bindingsOf("Faderbtn").empty(); }));
  down("Pause", 0);
  ASSERT_TRUE(sendHw({0x90, 0x24, 0x7F}));
  ASSERT_TRUE(sendHw({0x80, 0x24, 0x00}));
  ASSERT_TRUE(until([&] { return !host->system().bindingsOf("Pause(0)").empty(); }));
  down("jogbase", 0);
  ASSERT_TRUE(sendHw({0xB0, 0x10, 0x41}));
  ASSERT_TRUE(until([&] { return !host->system().bindingsOf("jogbtn(0)").empty(); }));
  t.form().keyDown(27, 0);
  EXPECT_EQ(faderLeft(), 5130);  // learning moved nothing
  EXPECT_FALSE(t.player(0).called("play"));

  // Soft takeover: the far end first does nothing; meeting the knob takes over; the sweep to
  // deck A's end fades deck B out through the volume law.
  const uint64_t before = host->system().drained();
  ASSERT_TRUE(sendHw({0xB0, 0x07, 0x00}));
  ASSERT_TRUE(sendHw({0xB0, 0x07, 0x7F}));
  ASSERT_TRUE(until([&] { return host->system().drained() >= before + 2; }));
  EXPECT_EQ(faderLeft(), 5130);
  for (int v = 0x40; v >= 0; --v) ASSERT_TRUE(sendHw({0xB0, 0x07, static_cast<unsigned char>(v)}));
  ASSERT_TRUE(until([&] { return faderLeft() == 3630; }));
  EXPECT_EQ(t.player(1).vol, -10000);
  EXPECT_GT(t.player(0).vol, -10000);

  // PLAY A.
  ASSERT_TRUE(sendHw({0x90, 0x24, 0x7F}));
  ASSERT_TRUE(sendHw({0x80, 0x24, 0x00}));
  ASSERT_TRUE(until([&] { return t.player(0).called("play"); }));

  // A full turn of the jog after the grab: four quarter turns, as the mouse.
  auto& s = t.p.deck[0];
  s.holdActive = s.stutterArmed = true;
  s.markPosition = s.jogBase = 4;
  ASSERT_TRUE(sendHw({0xB0, 0x10, 0x41}));
  ASSERT_TRUE(until([&] { return s.jogDragging; }));
  const double grabbed = mark(0);
  for (int i = 0; i < 128; ++i) ASSERT_TRUE(sendHw({0xB0, 0x10, 0x41}));
  ASSERT_TRUE(until([&] { return std::abs(mark(0) - grabbed - 0.532) < 1e-9; }));
}

TEST_F(JackController, PlayLampComesBackOnTheControllersOwnPortOnChangeOnly) {
  ASSERT_TRUE(until([&] { return portOpen() && host->system().lampsReach("VxTestPad:pads"); }));
  t.addSong(0, "/music/a.mp3");
  t.form().menu("midilearn").events.click();
  down("Pause", 0);
  ASSERT_TRUE(sendHw({0x90, 0x24, 0x7F}));
  ASSERT_TRUE(sendHw({0x80, 0x24, 0x00}));
  ASSERT_TRUE(until([&] { return !host->system().bindingsOf("Pause(0)").empty(); }));
  t.form().keyDown(27, 0);
  ASSERT_TRUE(lampsArrived(1));  // the new binding's lamp as it is: dark

  ASSERT_TRUE(sendHw({0x90, 0x24, 0x7F}));
  ASSERT_TRUE(sendHw({0x80, 0x24, 0x00}));
  ASSERT_TRUE(until([&] { return t.player(0).called("play"); }));
  ASSERT_TRUE(lampsArrived(2));
  t.form().picture("Stop", 0).events.click();
  host->afterInput();
  host->afterInput();  // nothing changed: nothing sent
  ASSERT_TRUE(lampsArrived(3));
  t.clearCalls();
  ASSERT_TRUE(sendHw({0x90, 0x24, 0x7F}));
  ASSERT_TRUE(sendHw({0x80, 0x24, 0x00}));
  ASSERT_TRUE(until([&] { return t.player(0).called("play"); }));
  ASSERT_TRUE(lampsArrived(4));  // a repeat between would have come before this one
  std::lock_guard lock(mutex);
  using Bytes = std::vector<unsigned char>;
  EXPECT_EQ(lamps, (std::vector<Bytes>{{0x90, 0x24, 0}, {0x90, 0x24, 0x7F}, {0x90, 0x24, 0}, {0x90, 0x24, 0x7F}}));
}

TEST_F(JackController, MappingSurvivesARestartOfTheProgram) {
  ASSERT_TRUE(until([&] { return portOpen(); }));
  t.form().menu("midilearn").events.click();
  down("masterbase", 1);
  ASSERT_TRUE(sendHw({0xB0, 0x09, 0x7F}));
  ASSERT_TRUE(sendHw({0xB0, 0x09, 0x7E}));
  ASSERT_TRUE(until([&] { return !host->system().bindingsOf("masterbtn(1)").empty(); }));
  host.reset();  // the program ends
  start(true, [this] {
    std::lock_guard lock(mutex);
    ++wakes;
    woken.notify_all();
  });
  ASSERT_TRUE(until([&] { return portOpen(); }));
  t.form().picture("masterbtn", 1).setTop(3840);  // at the top: full level
  ASSERT_TRUE(sendHw({0xB0, 0x09, 0x7F}));
  ASSERT_TRUE(sendHw({0xB0, 0x09, 0x60}));
  ASSERT_TRUE(until([&] { return t.form().picture("masterbtn", 1).top() > 3840; }));
}

}  // namespace
}  // namespace vx::test
