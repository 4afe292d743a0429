#include "midi/message.h"

namespace vx::midi {

int dataBytesFor(uint8_t status)
{
    const int type = status >> 4;
    return (type == 0xC || type == 0xD) ? 1 : 2;
}

bool Parser::step(uint8_t byte, Message& out)
{
    if (byte >= 0xF8)  // realtime: clock, start, stop, active sensing, reset
        return false;
    if (byte == 0xF0) {
        inSysex_ = true;
        running_ = 0;
        have_ = 0;
        return false;
    }
    if (byte >= 0xF1) {  // system common and the end of system exclusive cancel running status
        inSysex_ = false;
        running_ = 0;
        have_ = 0;
        return false;
    }
    if (byte >= 0x80) {
        inSysex_ = false;
        running_ = byte;
        have_ = 0;
        return false;
    }
    if (inSysex_ || running_ == 0)
        return false;
    data_[have_++] = byte;
    if (have_ < dataBytesFor(running_))
        return false;
    out = Message{running_, data_[0], have_ > 1 ? data_[1] : uint8_t{0}};
    have_ = 0;
    return true;
}

}  // namespace vx::midi
