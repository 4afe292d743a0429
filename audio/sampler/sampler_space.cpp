#include "audio/sampler/sampler_space.h"

#include <algorithm>
#include <cmath>

namespace vx::audio {
namespace {

constexpr double kPi = 3.14159265358979323846;

double length(const platform::Vector3& v) {
  return std::sqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.y) * v.y + static_cast<double>(v.z) * v.z);
}

}  // namespace

long coneAttenuation(const Placement& p) {
  double d = length(p.position), o = length(p.orientation);
  if (d < 1e-9 || o < 1e-9) return 0;
  // Angle between the cone's axis and the way from the source to the listener.
  double dot = -(static_cast<double>(p.orientation.x) * p.position.x + static_cast<double>(p.orientation.y) * p.position.y +
                 static_cast<double>(p.orientation.z) * p.position.z);
  double angle = std::acos(std::clamp(dot / (d * o), -1.0, 1.0)) * 180.0 / kPi;
  double inside = std::clamp(p.insideAngle, 0L, 360L) / 2.0;
  double outside = std::max(inside, std::clamp(p.outsideAngle, 0L, 360L) / 2.0);
  if (angle <= inside) return 0;
  if (angle >= outside) return p.outsideVolume;
  return std::lround(static_cast<double>(p.outsideVolume) * (angle - inside) / (outside - inside));
}

float distanceGain(const Placement& p) {
  double d = length(p.position);
  return static_cast<float>(kMinimumDistance / std::max<double>(d, kMinimumDistance));
}

StereoGain directionGain(const Placement& p) {
  double horizontal = std::hypot(static_cast<double>(p.position.x), static_cast<double>(p.position.z));
  if (horizontal < 1e-9) return {1, 1};
  double side = p.position.x / horizontal;  // -1 full left .. 1 full right
  double theta = (side + 1.0) * kPi / 4.0;  // 0 .. pi/2
  float left = static_cast<float>(std::min(1.0, std::sqrt(2.0) * std::cos(theta)));
  float right = static_cast<float>(std::min(1.0, std::sqrt(2.0) * std::sin(theta)));
  return {std::max(0.0f, left), std::max(0.0f, right)};
}

StereoGain spatialGain(long volume, const Placement& p) {
  float g = gainFromHundredthsDb(volume) * distanceGain(p) * gainFromHundredthsDb(coneAttenuation(p));
  StereoGain dir = directionGain(p);
  return {g * dir.left, g * dir.right};
}

StereoGain panGain(long volume, long pan) { return deckGain(volume, pan, false); }

}  // namespace vx::audio
