#include "audio/decode/midi_decoder.h"

#include <fluidsynth.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "audio/decode/midi_timing.h"
#include "audio/decode/sound_font.h"

namespace vx::audio {
namespace {

constexpr int kMidiRate = 44100;

void silenceLibraryLog() {
  static const bool once = [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) fluid_set_log_function(level, nullptr, nullptr);
    return true;
  }();
  (void)once;
}

// The synthesiser renders on the reader thread at its own pace: the file's events follow the
// samples rendered, not a wall clock.
class MidiDecoder : public Decoder {
 public:
  MidiDecoder(std::string bytes, MidiTiming timing) : bytes_(std::move(bytes)), timing_(std::move(timing)) {}
  ~MidiDecoder() override;
  bool open(const std::string& soundFont, std::string& error);
  const SourceFormat& format() const override { return format_; }
  int read(float* out, int frames) override;
  bool seek(int64_t frame) override;

 private:
  bool startPlayer(int64_t tick);

  std::string bytes_;
  MidiTiming timing_;
  SourceFormat format_;
  fluid_settings_t* settings_ = nullptr;
  fluid_synth_t* synth_ = nullptr;
  fluid_player_t* player_ = nullptr;
  int64_t position_ = 0;
};

MidiDecoder::~MidiDecoder() {
  if (player_) delete_fluid_player(player_);
  if (synth_) delete_fluid_synth(synth_);
  if (settings_) delete_fluid_settings(settings_);
}

bool MidiDecoder::open(const std::string& soundFont, std::string& error) {
  settings_ = new_fluid_settings();
  fluid_settings_setnum(settings_, "synth.sample-rate", kMidiRate);
  fluid_settings_setstr(settings_, "player.timing-source", "sample");
  fluid_settings_setint(settings_, "synth.cpu-cores", 1);
  fluid_settings_setnum(settings_, "synth.gain", 0.5);
  synth_ = new_fluid_synth(settings_);
  if (!synth_ || fluid_synth_sfload(synth_, soundFont.c_str(), 1) == FLUID_FAILED) {
    error = "the sound font " + soundFont + " cannot be loaded";
    return false;
  }
  if (!startPlayer(0)) {
    error = "the MIDI file cannot be played";
    return false;
  }
  format_.sampleRate = kMidiRate;
  format_.channels = 2;
  format_.lengthFrames = static_cast<int64_t>(timing_.durationSeconds() * kMidiRate + 0.5);
  format_.durationSeconds = static_cast<double>(format_.lengthFrames) / kMidiRate;
  return true;
}

bool MidiDecoder::startPlayer(int64_t tick) {
  if (player_) delete_fluid_player(player_);
  fluid_synth_system_reset(synth_);
  player_ = new_fluid_player(synth_);
  if (!player_ || fluid_player_add_mem(player_, bytes_.data(), bytes_.size()) != FLUID_OK ||
      fluid_player_play(player_) != FLUID_OK)
    return false;
  if (tick == 0) return true;
  // The player reads the file on its first step; only then does it know where a tick lies. The
  // sound of that step is thrown away, and the jump silences what it started.
  float discard[2 * 64];
  fluid_synth_write_float(synth_, 64, discard, 0, 2, discard, 1, 2);
  tick = std::min<int64_t>(tick, fluid_player_get_total_ticks(player_));
  return fluid_player_seek(player_, static_cast<int>(tick)) == FLUID_OK;
}

int MidiDecoder::read(float* out, int frames) {
  int n = static_cast<int>(std::clamp<int64_t>(format_.lengthFrames - position_, 0, frames));
  if (n == 0) return 0;
  if (fluid_synth_write_float(synth_, n, out, 0, 2, out, 1, 2) != FLUID_OK) return 0;
  position_ += n;
  return n;
}

bool MidiDecoder::seek(int64_t frame) {
  position_ = std::clamp<int64_t>(frame, 0, format_.lengthFrames);
  return startPlayer(timing_.tickAt(static_cast<double>(position_) / kMidiRate));
}

}  // namespace

bool looksLikeMidi(const std::string& firstBytes) { return firstBytes.rfind("MThd", 0) == 0; }

OpenResult openMidiDecoder(const std::string& path) {
  silenceLibraryLog();
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::optional<MidiTiming> timing = MidiTiming::parse(bytes);
  if (!timing || timing->lastTick() <= 0) return openResult(path, nullptr, false, "the MIDI file is damaged");
  std::string soundFont = findSoundFont();
  if (soundFont.empty()) return openResult(path, nullptr, false, missingSoundFontMessage());
  auto decoder = std::make_unique<MidiDecoder>(std::move(bytes), std::move(*timing));
  std::string error;
  bool ok = decoder->open(soundFont, error);
  return openResult(path, std::move(decoder), ok, error);
}

}  // namespace vx::audio
