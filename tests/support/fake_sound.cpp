#include "tests/support/fake_sound.h"

#include <algorithm>
#include <fstream>

#include "tests/support/fake_ports.h"

namespace vx::test {
namespace {

using platform::SoundResult;

class FakeEffect : public platform::SoundEffect {
 public:
  explicit FakeEffect(platform::EffectKind kind) : kind_(kind), record_(platform::defaultParameters(kind)) {}
  platform::EffectKind kind() const override { return kind_; }
  platform::EffectParameters parameters() const override { return record_; }
  SoundResult setParameters(const platform::EffectParameters& record) override {
    if (platform::kindOf(record) != kind_ || !platform::parametersValid(record, 44100)) return platform::kSoundInvalidParam;
    record_ = record;
    ++sets;
    return platform::kSoundOk;
  }
  int sets = 0;

 private:
  platform::EffectKind kind_;
  platform::EffectParameters record_;
};

}  // namespace

FakeSoundBuffer::FakeSoundBuffer(FakeSoundDevice& d, std::string p, long flags, const FakeSoundFile& f)
    : device(d), path(std::move(p)), flagsValue(flags), file(f), frequencyValue(f.sampleRate) {
  device.live.push_back(this);
}

FakeSoundBuffer::~FakeSoundBuffer() {
  device.live.erase(std::remove(device.live.begin(), device.live.end(), this), device.live.end());
  device.record("released " + path);
}

SoundResult FakeSoundBuffer::play(long flags) {
  record("play " + std::to_string(flags));
  statusValue = platform::kStatusPlaying | ((flags & platform::kPlayLooping) ? platform::kStatusLooping : 0);
  return platform::kSoundOk;
}

SoundResult FakeSoundBuffer::stop() {
  record("stop");
  statusValue = 0;
  return platform::kSoundOk;
}

SoundResult FakeSoundBuffer::setCurrentPosition(long frame) {
  record("position " + std::to_string(frame));
  positionValue = frame;
  return platform::kSoundOk;
}

SoundResult FakeSoundBuffer::setVolume(long v) {
  if (!(flagsValue & platform::kCtrlVolume)) return platform::kSoundControlUnavailable;
  if (v < -10000 || v > 0) return platform::kSoundInvalidParam;
  record("volume " + std::to_string(v));
  volumeValue = v;
  return platform::kSoundOk;
}

SoundResult FakeSoundBuffer::setPan(long p) {
  if (!(flagsValue & platform::kCtrlPan)) return platform::kSoundControlUnavailable;
  record("pan " + std::to_string(p));
  panValue = p;
  return platform::kSoundOk;
}

SoundResult FakeSoundBuffer::setFrequency(long hz) {
  if (!(flagsValue & platform::kCtrlFrequency)) return platform::kSoundControlUnavailable;
  if (hz != 0 && (hz < platform::kFrequencyMin || hz > platform::kFrequencyMax)) return platform::kSoundInvalidParam;
  record("frequency " + std::to_string(hz));
  frequencyValue = hz == 0 ? file.sampleRate : hz;
  return platform::kSoundOk;
}

SoundResult FakeSoundBuffer::setEffects(const std::vector<std::string>& classIds, std::vector<long>* results) {
  if (!(flagsValue & platform::kCtrlFx)) return platform::kSoundControlUnavailable;
  if (statusValue & platform::kStatusPlaying) return platform::kSoundInvalidCall;
  if (refuseChain != platform::kSoundOk) return refuseChain;
  std::string text;
  for (const std::string& id : classIds) text += (text.empty() ? "" : ",") + id;
  record("effects " + text);
  ++chainsSet;
  chain.clear();
  effects.clear();
  std::vector<long> codes;
  for (const std::string& id : classIds) {
    platform::EffectKind kind;
    if (!platform::effectKindOf(id, kind)) {
      codes.push_back(platform::kFxUnknown);
      continue;
    }
    chain.push_back(id);
    effects.push_back(std::make_unique<FakeEffect>(kind));
    codes.push_back(platform::kFxLocSoftware);
  }
  if (results) *results = codes;
  return platform::kSoundOk;
}

platform::SoundEffect* FakeSoundBuffer::effect(const std::string& classId, int index, const std::string& interfaceId) {
  platform::EffectKind kind;
  if (!platform::effectKindOf(classId, kind) || interfaceId != platform::effectClassInfo(kind).interfaceId) return nullptr;
  int seen = 0;
  for (auto& e : effects)
    if (e->kind() == kind && seen++ == index) return e.get();
  return nullptr;
}

SoundResult FakeSoundBuffer::setPosition(float x, float y, float z) {
  record("3d position " + numText(x) + " " + numText(y) + " " + numText(z));
  positionValue3 = {x, y, z};
  return platform::kSoundOk;
}

SoundResult FakeSoundBuffer::setConeAngles(long inside, long outside) {
  record("cone angles " + std::to_string(inside) + " " + std::to_string(outside));
  coneInside = inside;
  coneOutsideAngle = outside;
  return platform::kSoundOk;
}

void FakeSoundBuffer::coneAngles(long& inside, long& outside) const {
  inside = coneInside;
  outside = coneOutsideAngle;
}

SoundResult FakeSoundBuffer::setConeOutsideVolume(long v) {
  record("cone volume " + std::to_string(v));
  coneOutside = v;
  return platform::kSoundOk;
}

SoundResult FakeSoundBuffer::setConeOrientation(float x, float y, float z) {
  record("cone orientation " + numText(x) + " " + numText(y) + " " + numText(z));
  orientation = {x, y, z};
  return platform::kSoundOk;
}

bool FakeSoundDevice::create() {
  record("create");
  isReady = createResult;
  return createResult;
}

std::unique_ptr<platform::SoundBuffer> FakeSoundDevice::createBufferFromFile(const std::string& path, long flags,
                                                                             SoundResult& result) {
  using namespace platform;
  record("create buffer " + path + " " + std::to_string(flags));
  // A file the test did not describe counts as a mono second of sound when it exists.
  if (!files.count(path) && std::ifstream(path, std::ios::binary).good()) files[path] = FakeSoundFile{};
  auto it = files.find(path);
  if (!isReady) result = kSoundNoDriver;
  else if (((flags & kCtrl3D) && (flags & kCtrlPan)) || ((flags & kCtrlFx) && (flags & kCtrlFrequency)))
    result = kSoundInvalidParam;
  else if (it == files.end()) result = kSoundBadFormat;
  else if (it->second.frames == 0 || ((flags & kCtrl3D) && it->second.channels != 1)) result = kSoundInvalidParam;
  else if ((flags & kCtrlFx) && it->second.frames * 1000 < kEffectsMinimumMs * it->second.sampleRate)
    result = kSoundBufferTooSmall;
  else result = kSoundOk;
  if (result != kSoundOk) return nullptr;
  ++buffersCreated;
  return std::make_unique<FakeSoundBuffer>(*this, path, flags, it->second);
}

FakeSoundBuffer* FakeSoundDevice::bufferOf(const std::string& path) const {
  for (auto it = live.rbegin(); it != live.rend(); ++it)
    if ((*it)->path == path) return *it;
  return nullptr;
}

}  // namespace vx::test
