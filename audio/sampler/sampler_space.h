#pragma once
// Where a buffer sounds: its volume, its pan or its 3D placement turned into the gains of the
// left and right output. Pure; any thread (the UI thread computes, the engine glides to them).
#include "audio/realtime/gain_law.h"
#include "platform/sound_device.h"

namespace vx::audio {

// A 3D placement with the platform's defaults: at the listener, cone without effect.
struct Placement {
  platform::Vector3 position{};
  long insideAngle = 360, outsideAngle = 360;  // degrees
  long outsideVolume = 0;                      // hundredths of a decibel
  platform::Vector3 orientation{0, 0, 1};
};

// A sound at distance d is heard at 1/d of its level (from one unit on: closer is full level).
constexpr float kMinimumDistance = 1.0f;

// Hundredths of a decibel the cone takes away for a listener at the origin.
long coneAttenuation(const Placement& p);
// Gain of a source at the placement's distance.
float distanceGain(const Placement& p);
// Pan of a direction: the far side turned down with a cosine law, the near side at full level;
// straight ahead, behind and at the listener both sides are full.
StereoGain directionGain(const Placement& p);

// Output gains of a mono buffer placed in 3D at `volume` (hundredths of a decibel).
StereoGain spatialGain(long volume, const Placement& p);
// Output gains of a buffer without 3D: a mono one sounds on both sides at full, a stereo one keeps
// its sides; `pan` turns down the far side as a deck's balance does.
StereoGain panGain(long volume, long pan);

}  // namespace vx::audio
