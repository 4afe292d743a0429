#include "config/volume_control.h"

namespace vx::config {

namespace {

// PipeWire's and PulseAudio's own mixers first, then those of the desktops.
constexpr const char* kVolumeControls[] = {"pwvucontrol", "pavucontrol", "pavucontrol-qt", "mate-volume-control",
                                           "xfce4-mixer"};

}  // namespace

void startVolumeControl(Program& p) {
  if (!p.ports.shell) return;
  for (const char* program : kVolumeControls)
    if (p.ports.shell->startProcess(program)) return;
}

}  // namespace vx::config
