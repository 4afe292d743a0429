#pragma once
// The sampler's sound device: buffers made from WAV files, each with the controls it was created
// with (volume, frequency, pan, 3D placement, effects), mixed into the main output. Units and
// result codes are those of the sound platform the sampler was written against, so the sampler's
// logic keeps its numbers: volume in hundredths of a decibel, frequency in Hz, 3D distances in
// units where the listener looks along +z with +x to its right and +y up.
//
// Threads: UI thread only, every object and function.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound_effects.h"

namespace vx::platform {

using SoundResult = int32_t;
constexpr SoundResult kSoundOk = 0;
constexpr SoundResult kSoundIncomplete = 0x08780014;  // the chain is set, some effects are not
constexpr SoundResult kSoundInvalidParam = static_cast<SoundResult>(0x80070057u);
constexpr SoundResult kSoundOutOfMemory = static_cast<SoundResult>(0x8007000Eu);
constexpr SoundResult kSoundNoInterface = static_cast<SoundResult>(0x80004002u);
constexpr SoundResult kSoundGeneric = static_cast<SoundResult>(0x80004005u);
constexpr SoundResult kSoundControlUnavailable = static_cast<SoundResult>(0x8878001Eu);
constexpr SoundResult kSoundInvalidCall = static_cast<SoundResult>(0x88780032u);
constexpr SoundResult kSoundBadFormat = static_cast<SoundResult>(0x88780064u);
constexpr SoundResult kSoundNoDriver = static_cast<SoundResult>(0x88780078u);
constexpr SoundResult kSoundBufferTooSmall = static_cast<SoundResult>(0x887800B4u);
constexpr SoundResult kSoundFileNotFound = static_cast<SoundResult>(0x80070002u);

// Control flags of a buffer.
constexpr long kCtrl3D = 0x10;
constexpr long kCtrlFrequency = 0x20;
constexpr long kCtrlPan = 0x40;
constexpr long kCtrlVolume = 0x80;
constexpr long kCtrlFx = 0x200;

// Status bits and play flags.
constexpr long kStatusPlaying = 1;
constexpr long kStatusLooping = 4;
constexpr long kPlayLooping = 1;

constexpr long kFrequencyMin = 100;
constexpr long kFrequencyMax = 100000;
// The shortest buffer that may carry effects.
constexpr int kEffectsMinimumMs = 150;

struct Vector3 {
  float x = 0, y = 0, z = 0;
};

// A buffer's 3D placement against the device's default listener (at the origin, looking along
// +z). Settings apply at once; the sound glides to them within one block.
class SoundBuffer3D {
 public:
  virtual ~SoundBuffer3D() = default;
  virtual SoundResult setPosition(float x, float y, float z) = 0;
  virtual Vector3 position() const = 0;
  // Degrees, 0 .. 360, inside <= outside. Inside the inner cone the sound is at full level,
  // outside the outer one at the outside volume, in between it fades.
  virtual SoundResult setConeAngles(long inside, long outside) = 0;
  virtual void coneAngles(long& inside, long& outside) const = 0;
  virtual SoundResult setConeOutsideVolume(long hundredthsDb) = 0;
  virtual long coneOutsideVolume() const = 0;
  virtual SoundResult setConeOrientation(float x, float y, float z) = 0;
  virtual Vector3 coneOrientation() const = 0;
};

// One effect of a buffer's chain; its parameters change the running sound at once.
class SoundEffect {
 public:
  virtual ~SoundEffect() = default;
  virtual EffectKind kind() const = 0;
  // The record last set (its defaults until then).
  virtual EffectParameters parameters() const = 0;
  // kSoundInvalidParam (nothing changes) for a record of another effect or a field out of range.
  virtual SoundResult setParameters(const EffectParameters& record) = 0;
};

// A sound made from one file. Destroying it releases it: it falls silent at once.
class SoundBuffer {
 public:
  virtual ~SoundBuffer() = default;
  virtual long flags() const = 0;
  // kStatusPlaying, plus kStatusLooping while it plays looped.
  virtual long status() const = 0;
  // Plays from the current position, once (0) or looped (kPlayLooping); a playing buffer takes
  // the new flags and goes on from where it is.
  virtual SoundResult play(long flags) = 0;
  // Stops where it is; the position stays.
  virtual SoundResult stop() = 0;
  // Sample frames from the start; beyond the end is kSoundInvalidParam.
  virtual SoundResult setCurrentPosition(long frame) = 0;
  virtual long currentPosition() const = 0;
  virtual long frames() const = 0;
  // Each setter needs its control flag (kSoundControlUnavailable without it) and refuses values
  // out of range with kSoundInvalidParam. Volume -10000 .. 0; pan -10000 (left) .. 10000 (right);
  // frequency kFrequencyMin .. kFrequencyMax, or 0 for the file's own rate.
  virtual SoundResult setVolume(long hundredthsDb) = 0;
  virtual long volume() const = 0;
  virtual SoundResult setPan(long pan) = 0;
  virtual long pan() const = 0;
  virtual SoundResult setFrequency(long hz) = 0;
  virtual long frequency() const = 0;
  // The 3D placement; null for a buffer made without kCtrl3D.
  virtual SoundBuffer3D* spatial() = 0;
  // Replaces the effect chain by effects of the named classes, in order (none removes every
  // effect). Needs kCtrlFx and a stopped buffer (kSoundInvalidCall while it plays). `results`
  // gets one code per class: kFxLocSoftware, or kFxUnknown for a name that is no effect class (then
  // the result is kSoundIncomplete). A chain refused as a whole leaves the old one in place.
  virtual SoundResult setEffects(const std::vector<std::string>& classIds, std::vector<long>* results) = 0;
  // The class names of the chain's effects, in order.
  virtual std::vector<std::string> effectClasses() const = 0;
  // The `index`-th effect of class `classId` in the chain, asked for by its interface name;
  // null when there is none.
  virtual SoundEffect* effect(const std::string& classId, int index, const std::string& interfaceId) = 0;
};

class SoundDevice {
 public:
  virtual ~SoundDevice() = default;
  // Creates the device on the default output; false when there is none.
  virtual bool create() = 0;
  // Releases the device: buffers still held fall silent and refuse to play.
  virtual void release() = 0;
  virtual bool ready() const = 0;
  // A buffer holding the whole decoded file (any rate, 8 to 32 bits, integer or float, any
  // channel count; more than two are mixed down to stereo) with the controls of `flags`. Null on
  // failure with `result`: kSoundInvalidParam for 3D control on a file that is not mono, for an
  // empty file or for flags that do not go together (3D with pan, effects with frequency);
  // kSoundBufferTooSmall for effects on a file shorter than kEffectsMinimumMs; kSoundOutOfMemory
  // for a file too large to hold; kSoundBadFormat for a file that cannot be read as sound;
  // kSoundNoDriver when the device is not created.
  virtual std::unique_ptr<SoundBuffer> createBufferFromFile(const std::string& path, long flags,
                                                            SoundResult& result) = 0;
};

}  // namespace vx::platform
