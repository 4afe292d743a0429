#pragma once
#include "platform/dialogs.h"
#include "platform/dj_mixer.h"
#include "platform/media_player.h"
#include "platform/monitor_library.h"
#include "platform/recording_device.h"
#include "platform/shell.h"
#include "platform/sound_device.h"
#include "platform/tempo_analysis.h"
#include "platform/wave_out.h"

namespace vx::platform {

// The ports the logic is given; the composition root owns the objects behind them.
struct Ports {
  MediaPlayer* player[2] = {nullptr, nullptr};
  MonitorLibrary* monitor = nullptr;  // nullptr = the monitor library is missing
  WaveOut* waveOut = nullptr;
  SoundDevice* sound = nullptr;
  RecordingDevice* recorder = nullptr;
  Dialogs* dialogs = nullptr;
  Shell* shell = nullptr;
  TempoAnalysis* tempo = nullptr;  // nullptr = no tempo analysis (the decks show no tempo)
  DjMixer* dj = nullptr;  // nullptr = no DJ panel sound controls
};

}  // namespace vx::platform
