// Messages, learning, operating controls, soft takeover, lamps and the flood guard, against a
// fake window.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <unistd.h>

#include "basic/encoding.h"
#include "midi/midi_system.h"
#include "tests/midi/fake_surface.h"

namespace vx::midi {
namespace {

namespace fs = std::filesystem;

struct Rig {
    Rig() : folder(fs::temp_directory_path() / ("velvox-midi-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
    {
        fs::create_directories(folder);
        midi = std::make_unique<MidiSystem>(surface, queue, folder.string());
        midi->setLampOutput([this](uint32_t, std::span<const uint8_t> b) { lamps.emplace_back(b.begin(), b.end()); });
    }
    ~Rig() { fs::remove_all(folder); }

    void send(std::initializer_list<uint8_t> bytes, const char* port = "DJ Control:DJ Control MIDI 1 20:0")
    {
        midi->deliver(port, std::span<const uint8_t>(bytes.begin(), bytes.size()));
    }
    void learn(const char* control, std::initializer_list<std::initializer_list<uint8_t>> messages)
    {
        midi->setLearning(true);
        EXPECT_TRUE(midi->select(control));
        for (auto m : messages)
            send(m);
        midi->setLearning(false);
    }
    Meaning meaningOf(const char* control)
    {
        const auto b = midi->bindingsOf(control);
        EXPECT_EQ(b.size(), 1u) << control;
        return b.empty() ? Meaning::Button : b[0].meaning;
    }

    static inline int counter = 0;
    fs::path folder;
    test::FakeSurface surface;
    MessageQueue queue;
    std::unique_ptr<MidiSystem> midi;
    std::vector<std::vector<uint8_t>> lamps;
};

TEST(MidiParser, RunningStatusSysexAndClockInOneStream)
{
    Parser p;
    std::vector<Message> out;
    const std::vector<uint8_t> bytes = {
        0xB0, 0x07, 0x10, 0x11, 0xF8, 0x12,  // running status, a clock byte inside a message
        0xF0, 0x7E, 0x01, 0x90, 0xF7,        // system exclusive, even with a status-like byte in it
        0x20,                                // data after sysex: no running status left
        0x90, 0x3C, 0x7F, 0x3C, 0x00,        // note on, then note on velocity 0 by running status
        0xE0, 0x00,                          // cut short by a new status
        0xC1, 0x05,                          // one data byte
    };
    p.feed(std::span<const uint8_t>(bytes.data(), 8), [&](const Message& m) { out.push_back(m); });
    p.feed(std::span<const uint8_t>(bytes.data() + 8, bytes.size() - 8), [&](const Message& m) { out.push_back(m); });
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0], (Message{0xB0, 0x07, 0x10}));
    EXPECT_EQ(out[1], (Message{0xB0, 0x11, 0x12}));
    EXPECT_TRUE(out[2].isNoteOn());
    EXPECT_TRUE(out[3].isNoteOff());
    EXPECT_EQ(out[4], (Message{0xC1, 0x05, 0x00}));
}

TEST(MidiLearn, CcSweepLearnedOntoCrossfaderTakesOverWhereItMeetsTheWindow)
{
    Rig r;
    r.learn("crossfader", {{0xB0, 0x08, 0x00}});
    EXPECT_EQ(r.meaningOf("crossfader"), Meaning::Absolute);
    EXPECT_EQ(r.surface.sets, 0) << "learning operates nothing";

    std::vector<double> seen;
    for (int v = 0; v <= 127; ++v) {
        r.send({0xB0, 0x08, uint8_t(v)});
        seen.push_back(r.surface.position("crossfader"));
    }
    EXPECT_DOUBLE_EQ(seen[0], 0.5) << "first touch far away";
    EXPECT_DOUBLE_EQ(seen[59], 0.5);
    EXPECT_NEAR(seen[60], 60 / 128.0, 1e-12) << "within 1/32 of the window's position";
    EXPECT_DOUBLE_EQ(seen[127], 1.0);
    for (size_t i = 61; i < seen.size(); ++i)
        EXPECT_GT(seen[i], seen[i - 1]);
}

TEST(MidiLearn, TellsRelativeFromAbsoluteFromTheFirstMessages)
{
    Rig r;
    r.learn("jogbtn(0)", {{0xB0, 0x10, 0x01}});
    EXPECT_EQ(r.meaningOf("jogbtn(0)"), Meaning::RelativeTwos);
    r.learn("eqlow(1)", {{0xB0, 0x11, 0x41}, {0xB0, 0x11, 0x41}});
    EXPECT_EQ(r.meaningOf("eqlow(1)"), Meaning::Relative64);
    // A fader moved around its middle sends each value once: absolute.
    r.learn("vol(0)", {{0xB0, 0x12, 60}, {0xB0, 0x12, 62}, {0xB0, 0x12, 63}, {0xB0, 0x12, 65}, {0xB0, 0x12, 66}});
    EXPECT_EQ(r.meaningOf("vol(0)"), Meaning::Absolute);
    r.learn("Pause(0)", {{0x80, 0x3C, 0x00}, {0x90, 0x3C, 0x7F}, {0x90, 0x3C, 0x00}});
    EXPECT_EQ(r.meaningOf("Pause(0)"), Meaning::Button);
    r.learn("Cue(0)", {{0xB1, 0x20, 0x7F}});
    EXPECT_EQ(r.meaningOf("Cue(0)"), Meaning::Button) << "a pad sending control change 127 / 0";
    r.learn("crossfader", {{0xE2, 0x00, 0x40}});
    EXPECT_EQ(r.meaningOf("crossfader"), Meaning::PitchBend);
}

TEST(MidiOperate, RelativeJogStepsAddUpBothWays)
{
    Rig r;
    r.learn("jogbtn(0)", {{0xB0, 0x10, 0x01}});
    for (int i = 0; i < 5; ++i)
        r.send({0xB0, 0x10, 0x01});
    for (int i = 0; i < 3; ++i)
        r.send({0xB0, 0x10, 0x7F});
    r.send({0xB0, 0x10, 0x7D});  // a fast turn back: -3
    EXPECT_EQ(r.surface.turned["jogbtn(0)"], 5 - 3 - 3);
}

TEST(MidiOperate, FourteenBitPairGivesTheFinePosition)
{
    Rig r;
    r.learn("vol(0)", {{0xB0, 0x07, 0x66}, {0xB0, 0x27, 0x00}});
    EXPECT_EQ(r.meaningOf("vol(0)"), Meaning::Absolute14);
    r.send({0xB0, 0x07, 0x66, 0xB0, 0x27, 0x10});  // 0x66 << 7 | 0x10 near the window's 0.8
    EXPECT_NEAR(r.surface.position("vol(0)"), positionOf14((0x66 << 7) | 0x10), 1e-12);
    r.send({0xB0, 0x27, 0x11});  // the low half alone moves it finely
    EXPECT_NEAR(r.surface.position("vol(0)"), positionOf14((0x66 << 7) | 0x11), 1e-12);
}

TEST(MidiSoftTakeover, FarTouchSlowApproachAndSingleJump)
{
    SoftTakeover t;
    EXPECT_FALSE(t.accept(0.0, 0.5)) << "first touch far away";
    EXPECT_FALSE(t.accept(0.2, 0.5));
    EXPECT_TRUE(t.accept(0.48, 0.5)) << "within 1/32";

    SoftTakeover jump;
    EXPECT_FALSE(jump.accept(0.0, 0.5));
    EXPECT_FALSE(jump.accept(1.0, 0.5)) << "knocked across from end to end";
    EXPECT_FALSE(jump.accept(0.9, 0.5));

    SoftTakeover cross;  // small steps that step over the window's position
    EXPECT_FALSE(cross.accept(0.42, 0.5));
    EXPECT_TRUE(cross.accept(0.54, 0.5)) << "a coarse step over it";
    cross.applied(0.54);
    EXPECT_TRUE(cross.accept(0.9, 0.54)) << "once taken over it follows";
    cross.applied(0.9);
    EXPECT_FALSE(cross.accept(0.95, 0.2)) << "the window moved it meanwhile (a song load)";
}

TEST(MidiSoftTakeover, FastSweepPastTheWindowDoesNotSlamTheFader)
{
    Rig r;
    r.learn("crossfader", {{0xB0, 0x08, 0x00}});
    for (int v : {0, 20, 40, 90, 110, 127})
        r.send({0xB0, 0x08, uint8_t(v)});
    EXPECT_DOUBLE_EQ(r.surface.position("crossfader"), 0.5);
    EXPECT_EQ(r.surface.sets, 0);
}

TEST(MidiOperate, ShiftLayerAndReleasesGoWhereThePressWent)
{
    Rig r;
    r.learn("Cue(0)", {{0x90, 0x40, 0x7F}});
    ASSERT_TRUE(r.midi->markShift("Cue(0)"));
    r.learn("Pause(0)", {{0x90, 0x3C, 0x7F}});
    // The second layer: learned while shift is held.
    r.midi->setLearning(true);
    r.send({0x90, 0x40, 0x7F});
    ASSERT_TRUE(r.midi->select("eqlow(1)"));
    r.send({0x90, 0x3C, 0x7F});
    r.send({0x90, 0x40, 0x00});
    r.midi->setLearning(false);
    r.surface.log.clear();

    r.send({0x90, 0x3C, 0x7F});
    r.send({0x90, 0x40, 0x7F});  // shift pressed while PLAY is held
    r.send({0x90, 0x3C, 0x00});
    r.send({0x90, 0x3C, 0x7F});
    r.send({0x90, 0x3C, 0x00});
    EXPECT_EQ(r.surface.log, (std::vector<std::string>{"press Pause(0)", "release Pause(0)", "press eqlow(1)",
                                                       "release eqlow(1)"}));
}

TEST(MidiOperate, PortGoneReleasesWhatItsPadsHeld)
{
    Rig r;
    r.learn("Cue(0)", {{0x90, 0x40, 0x7F}});
    r.midi->portOpened(PortEvent{7, "DJ Control:DJ Control MIDI 1 24:0", true, false});
    MessageQueue& q = r.queue;
    q.push(QueuedMessage{7, 3, {0x90, 0x40, 0x7F}, 0});
    r.midi->drain();
    r.midi->portClosed(7);
    EXPECT_EQ(r.surface.log, (std::vector<std::string>{"press Cue(0)", "release Cue(0)"}));
}

TEST(MidiLamps, SentOnChangeOnlyWithTheBindingsMessage)
{
    Rig r;
    r.learn("Pause(0)", {{0x91, 0x3C, 0x7F}});
    r.learn("Cue(0)", {{0xB0, 0x22, 0x7F}});
    using B = std::vector<uint8_t>;
    EXPECT_EQ(r.lamps, (std::vector<B>{B{0x91, 0x3C, 0}, B{0xB0, 0x22, 0}})) << "each lamp's state once";
    r.lamps.clear();
    r.midi->refreshLamps();
    r.surface.lamps["Pause(0)"] = true;
    r.midi->refreshLamps();
    r.midi->refreshLamps();
    r.surface.lamps["Pause(0)"] = false;
    r.midi->refreshLamps();
    EXPECT_EQ(r.lamps, (std::vector<B>{B{0x91, 0x3C, 127}, B{0x91, 0x3C, 0}}));
}

TEST(MidiFlood, TenThousandMovesCostOneOperationPerControlAndWakeUp)
{
    Rig r;
    r.learn("crossfader", {{0xB0, 0x08, 0x40}});
    r.midi->portOpened(PortEvent{3, "DJ Control:DJ Control MIDI 1 20:0", true, false});
    int wakes = 0;
    r.queue.setWake([&] { ++wakes; });
    for (int i = 0; i < 10000; ++i)
        r.queue.push(QueuedMessage{3, 3, {0xB0, 0x08, uint8_t(60 + i % 8)}, 0});
    EXPECT_EQ(wakes, 1) << "one wake-up until the window drains";
    EXPECT_EQ(r.queue.dropped(), 10000u - MessageQueue::kCapacity);
    int drains = 0;
    while (r.midi->drain())
        ++drains;
    EXPECT_EQ(drains, int(MessageQueue::kCapacity / MidiSystem::kMaxPerWakeUp) - 1 + 1);
    EXPECT_LE(r.surface.sets, drains + 1);
    EXPECT_GE(wakes, drains) << "a capped drain asks for another wake-up";
}

TEST(MidiMapping, SurvivesARestart)
{
    Rig r;
    r.learn("crossfader", {{0xB0, 0x08, 0x00}});
    r.learn("jogbtn(0)", {{0xB0, 0x10, 0x41}});
    r.learn("Pause(0)", {{0x90, 0x3C, 0x7F}});
    MidiSystem again(r.surface, r.queue, r.folder.string());
    // Plugged in anew: ALSA gives it other numbers; the mapping is the device's.
    const uint8_t play[] = {0x90, 0x3C, 0x7F};
    again.deliver("DJ Control:DJ Control MIDI 1 28:0", play);
    EXPECT_EQ(again.bindingsOf("jogbtn(0)").at(0).meaning, Meaning::Relative64);
    EXPECT_EQ(r.surface.log.back(), "press Pause(0)");
    EXPECT_TRUE(again.takeMessages().empty());
    EXPECT_TRUE(fs::exists(r.folder / "DJ Control_DJ Control MIDI 1.midimap"));
}

TEST(MidiMapping, DamagedLinesAreSkippedAndNamed)
{
    Rig r;
    const fs::path file = r.folder / mappingFileName("Pad:Pad 20:0");
    std::ofstream(file) << "# comment\nnote 1 60 Pause(0) button\ncc 17 7 crossfader absolute\n"
                           "pitchbend 1 - crossfader absolute\r\ncc 1 7 vol(0) absolute14 shifted\nnote\n";
    const auto read = readMappingFile(file.string());
    ASSERT_EQ(read.mapping.all().size(), 2u);
    EXPECT_EQ(read.mapping.all()[1], (Binding{{SourceKind::ControlChange, 0, 7}, true, "vol(0)", Meaning::Absolute14}));
    ASSERT_EQ(read.messages.size(), 3u);
    EXPECT_NE(read.messages[0].find(file.string() + "\" line 3"), std::string::npos);
    EXPECT_NE(read.messages[2].find("line 6"), std::string::npos);

    // Round trip of everything a line can say.
    Mapping m;
    m.bind({{SourceKind::PitchBend, 15, 0}, false, "pitch(1)", Meaning::PitchBend});
    m.bind({{SourceKind::Note, 2, 127}, false, "Cue(0)", Meaning::Shift});
    m.bind({{SourceKind::ControlChange, 9, 16}, true, "jogbtn(0)", Meaning::RelativeTwos});
    std::string error;
    ASSERT_TRUE(writeMappingFile(file.string(), m, &error)) << error;
    const auto back = readMappingFile(file.string());
    EXPECT_EQ(back.mapping.all(), m.all());
    EXPECT_TRUE(back.messages.empty());
}

TEST(MidiMapping, RandomBytesAndHundredThousandLinesNeitherCrashNorFlood)
{
    Rig r;
    const fs::path file = r.folder / "junk.midimap";
    {
        std::ofstream out(file, std::ios::binary);
        uint32_t x = 12345;
        for (int i = 0; i < 300000; ++i) {
            x = x * 1664525u + 1013904223u;
            out.put(char(x >> 24));
        }
        for (int i = 0; i < 100000; ++i)
            out << "cc 1 " << i % 128 << " crossfader absolute\n";
    }
    const auto read = readMappingFile(file.string());
    EXPECT_LE(read.messages.size(), kMaxLineMessages + 2);
    EXPECT_LE(read.mapping.all().size(), kMaxBindings);
}

TEST(MidiMapping, FileNamesHoldNothingAFolderCannot)
{
    EXPECT_EQ(mappingFileName("a/b\\c:d 20:0"), "a_b_c_d.midimap");
    EXPECT_EQ(mappingFileName("../..\x01"), "_.._.midimap");
    EXPECT_EQ(mappingFileName(""), "controller.midimap");
    const std::string longName(300, '\xE3');  // invalid bytes become U+FFFD, never cut in two
    const std::string name = mappingFileName(std::string(100, 'a') + "\xE3\x81\x82");
    EXPECT_TRUE(basic::isValidUtf8(name));
    EXPECT_TRUE(basic::isValidUtf8(mappingFileName(longName)));
}

}  // namespace
}  // namespace vx::midi
