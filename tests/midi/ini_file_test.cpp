// velvoxplus.ini: unknown sections and keys survive a rewrite; damaged lines are named.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "basic/ini_file.h"
#include "basic/textfile.h"
#include "midi/midi_settings.h"

namespace vx::midi {
namespace {

namespace fs = std::filesystem;

TEST(PlusSettings, RewriteKeepsUnknownSectionsKeysAndDamagedLines)
{
    const fs::path file = fs::temp_directory_path() / ("velvoxplus-" + std::to_string(::getpid()) + ".ini");
    std::ofstream(file) << "; later features\n[Future]\nwidth = 3\n\n[MIDI]\nexcluded=Midi Through; Pad\n"
                           "colour=blue\nthis line is damaged\n\n[other]\nx=1\n";
    basic::IniFile ini;
    std::vector<std::string> messages;
    ASSERT_TRUE(ini.load(file.string(), messages));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(" 8 行目"), std::string::npos);

    MidiSettings s = readMidiSettings(ini);
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.excluded, (std::vector<std::string>{"Midi Through", "Pad"}));
    s.enabled = false;
    s.excluded = {"Pad\nx"};
    writeMidiSettings(ini, s);
    std::string error;
    ASSERT_TRUE(ini.save(file.string(), &error)) << error;

    const auto lines = basic::readTextLines(file.string()).lines;
    EXPECT_EQ(lines, (std::vector<std::string>{"; later features", "[Future]", "width = 3", "", "[MIDI]",
                                               "excluded=Pad x", "colour=blue", "this line is damaged",
                                               "enabled=0", "", "[other]", "x=1"}));
    fs::remove(file);
}

}  // namespace
}  // namespace vx::midi
