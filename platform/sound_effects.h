#pragma once
// The sampler's seven effects as the sound device offers them: their class and interface names,
// parameter records (field names, units, ranges and defaults of the standard effects the program
// was written against) and the result codes of a chain.
#include <cstdint>
#include <string>
#include <variant>

namespace vx::platform {

// Waveforms of the modulated delays and of the gargle.
constexpr long kWaveTriangle = 0;
constexpr long kWaveSine = 1;   // chorus and flanger
constexpr long kWaveSquare = 1; // gargle

struct EchoParameters {
  float fWetDryMix = 50;    // percent of wet signal, 0 .. 100
  float fFeedback = 50;     // percent fed back into the delay, 0 .. 100
  float fLeftDelay = 500;   // ms, 1 .. 2000
  float fRightDelay = 500;  // ms, 1 .. 2000
  long lPanDelay = 0;       // 1 = the echoes swap sides on every repeat
};

// Chorus and flanger share the record; their ranges differ only in fDelay.
struct ModulationParameters {
  float fWetDryMix = 50;  // percent, 0 .. 100
  float fDepth = 10;      // percent of the sweep, 0 .. 100
  float fFeedback = 25;   // percent, -99 .. 99
  float fFrequency = 1.1f;  // Hz of the sweep, 0 .. 10
  long lWaveform = kWaveSine;
  float fDelay = 16;      // ms before the sweep: chorus 0 .. 20, flanger 0 .. 4
  long lPhase = 3;        // right against left: 0..4 = -180, -90, 0, 90, 180 degrees
};
struct ChorusParameters : ModulationParameters {};
struct FlangerParameters : ModulationParameters {
  FlangerParameters() {
    fDepth = 100;
    fFeedback = -50;
    fFrequency = 0.25f;
    fDelay = 2;
    lPhase = 2;
  }
};

struct DistortionParameters {
  float fGain = -18;                     // dB after the distortion, -60 .. 0
  float fEdge = 15;                      // percent of drive, 0 .. 100
  float fPostEQCenterFrequency = 2400;   // Hz, 100 .. 8000
  float fPostEQBandwidth = 2400;         // Hz, 100 .. 8000
  float fPreLowpassCutoff = 8000;        // Hz, 100 .. 8000
};

struct CompressorParameters {
  float fGain = 0;          // dB of make-up gain, -60 .. 60
  float fAttack = 10;       // ms, 0.01 .. 500
  float fRelease = 200;     // ms, 50 .. 3000
  float fThreshold = -20;   // dB, -60 .. 0
  float fRatio = 3;         // n for n:1, 1 .. 100
  float fPredelay = 4;      // ms of look-ahead, 0 .. 4
};

struct ParamEqParameters {
  float fCenter = 8000;    // Hz, 80 .. 16000 (and below a third of the sample rate)
  float fBandwidth = 12;   // semitones, 1 .. 36
  float fGain = 0;         // dB at the centre, -15 .. 15
};

struct GargleParameters {
  long lRateHz = 20;             // 1 .. 1000
  long lWaveShape = kWaveTriangle;
};

using EffectParameters = std::variant<EchoParameters, ChorusParameters, FlangerParameters, DistortionParameters,
                                      CompressorParameters, ParamEqParameters, GargleParameters>;

// The seven effect classes, in the order of EffectParameters' alternatives.
enum class EffectKind { Echo, Chorus, Flanger, Distortion, Compressor, ParamEq, Gargle };
constexpr int kEffectKinds = 7;

struct EffectClassInfo {
  EffectKind kind;
  const char* classId;      // "GUID_DSFX_STANDARD_ECHO"
  const char* interfaceId;  // "IID_DirectSoundFXEcho"
};
// The class of `classId`; false when it names none of the seven.
bool effectKindOf(const std::string& classId, EffectKind& kind);
const EffectClassInfo& effectClassInfo(EffectKind kind);
// The record with its defaults.
EffectParameters defaultParameters(EffectKind kind);
inline EffectKind kindOf(const EffectParameters& p) { return static_cast<EffectKind>(p.index()); }
// True when every field lies in its range (the device refuses a record that does not).
bool parametersValid(const EffectParameters& p, int sampleRate);

// Per-effect results of setting a chain.
enum EffectResult : long {
  kFxPresent = 0,
  kFxLocHardware = 1,
  kFxLocSoftware = 2,
  kFxUnallocated = 3,
  kFxFailed = 4,
  kFxUnknown = 5,
};

}  // namespace vx::platform
