#include "audio/engine/master_level.h"

#include "audio/engine/mixer.h"
#include "audio/realtime/gain_law.h"

namespace vx::audio {

MasterLevel::MasterLevel(Mixer& mixer, std::function<std::vector<std::string>()> devices,
                         std::function<int()> mainDevice)
    : mixer_(mixer), devices_(std::move(devices)), mainDevice_(std::move(mainDevice)) {}

void MasterLevel::setVolume(uint32_t value) {
  value_ = value;
  Command c;
  c.kind = Command::SetMaster;
  c.left = gainFromWaveOut(value & 0xFFFFu);
  c.right = gainFromWaveOut(value >> 16);
  mixer_.post(c);
}

}  // namespace vx::audio
