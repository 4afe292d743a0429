#include "platform/sound_effects.h"

#include <array>

namespace vx::platform {
namespace {

const std::array<EffectClassInfo, kEffectKinds> kClasses{{
    {EffectKind::Echo, "GUID_DSFX_STANDARD_ECHO", "IID_DirectSoundFXEcho"},
    {EffectKind::Chorus, "GUID_DSFX_STANDARD_CHORUS", "IID_DirectSoundFXChorus"},
    {EffectKind::Flanger, "GUID_DSFX_STANDARD_FLANGER", "IID_DirectSoundFXFlanger"},
    {EffectKind::Distortion, "GUID_DSFX_STANDARD_DISTORTION", "IID_DirectSoundFXDistortion"},
    {EffectKind::Compressor, "GUID_DSFX_STANDARD_COMPRESSOR", "IID_DirectSoundFXCompressor"},
    {EffectKind::ParamEq, "GUID_DSFX_STANDARD_PARAMEQ", "IID_DirectSoundFXParamEq"},
    {EffectKind::Gargle, "GUID_DSFX_STANDARD_GARGLE", "IID_DirectSoundFXGargle"},
}};

bool in(float v, float lo, float hi) { return v >= lo && v <= hi; }  // false for a NaN
bool in(long v, long lo, long hi) { return v >= lo && v <= hi; }

bool valid(const EchoParameters& p, int) {
  return in(p.fWetDryMix, 0, 100) && in(p.fFeedback, 0, 100) && in(p.fLeftDelay, 1, 2000) &&
         in(p.fRightDelay, 1, 2000) && in(p.lPanDelay, 0, 1);
}
bool validModulation(const ModulationParameters& p, float maxDelay) {
  return in(p.fWetDryMix, 0, 100) && in(p.fDepth, 0, 100) && in(p.fFeedback, -99, 99) &&
         in(p.fFrequency, 0, 10) && in(p.lWaveform, 0, 1) && in(p.fDelay, 0, maxDelay) && in(p.lPhase, 0, 4);
}
bool valid(const ChorusParameters& p, int) { return validModulation(p, 20); }
bool valid(const FlangerParameters& p, int) { return validModulation(p, 4); }
bool valid(const DistortionParameters& p, int) {
  return in(p.fGain, -60, 0) && in(p.fEdge, 0, 100) && in(p.fPostEQCenterFrequency, 100, 8000) &&
         in(p.fPostEQBandwidth, 100, 8000) && in(p.fPreLowpassCutoff, 100, 8000);
}
bool valid(const CompressorParameters& p, int) {
  return in(p.fGain, -60, 60) && in(p.fAttack, 0.01f, 500) && in(p.fRelease, 50, 3000) &&
         in(p.fThreshold, -60, 0) && in(p.fRatio, 1, 100) && in(p.fPredelay, 0, 4);
}
bool valid(const ParamEqParameters& p, int) {
  return in(p.fCenter, 80, 16000) && in(p.fBandwidth, 1, 36) && in(p.fGain, -15, 15);
}
bool valid(const GargleParameters& p, int) { return in(p.lRateHz, 1, 1000) && in(p.lWaveShape, 0, 1); }

}  // namespace

bool effectKindOf(const std::string& classId, EffectKind& kind) {
  for (const EffectClassInfo& c : kClasses)
    if (classId == c.classId) {
      kind = c.kind;
      return true;
    }
  return false;
}

const EffectClassInfo& effectClassInfo(EffectKind kind) { return kClasses[static_cast<size_t>(kind)]; }

EffectParameters defaultParameters(EffectKind kind) {
  switch (kind) {
    case EffectKind::Echo: return EchoParameters{};
    case EffectKind::Chorus: return ChorusParameters{};
    case EffectKind::Flanger: return FlangerParameters{};
    case EffectKind::Distortion: return DistortionParameters{};
    case EffectKind::Compressor: return CompressorParameters{};
    case EffectKind::ParamEq: return ParamEqParameters{};
    case EffectKind::Gargle: return GargleParameters{};
  }
  return EchoParameters{};
}

bool parametersValid(const EffectParameters& p, int sampleRate) {
  return std::visit([sampleRate](const auto& record) { return valid(record, sampleRate); }, p);
}

}  // namespace vx::platform
