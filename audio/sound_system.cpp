#include "audio/sound_system.h"

#include <array>
#include <filesystem>

#include "audio/decode/reader.h"
#include "audio/devices/capture_sdl.h"
#include "audio/devices/output_slot.h"
#include "audio/devices/sdl_output.h"
#include "audio/dj_controls.h"
#include "audio/engine/cue_feed.h"
#include "audio/engine/deck_player.h"
#include "audio/engine/master_level.h"
#include "audio/engine/master_tap.h"
#include "audio/engine/mixer.h"
#include "audio/engine/monitor_player.h"
#include "audio/engine/stretch_share.h"
#include "audio/record/capture_tone.h"
#include "audio/record/wave_recorder.h"
#include "audio/sampler/sampler_device.h"

namespace vx::audio {
namespace {

const char* const kVirtualOutputName = "Velvox virtual output";

class EngineSoundSystem : public SoundSystem {
 public:
  explicit EngineSoundSystem(const SoundSystemOptions& options);
  ~EngineSoundSystem() override;

  platform::MediaPlayer& player(int deck) override { return decks_[static_cast<size_t>(deck & 1)]; }
  platform::MonitorLibrary& monitor() override { return monitor_; }
  platform::WaveOut& waveOut() override { return master_; }
  platform::SoundDevice& soundDevice() override { return sampler_; }
  platform::DjMixer& djMixer() override { return dj_; }
  platform::RecordingDevice* recordingDevice() override { return recorder_.get(); }
  void deliverEvents() override;
  bool idle() const override;
  void renderVirtual(int frames) override;
  void renderVirtualUnwaited(int frames) override;
  void holdReader() override {
    if (options_.virtualDevice) reader_.hold(true);
  }
  bool usingVirtualDevice() const override { return options_.virtualDevice || mainOut_->onClock(); }
  std::string deviceMessage() const override;
  void captureVirtual(std::vector<float>* main, std::vector<float>* monitor) override {
    captureMain_ = main;
    captureMonitor_ = monitor;
  }

 private:
  std::vector<std::string> deviceNames() const;
  int mainDeviceIndex() const;
  void routeMonitor(int device);
  void renderInto(Mixer& mixer, int frames, std::vector<float>* capture);
  void buildRecorder();
  bool monitorShared() const;
  void shareStretching();

  SoundSystemOptions options_;
  std::unique_ptr<SdlAudio> sdl_;  // none for the virtual device
  Reader reader_;
  Mixer main_;
  Mixer phones_;
  std::array<DeckPlayer, 2> decks_;
  MonitorPlayer monitor_;
  MasterLevel master_;
  SamplerDevice sampler_;
  CueFeed feed_;
  std::array<StretchShare, 2> shares_;
  int sharedDeck_ = -1;  // the deck whose share the monitor was last told to take (-1: none)
  uint64_t sharedSerial_ = 0, monitorSerial_ = 0;
  DjControls dj_;
  bool monitorRouted_ = false;
  std::string monitorDevice_;  // the name the monitor's output was last routed to ("" = the default)
  // The recorder's sources and device; the device goes before its sources.
  std::unique_ptr<CaptureTone> tone_;
  std::unique_ptr<SdlCapture> capture_;
  std::unique_ptr<MasterTap> tap_;
  std::unique_ptr<WaveRecorder> recorder_;
  // Declared last: destroyed first, so that nothing renders while the rest is taken down.
  std::unique_ptr<OutputSlot> mainOut_;
  std::unique_ptr<OutputSlot> monitorOut_;
  std::vector<float> scratch_;
  std::vector<float>* captureMain_ = nullptr;
  std::vector<float>* captureMonitor_ = nullptr;
};

EngineSoundSystem::EngineSoundSystem(const SoundSystemOptions& options)
    : options_(options),
      sdl_(options.virtualDevice ? nullptr : std::make_unique<SdlAudio>(options.bufferFrames, options.sampleRate)),
      main_(2, options.sampleRate),
      phones_(1, options.sampleRate, RateConverter::Quality::Preview),
      decks_{DeckPlayer(0, main_, reader_), DeckPlayer(1, main_, reader_)},
      monitor_(phones_, reader_, [this](int device) { routeMonitor(device); }),
      master_(main_, [this] { return deviceNames(); }, [this] { return mainDeviceIndex(); }),
      sampler_(main_),
      dj_(main_, phones_, feed_,
          {[this] { return monitorShared(); }, [this] { return mainOut_ && !mainOut_->rendering(); }}) {
  buildRecorder();
  for (int d = 0; d < 2; ++d) main_.offerStretched(d, &shares_[static_cast<size_t>(d)]);
  if (options_.virtualDevice) return;
  mainOut_ = std::make_unique<OutputSlot>(main_, *sdl_, options.sampleRate, options.bufferFrames);
  monitorOut_ = std::make_unique<OutputSlot>(phones_, *sdl_, options.sampleRate, options.bufferFrames);
  mainOut_->open(options.mainDevice);
}

EngineSoundSystem::~EngineSoundSystem() {
  recorder_.reset();
  monitorOut_.reset();
  mainOut_.reset();
}

void EngineSoundSystem::buildRecorder() {
  CaptureSource* input = nullptr;
  if (options_.virtualDevice) input = (tone_ = std::make_unique<CaptureTone>(options_.sampleRate)).get();
  else input = (capture_ = std::make_unique<SdlCapture>(*sdl_)).get();
  tap_ = std::make_unique<MasterTap>(main_, options_.virtualDevice);
  std::string spool = options_.recordingSpool;
  if (spool.empty()) spool = options_.virtualDevice ? std::filesystem::temp_directory_path().string() : defaultSpoolFolder();
  recorder_ = std::make_unique<WaveRecorder>(*input, tap_.get(), spool);
}

std::vector<std::string> EngineSoundSystem::deviceNames() const {
  if (!sdl_) return {kVirtualOutputName};
  return sdl_->outputNames();
}

// The device asked for, else the system's default. A default SDL cannot name counts as the first
// listed: with one device, the usual laptop, that is the right answer.
int EngineSoundSystem::mainDeviceIndex() const {
  if (!sdl_) return 0;
  const std::string name = options_.mainDevice.empty() ? sdl_->defaultOutputName() : options_.mainDevice;
  const std::vector<std::string> names = deviceNames();
  if (name.empty()) return 0;
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return options_.mainDevice.empty() ? 0 : -1;
}

void EngineSoundSystem::routeMonitor(int device) {
  if (!monitorOut_) return;
  monitorDevice_.clear();
  monitorRouted_ = device >= 0;
  if (device < 0) {
    monitorOut_->close();
    dj_.routeChanged();
    return;
  }
  std::vector<std::string> names = deviceNames();
  monitorDevice_ = device < static_cast<int>(names.size()) ? names[static_cast<size_t>(device)] : "";
  monitorOut_->open(monitorDevice_);
  dj_.routeChanged();
}

bool EngineSoundSystem::monitorShared() const {
  // The virtual device keeps the monitor's output apart (captureVirtual), as a second card would.
  if (!sdl_ || !monitorRouted_) return false;
  auto named = [this](const std::string& name) { return name.empty() ? sdl_->defaultOutputName() : name; };
  return named(monitorDevice_) == named(options_.mainDevice);
}

// With key lock, the monitor plays the stretched frames of a deck that holds its file instead of
// stretching it again; its voice takes them only where they are the ones it would make.
void EngineSoundSystem::shareStretching() {
  int deck = -1;
  const uint64_t monitorSerial = monitor_.trackSerial();
  const bool decksChanged = sharedDeck_ >= 0 && decks_[static_cast<size_t>(sharedDeck_)].trackSerial() != sharedSerial_;
  if (monitorSerial == monitorSerial_ && !decksChanged && sharedDeck_ >= 0) return;
  if (!monitor_.file().empty())
    for (int d = 0; d < 2 && deck < 0; ++d)
      if (decks_[static_cast<size_t>(d)].file() == monitor_.file()) deck = d;
  const uint64_t serial = deck < 0 ? 0 : decks_[static_cast<size_t>(deck)].trackSerial();
  monitorSerial_ = monitorSerial;
  if (deck == sharedDeck_ && serial == sharedSerial_) return;
  sharedDeck_ = deck;
  sharedSerial_ = serial;
  Command c;
  c.kind = Command::SetShare;
  c.share = deck < 0 ? nullptr : &shares_[static_cast<size_t>(deck)];
  c.serial = serial;
  phones_.post(c);
}

void EngineSoundSystem::deliverEvents() {
  if (mainOut_) mainOut_->watch();
  if (monitorOut_) monitorOut_->watch();
  monitor_.update();
  shareStretching();
  for (DeckPlayer& deck : decks_) deck.deliverEvents();
  // The headphones wake for the master that is blended into them.
  phones_.wakeIfSounding();
}

bool EngineSoundSystem::idle() const {
  if (options_.virtualDevice) return false;
  return !mainOut_->rendering() && !monitorOut_->rendering();
}

std::string EngineSoundSystem::deviceMessage() const {
  if (!mainOut_) return "";
  return !mainOut_->message().empty() ? mainOut_->message() : monitorOut_->message();
}

void EngineSoundSystem::renderInto(Mixer& mixer, int frames, std::vector<float>* capture) {
  scratch_.resize(static_cast<size_t>(frames) * 2);
  mixer.render(scratch_.data(), frames);
  if (capture) capture->insert(capture->end(), scratch_.begin(), scratch_.end());
}

void EngineSoundSystem::renderVirtual(int frames) {
  if (!options_.virtualDevice || frames <= 0) return;
  // Take up the UI's changes first, then let the reader catch up with them, so that what is
  // rendered never depends on how fast the reader thread happened to be.
  main_.applyCommands();
  phones_.applyCommands();
  reader_.hold(false);
  reader_.waitIdle();
  renderVirtualUnwaited(frames);
}

void EngineSoundSystem::renderVirtualUnwaited(int frames) {
  if (!options_.virtualDevice || frames <= 0) return;
  renderInto(main_, frames, captureMain_);
  renderInto(phones_, frames, captureMonitor_);
  if (tone_) tone_->advance(frames);
  reader_.wake();
}

}  // namespace

std::unique_ptr<SoundSystem> createSoundSystem(const SoundSystemOptions& options) {
  return std::make_unique<EngineSoundSystem>(options);
}

}  // namespace vx::audio
