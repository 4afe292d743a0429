#pragma once
// A binding: which message of a controller operates which control, and how.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "midi/message.h"

namespace vx::midi {

// What a message names on its device: a note, a control change number, or the pitch bend of a
// channel. Pitch bend has number 0.
enum class SourceKind : uint8_t { Note, ControlChange, PitchBend };

struct Source {
    SourceKind kind = SourceKind::Note;
    uint8_t channel = 0;  // 0..15
    uint8_t number = 0;   // 0..127

    bool operator==(const Source&) const = default;
    uint32_t key() const { return (uint32_t(kind) << 16) | (uint32_t(channel) << 8) | number; }
};

// The source a message comes from; nullopt for messages MIDI does not bind (program change,
// aftertouch).
std::optional<Source> sourceOf(const Message& m);

enum class Meaning : uint8_t {
    Button,       // note on / off, or a control change >= 64 / < 64 (a pad that sends 127 / 0)
    Shift,        // a button held to reach the second layer; operates no control itself
    Absolute,     // control change 0..127 over the whole travel
    Absolute14,   // control change n (high 7 bits) with n + 32 (low 7 bits)
    PitchBend,    // 14-bit position
    Relative64,   // steps as value - 64 (65 = +1, 63 = -1)
    RelativeTwos, // steps in two's complement (1..63 = +1..+63, 65..127 = -63..-1)
};

std::string_view meaningName(Meaning m);
std::optional<Meaning> meaningFromName(std::string_view name);

inline bool isRelative(Meaning m) { return m == Meaning::Relative64 || m == Meaning::RelativeTwos; }
inline bool isAbsolute(Meaning m)
{
    return m == Meaning::Absolute || m == Meaning::Absolute14 || m == Meaning::PitchBend;
}
inline bool isButtonLike(Meaning m) { return m == Meaning::Button || m == Meaning::Shift; }

struct Binding {
    Source source;
    bool shifted = false;  // second layer: looked up while a shift button is held
    std::string control;   // the driver's reference
    Meaning meaning = Meaning::Button;

    bool operator==(const Binding&) const = default;
};

// 7-bit and 14-bit values to 0..1 with the middle value (64, 8192) exactly at 0.5, as knobs with a
// centre detent need.
double positionOf7(int value);
double positionOf14(int value);

// Relative steps of a control change value; 0 for a value that carries none.
int stepsOf(Meaning m, int value);

}  // namespace vx::midi
