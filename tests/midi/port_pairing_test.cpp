// Which output carries a device's lamps: JACK renames a second client of the same name, and
// bridges hold many devices under one client.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "midi/port_pairing.h"
#include "midi/port_watch.h"

namespace vx::midi {
namespace {

TEST(PortPairing, FindsTheDevicesOutputRenamedOrBridgedAndNoOtherDevices)
{
    // RtMidi opens input and output as two clients; JACK names the second "-01".
    EXPECT_EQ(pairedOutput("Pad:pads", {"system:playback_1", "Velvox:lamps", "Pad-01:lamps"}, "Velvox"),
              "Pad-01:lamps");
    EXPECT_EQ(pairedOutput("Pad-02:pads", {"Pad:lamps"}, "Velvox"), "Pad:lamps");
    // ALSA: one port both ways.
    EXPECT_EQ(pairedOutput("X1:X1 MIDI 1 20:0", {"Other:Other 24:0", "X1:X1 MIDI 1 20:0"}, "Velvox"),
              "X1:X1 MIDI 1 20:0");
    // A bridge: the direction's word tells them apart, the client alone never pairs.
    const std::vector<std::string> bridge = {"a2j:X1 [20] (playback): X1 MIDI 1", "a2j:Pad [24] (playback): Pad MIDI 1"};
    EXPECT_EQ(pairedOutput("a2j:Pad [24] (capture): Pad MIDI 1", bridge, "Velvox"), bridge[1]);
    EXPECT_EQ(pairedOutput("a2j:Mixer [28] (capture): Mixer MIDI 1", bridge, "Velvox"), std::nullopt);
    // The program's own ports never take lamps.
    EXPECT_EQ(pairedOutput("Velvox:in", {"Velvox-01:lamps"}, "Velvox"), std::nullopt);
}

}  // namespace
}  // namespace vx::midi

// Without the sequencer's device node (the snd-seq module not loaded) the port layer retries every
// scan interval: a word once, not ALSA's error at every try.
TEST(AlsaPortWatch, AMissingSequencerIsSaidOnceAcrossRetries)
{
    if (access("/dev/snd/seq", F_OK) == 0)
        GTEST_SKIP() << "this machine has an ALSA sequencer";
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(vx::midi::makeAlsaWatch("Velvox test", [] {}), nullptr);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_LE(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(said.find("ALSA lib"), std::string::npos) << said;
}
