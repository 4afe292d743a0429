#pragma once
// One controller's bindings, in two layers (the second is looked up while shift is held), and its
// file: UTF-8 text, one binding a line:
//
//     # comment
//     note 1 60 Pause(0) button
//     cc 1 7 crossfader absolute14
//     pitchbend 3 - pitch(0) pitchbend
//     cc 1 16 jogbtn(0) relative-twos shifted
//
// kind (note, cc, pitchbend), channel 1..16, number 0..127 ("-" for pitch bend), control, meaning
// and, for the second layer, "shifted". Blanks separate the words; control names hold none.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "midi/binding.h"

namespace vx::midi {

class Mapping {
public:
    // The binding of a message's source: with shifted, the second layer first, then the first.
    const Binding* find(const Source& s, bool shifted) const;
    // Adds b, replacing what its source had in its layer and what its control had in its layer:
    // learning a control again moves it to the new message.
    void bind(Binding b);
    // Removes every binding of the control in both layers; how many there were.
    size_t clearControl(std::string_view control);
    // Turns the control's first-layer button bindings into shift buttons; false when it has none.
    bool markShift(std::string_view control);
    std::vector<Binding> bindingsOf(std::string_view control) const;
    const std::vector<Binding>& all() const { return bindings_; }
    bool empty() const { return bindings_.empty(); }

private:
    std::vector<Binding> bindings_;
};

// The controller's device name in a port name: ALSA appends the client and port numbers
// ("DJ Control:DJ Control MIDI 1 20:0"), which change when the device is plugged in again.
std::string deviceNameOf(std::string_view portName);

// The mapping file's name (no folder) for a port: its device name with every character a file
// name cannot hold replaced, at most 100 bytes, and ".midimap".
std::string mappingFileName(std::string_view portName);

// One line of the file for b, and back. parseBindingLine gives false for a damaged line.
std::string formatBindingLine(const Binding& b);
bool parseBindingLine(std::string_view line, Binding& out);

struct MappingReadResult {
    Mapping mapping;
    bool found = false;                 // the file exists (and could be read)
    std::vector<std::string> messages;  // damaged lines, a file cut short, a read error
};

// Reads at most kMaxMappingBytes and kMaxBindings; everything after is ignored with a message.
// Damaged lines are skipped, each with one message naming the file and the line (the first
// kMaxLineMessages, then one count).
inline constexpr size_t kMaxMappingBytes = 1 << 20;
inline constexpr size_t kMaxBindings = 4096;
inline constexpr size_t kMaxLineMessages = 10;
MappingReadResult readMappingFile(const std::string& path);

// Writes the whole mapping atomically (temporary file and rename); false with *error on failure,
// the old file untouched.
bool writeMappingFile(const std::string& path, const Mapping& mapping, std::string* error);

}  // namespace vx::midi
