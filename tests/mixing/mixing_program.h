#pragma once
// The whole program as the headless driver runs it (engine on the virtual device, scripted
// dialogs, real shell services), with its main output captured, driven by scenario commands.
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "audio/analysis/tempo_analyser.h"
#include "audio/sound_system.h"
#include "control/recording_log.h"
#include "core/program.h"
#include "driver/runner.h"
#include "driver/scripted_dialogs.h"
#include "platform/posix_shell.h"

namespace vx::test {

class MixingProgram {
 public:
  // Starts the program in `home` (made when missing) up to its main window, on the virtual
  // device unless given another sound system; with `analyse`, the songs' analysis runs as in the
  // headless driver (each tick waits for it).
  explicit MixingProgram(const std::string& home, std::unique_ptr<audio::SoundSystem> sound = nullptr,
                         bool analyse = false);
  MixingProgram(const MixingProgram&) = delete;
  MixingProgram& operator=(const MixingProgram&) = delete;

  // One scenario command ("drop title1(0) /x", "set autoplay2.checked True", "tick 10"); a
  // failed expectation or a mistake throws.
  void run(const std::string& command);
  void tick(long n = 1) { run("tick " + std::to_string(n)); }
  // On a real device: lets `seconds` of sound play, delivering the players' events meanwhile.
  void wait(double seconds);

  // The main output since the start or the last clear: interleaved stereo at 44.1 kHz.
  std::vector<float> out;
  std::ostringstream log;  // what the driver prints (dialogs, notes)

 private:
  std::unique_ptr<audio::SoundSystem> sound_;
  driver::ScriptedDialogs dialogs_;
  control::RecordingLog recorder_;
  platform::PosixShell shell_;
  std::unique_ptr<audio::SettledTempoAnalyser> tempo_;

 public:
  Program p;

 private:
  std::unique_ptr<driver::Runner> runner_;
  int line_ = 0;
};

// A mono 16-bit WAV of a sine at `hz` and `amplitude` (0..1), `seconds` long, at the output's rate (44.1 kHz).
void writeToneSong(const std::string& path, double hz, double amplitude, double seconds);

}  // namespace vx::test
