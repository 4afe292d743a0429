#pragma once
// A sound device for the sampler's logic tests: files are described by the test (channels, rate,
// length, readable or not) and buffers follow the real device's rules for flags, too-short files
// and 3D on non-mono files. Buffers record their calls; the device lists the live ones.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/sound_device.h"
#include "tests/support/call_log.h"

namespace vx::test {

struct FakeSoundFile {
  int channels = 1;
  long sampleRate = 44100;
  long frames = 44100;
};

class FakeSoundDevice;

class FakeSoundBuffer : public platform::SoundBuffer, public platform::SoundBuffer3D, public CallLog {
 public:
  FakeSoundBuffer(FakeSoundDevice& device, std::string path, long flags, const FakeSoundFile& file);
  ~FakeSoundBuffer() override;

  long flags() const override { return flagsValue; }
  long status() const override { return statusValue; }
  platform::SoundResult play(long flags) override;
  platform::SoundResult stop() override;
  platform::SoundResult setCurrentPosition(long frame) override;
  long currentPosition() const override { return positionValue; }
  long frames() const override { return file.frames; }
  platform::SoundResult setVolume(long v) override;
  long volume() const override { return volumeValue; }
  platform::SoundResult setPan(long p) override;
  long pan() const override { return panValue; }
  platform::SoundResult setFrequency(long hz) override;
  long frequency() const override { return frequencyValue; }
  platform::SoundBuffer3D* spatial() override { return (flagsValue & platform::kCtrl3D) ? this : nullptr; }
  platform::SoundResult setEffects(const std::vector<std::string>& classIds, std::vector<long>* results) override;
  std::vector<std::string> effectClasses() const override { return chain; }
  platform::SoundEffect* effect(const std::string& classId, int index, const std::string& interfaceId) override;

  platform::SoundResult setPosition(float x, float y, float z) override;
  platform::Vector3 position() const override { return positionValue3; }
  platform::SoundResult setConeAngles(long inside, long outside) override;
  void coneAngles(long& inside, long& outside) const override;
  platform::SoundResult setConeOutsideVolume(long v) override;
  long coneOutsideVolume() const override { return coneOutside; }
  platform::SoundResult setConeOrientation(float x, float y, float z) override;
  platform::Vector3 coneOrientation() const override { return orientation; }

  // Ends a play by itself, as reaching the end of a sound played once does.
  void finish() { statusValue = 0; }

  FakeSoundDevice& device;
  std::string path;
  long flagsValue;
  FakeSoundFile file;
  long statusValue = 0;
  long positionValue = 0;
  long volumeValue = 0, panValue = 0, frequencyValue = 0;
  platform::Vector3 positionValue3{}, orientation{0, 0, 1};
  long coneInside = 360, coneOutsideAngle = 360, coneOutside = 0;
  std::vector<std::string> chain;  // class names of the effects set, in order
  int chainsSet = 0;
  // A whole-chain refusal the test asks for (kSoundOk: none).
  platform::SoundResult refuseChain = platform::kSoundOk;
  std::vector<std::unique_ptr<platform::SoundEffect>> effects;
};

class FakeSoundDevice : public platform::SoundDevice, public CallLog {
 public:
  bool createResult = true;
  bool isReady = false;
  bool create() override;
  void release() override { record("release"); isReady = false; }
  bool ready() const override { return isReady; }
  std::unique_ptr<platform::SoundBuffer> createBufferFromFile(const std::string& path, long flags,
                                                              platform::SoundResult& result) override;

  // Files the device can read; any other path is unreadable unless it exists on disk (then it
  // reads as a mono second of sound).
  std::map<std::string, FakeSoundFile> files;
  std::vector<FakeSoundBuffer*> live;
  int buffersCreated = 0;
  // The newest live buffer made from `path`; null when there is none.
  FakeSoundBuffer* bufferOf(const std::string& path) const;
};

}  // namespace vx::test
