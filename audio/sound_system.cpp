#include "audio/sound_system.h"

#include "audio/deck_player.h"
#include "audio/master_level.h"
#include "audio/monitor_player.h"
#include "audio/sampler_device.h"

namespace vx::audio {
namespace {

const char* const kVirtualDeviceName = "Velvox virtual output";

class VirtualSoundSystem : public SoundSystem {
 public:
  explicit VirtualSoundSystem(const SoundSystemOptions& options)
      : decks_{DeckPlayer(0, options.sampleRate), DeckPlayer(1, options.sampleRate)},
        monitor_(options.sampleRate),
        master_({kVirtualDeviceName}) {}

  platform::MediaPlayer& player(int deck) override { return decks_[deck & 1]; }
  platform::MonitorLibrary& monitor() override { return monitor_; }
  platform::WaveOut& waveOut() override { return master_; }
  platform::SoundDevice& soundDevice() override { return sampler_; }
  void deliverEvents() override {
    for (DeckPlayer& deck : decks_) deck.deliverEvents();
  }
  void renderVirtual(int frames) override {
    for (DeckPlayer& deck : decks_) deck.advance(frames);
    monitor_.advance(frames);
  }
  bool usingVirtualDevice() const override { return true; }
  std::string deviceMessage() const override { return ""; }

 private:
  DeckPlayer decks_[2];
  MonitorPlayer monitor_;
  MasterLevel master_;
  SamplerDevice sampler_;
};

}  // namespace

std::unique_ptr<SoundSystem> createSoundSystem(const SoundSystemOptions& options) {
  return std::make_unique<VirtualSoundSystem>(options);
}

}  // namespace vx::audio
