#include "midi/midi_settings.h"

namespace vx::midi {

MidiSettings readMidiSettings(const basic::IniFile& ini)
{
    MidiSettings s;
    s.enabled = ini.get("midi", "enabled", "1") != "0";
    const std::string list = ini.get("midi", "excluded", "");
    size_t start = 0;
    while (start <= list.size()) {
        const size_t end = std::min(list.find(';', start), list.size());
        const std::string name = list.substr(start, end - start);
        if (const size_t a = name.find_first_not_of(' '); a != std::string::npos)
            s.excluded.push_back(name.substr(a, name.find_last_not_of(' ') - a + 1));
        start = end + 1;
    }
    return s;
}

void writeMidiSettings(basic::IniFile& ini, const MidiSettings& settings)
{
    std::string list;
    for (const std::string& name : settings.excluded)
        list += (list.empty() ? "" : ";") + name;
    ini.set("midi", "enabled", settings.enabled ? "1" : "0");
    ini.set("midi", "excluded", list);
}

}  // namespace vx::midi
