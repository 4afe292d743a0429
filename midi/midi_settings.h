#pragma once
// The MIDI tab of the extended settings: section [midi] of velvoxplus.ini, the file beside the
// settings file that holds everything the classic settings file has no place for.
//
//     [midi]
//     enabled=1
//     excluded=Midi Through;Other Device

#include <string>
#include <vector>

#include "basic/ini_file.h"

namespace vx::midi {

inline constexpr const char* kPlusSettingsFile = "velvoxplus.ini";

struct MidiSettings {
    bool enabled = true;
    std::vector<std::string> excluded;  // port or device names (deviceNameOf) not to open
};

MidiSettings readMidiSettings(const basic::IniFile& ini);
// Changes only the [midi] keys this program knows; the rest of the file stays.
void writeMidiSettings(basic::IniFile& ini, const MidiSettings& settings);

}  // namespace vx::midi
