#pragma once
// Channel messages and the byte-stream reader that finds them. Only channel voice messages reach
// the rest of MIDI: system exclusive, system common and realtime bytes (clock, active sensing)
// are dropped where they stand.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vx::midi {

enum class MessageType : uint8_t {
    NoteOff = 0x8,
    NoteOn = 0x9,
    PolyPressure = 0xA,
    ControlChange = 0xB,
    ProgramChange = 0xC,
    ChannelPressure = 0xD,
    PitchBend = 0xE,
};

struct Message {
    uint8_t status = 0;  // 0x80..0xEF
    uint8_t data1 = 0;
    uint8_t data2 = 0;

    MessageType type() const { return static_cast<MessageType>(status >> 4); }
    int channel() const { return status & 0x0F; }  // 0..15
    // A note on with velocity 0 is a note off.
    bool isNoteOn() const { return type() == MessageType::NoteOn && data2 != 0; }
    bool isNoteOff() const { return type() == MessageType::NoteOff || (type() == MessageType::NoteOn && data2 == 0); }
    int pitchBend() const { return data1 | (data2 << 7); }  // 0..16383, centre 8192
    bool operator==(const Message&) const = default;
};

// How many data bytes follow a channel status byte.
int dataBytesFor(uint8_t status);

// Reads one port's bytes in any pieces. Keeps running status; a status byte in the middle of a
// message drops the incomplete message; realtime bytes (F8..FF) may stand anywhere and are
// skipped without disturbing the message around them; system exclusive is skipped up to its end.
class Parser {
public:
    // Calls sink(const Message&) for every complete channel message in bytes.
    template <typename Sink>
    void feed(std::span<const uint8_t> bytes, Sink&& sink)
    {
        for (uint8_t b : bytes) {
            Message m;
            if (step(b, m))
                sink(m);
        }
    }
    // Forgets a message in progress and the running status (the port went away).
    void reset() { *this = Parser{}; }

private:
    bool step(uint8_t byte, Message& out);

    uint8_t running_ = 0;  // 0 = no running status
    uint8_t data_[2] = {};
    int have_ = 0;
    bool inSysex_ = false;
};

}  // namespace vx::midi
