#include "tests/mixing/mixing_program.h"

#include <chrono>
#include <filesystem>
#include <thread>

#include "assembly/composition.h"
#include "driver/headless_ports.h"
#include "shell/startup.h"
#include "tests/audio/test_media.h"

namespace vx::test {

namespace {

platform::Ports portsOf(audio::SoundSystem& sound, platform::Dialogs& dialogs, platform::RecordingDevice& recorder,
                        platform::Shell& shell, platform::TempoAnalysis* tempo) {
  platform::Ports ports = assembly::soundPorts(sound);
  if (tempo) ports.tempo = tempo;
  ports.dialogs = &dialogs;
  ports.recorder = &recorder;
  ports.shell = &shell;
  return ports;
}

std::string madeFolder(const std::string& home) {
  std::filesystem::create_directories(home);
  return home;
}

}  // namespace

MixingProgram::MixingProgram(const std::string& home, std::unique_ptr<audio::SoundSystem> sound, bool analyse)
    : sound_(sound ? std::move(sound) : driver::createHeadlessSound()),
      dialogs_(log),
      shell_(madeFolder(home) + "/velvox.lock"),
      tempo_(analyse ? std::make_unique<audio::SettledTempoAnalyser>() : nullptr),
      p(portsOf(*sound_, dialogs_, recorder_, shell_, tempo_.get())) {
  assembly::placeProgram(p, assembly::HomePaths{home, home, VELVOX_BUILD_DIR});
  sound_->captureVirtual(&out, nullptr);
  assembly::wireProgram(p);
  shell::startProgram(p);
  sound_->deliverEvents();
  shell::splashDismiss(p);
  shell::mainFormPaint(p);
  sound_->deliverEvents();
  runner_ = std::make_unique<driver::Runner>(driver::Session{p, *sound_, dialogs_, recorder_, log},
                                             driver::kHeadlessSampleRate);
}

void MixingProgram::wait(double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < until) {
    sound_->deliverEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
}

void MixingProgram::run(const std::string& command) { runner_->runLine(command, ++line_, log); }

void writeToneSong(const std::string& path, double hz, double amplitude, double seconds) {
  constexpr int kRate = 44100;
  const auto stereo = audio::testing::sine(hz, amplitude, kRate, static_cast<int>(seconds * kRate));
  std::vector<float> mono(stereo.size() / 2);
  for (size_t i = 0; i < mono.size(); ++i) mono[i] = stereo[2 * i];
  audio::testing::writeWav(path, kRate, 1, mono);
}

}  // namespace vx::test
