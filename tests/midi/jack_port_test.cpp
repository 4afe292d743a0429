// A virtual controller on a JACK server (scripts/test.d/jack.sh starts one with the dummy back
// end): its port is opened by name, learned, operates the window's control through the queue and
// the wake-up, and gets its mapping back when it is unplugged and plugged in again. The port
// layer runs as in the program: JACK tells it of ports plugged in and out, nothing here scans.
// Every wait is for a condition, with a deadline far beyond a loaded machine's delays.

#include <gtest/gtest.h>
#include <rtmidi/RtMidi.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "midi/midi_system.h"
#include "tests/midi/fake_surface.h"

namespace vx::midi {
namespace {

namespace fs = std::filesystem;

struct JackRig {
    JackRig()
        : folder(fs::temp_directory_path() / ("velvox-jack-" + std::to_string(::getpid()))),
          queue([this] {
              std::lock_guard lock(mutex);
              ++wakes;
              woken.notify_all();
          }),
          ports(queue, Ports::Options{"VelvoxTest", {}, PortSystem::Jack, 2000}),
          midi(surface, queue, folder.string())
    {
        fs::create_directories(folder);
        midi.attach(&ports);
    }
    ~JackRig() { fs::remove_all(folder); }

    // Drains on every wake-up until pred holds; false after the deadline.
    template <typename Pred>
    bool until(Pred pred)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!pred()) {
            std::unique_lock lock(mutex);
            if (!woken.wait_until(lock, end, [&] { return wakes > 0; }))
                return false;
            wakes = 0;
            lock.unlock();
            midi.drain();
        }
        return true;
    }
    bool hasPort(const std::string& name)
    {
        const auto names = midi.portNames();
        return std::find(names.begin(), names.end(), name) != names.end();
    }

    fs::path folder;
    std::mutex mutex;
    std::condition_variable woken;
    int wakes = 0;
    test::FakeSurface surface;
    MessageQueue queue;
    Ports ports;
    MidiSystem midi;
};

TEST(MidiJackPorts, VirtualControllerIsLearnedOperatesAndComesBack)
{
    if (!jackServerRunning())
        GTEST_SKIP() << "no JACK server";
    JackRig r;
    auto controller = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "VirtualController");
    controller->openVirtualPort("out");
    r.ports.start();
    ASSERT_TRUE(r.until([&] { return r.hasPort("VirtualController:out"); }));

    r.midi.setLearning(true);
    ASSERT_TRUE(r.midi.select("crossfader"));
    const unsigned char first[] = {0xB0, 0x08, 0x40};
    controller->sendMessage(first, 3);
    ASSERT_TRUE(r.until([&] { return !r.midi.bindingsOf("crossfader").empty(); }));
    r.midi.setLearning(false);

    const unsigned char move[] = {0xB0, 0x08, 0x43};
    controller->sendMessage(move, 3);
    ASSERT_TRUE(r.until([&] { return r.surface.position("crossfader") != 0.5; }));
    EXPECT_DOUBLE_EQ(r.surface.position("crossfader"), positionOf7(0x43));

    controller.reset();  // unplugged
    ASSERT_TRUE(r.until([&] { return !r.hasPort("VirtualController:out"); }));

    controller = std::make_unique<RtMidiOut>(RtMidi::UNIX_JACK, "VirtualController");
    controller->openVirtualPort("out");
    ASSERT_TRUE(r.until([&] { return r.hasPort("VirtualController:out"); }));
    const unsigned char again[] = {0xB0, 0x08, 0x45};
    controller->sendMessage(again, 3);
    ASSERT_TRUE(r.until([&] { return r.surface.position("crossfader") == positionOf7(0x45); }));
    EXPECT_TRUE(r.midi.takeMessages().empty());

    // Its lamps' port comes a moment later, as a client JACK renames: the open port takes it up.
    EXPECT_FALSE(r.midi.lampsReach("VirtualController:out"));
    RtMidiIn lamps(RtMidi::UNIX_JACK, "VirtualController");
    lamps.openVirtualPort("lamps");
    EXPECT_TRUE(r.until([&] { return r.midi.lampsReach("VirtualController:out"); }));
}

}  // namespace
}  // namespace vx::midi
