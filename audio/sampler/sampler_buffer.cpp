#include "audio/sampler/sampler_buffer.h"

#include "audio/sampler/sampler_command.h"
#include "audio/sampler/sampler_engine.h"

namespace vx::audio {

using platform::SoundResult;

class SamplerBuffer::Spatial : public platform::SoundBuffer3D {
 public:
  explicit Spatial(SamplerBuffer& buffer) : buffer_(buffer) {}
  SoundResult setPosition(float x, float y, float z) override {
    placement.position = {x, y, z};
    buffer_.sendGain();
    return platform::kSoundOk;
  }
  platform::Vector3 position() const override { return placement.position; }
  SoundResult setConeAngles(long inside, long outside) override {
    if (inside < 0 || outside > 360 || inside > outside) return platform::kSoundInvalidParam;
    placement.insideAngle = inside;
    placement.outsideAngle = outside;
    buffer_.sendGain();
    return platform::kSoundOk;
  }
  void coneAngles(long& inside, long& outside) const override {
    inside = placement.insideAngle;
    outside = placement.outsideAngle;
  }
  SoundResult setConeOutsideVolume(long v) override {
    if (v < -10000 || v > 0) return platform::kSoundInvalidParam;
    placement.outsideVolume = v;
    buffer_.sendGain();
    return platform::kSoundOk;
  }
  long coneOutsideVolume() const override { return placement.outsideVolume; }
  SoundResult setConeOrientation(float x, float y, float z) override {
    placement.orientation = {x, y, z};
    buffer_.sendGain();
    return platform::kSoundOk;
  }
  platform::Vector3 coneOrientation() const override { return placement.orientation; }

  Placement placement;

 private:
  SamplerBuffer& buffer_;
};

class SamplerBuffer::EffectHandle : public platform::SoundEffect {
 public:
  EffectHandle(SamplerBuffer& buffer, platform::EffectKind kind, int index)
      : buffer_(buffer), kind_(kind), index_(index), record_(platform::defaultParameters(kind)) {}
  platform::EffectKind kind() const override { return kind_; }
  platform::EffectParameters parameters() const override { return record_; }
  SoundResult setParameters(const platform::EffectParameters& record) override {
    if (platform::kindOf(record) != kind_ || !platform::parametersValid(record, 0)) return platform::kSoundInvalidParam;
    record_ = record;
    if (chain) {
      SamplerCommand c;
      c.kind = SamplerCommand::SetEffect;
      c.chain = chain;
      c.effect = index_;
      c.parameters = record;
      buffer_.send(c);
    }
    return platform::kSoundOk;
  }
  int index() const { return index_; }
  EffectChain* chain = nullptr;  // null once the chain it belonged to was replaced

 private:
  SamplerBuffer& buffer_;
  platform::EffectKind kind_;
  int index_;
  platform::EffectParameters record_;
};

SamplerBuffer::SamplerBuffer(std::shared_ptr<SamplerSession> session, int voice, std::shared_ptr<const SampleData> data,
                             long flags)
    : session_(std::move(session)), voice_(voice), data_(std::move(data)), flags_(flags), frequency_(data_->sampleRate) {
  if (flags_ & platform::kCtrl3D) spatial_ = std::make_unique<Spatial>(*this);
}

SamplerBuffer::~SamplerBuffer() {
  if (engine()) engine()->detach(voice_);
}

bool SamplerBuffer::send(SamplerCommand c) {
  if (!engine()) return false;
  c.voice = voice_;
  engine()->post(c);
  return true;
}

platform::SoundBuffer3D* SamplerBuffer::spatial() { return spatial_.get(); }

EffectChain* SamplerBuffer::chain() const { return engine() ? engine()->chain(voice_) : nullptr; }

long SamplerBuffer::status() const {
  if (!engine() || !playing_) return 0;
  if (!loop_ && engine()->ended(voice_, serial_)) return 0;
  return platform::kStatusPlaying | (loop_ ? platform::kStatusLooping : 0);
}

SoundResult SamplerBuffer::play(long flags) {
  if (!engine()) return platform::kSoundNoDriver;
  playing_ = true;
  loop_ = (flags & platform::kPlayLooping) != 0;
  SamplerCommand c;
  c.kind = SamplerCommand::Play;
  c.serial = ++serial_;
  c.loop = loop_;
  send(c);
  return platform::kSoundOk;
}

SoundResult SamplerBuffer::stop() {
  if (!engine()) return platform::kSoundNoDriver;
  if (status() & platform::kStatusPlaying) position_ = currentPosition();
  else if (playing_) position_ = 0;  // ran to its end
  playing_ = false;
  SamplerCommand c;
  c.kind = SamplerCommand::Stop;
  send(c);
  return platform::kSoundOk;
}

SoundResult SamplerBuffer::setCurrentPosition(long frame) {
  if (!engine()) return platform::kSoundNoDriver;
  if (frame < 0 || frame >= data_->frames) return platform::kSoundInvalidParam;
  position_ = frame;
  SamplerCommand c;
  c.kind = SamplerCommand::SetPosition;
  c.frame = frame;
  send(c);
  return platform::kSoundOk;
}

long SamplerBuffer::currentPosition() const {
  if (!engine()) return position_;
  if (status() & platform::kStatusPlaying) return static_cast<long>(engine()->voice(voice_).position.load());
  if (playing_) position_ = 0;  // a play that ran to its end leaves the buffer at its start
  return position_;
}

SoundResult SamplerBuffer::setVolume(long v) {
  if (!(flags_ & platform::kCtrlVolume)) return platform::kSoundControlUnavailable;
  if (v < -10000 || v > 0) return platform::kSoundInvalidParam;
  volume_ = v;
  sendGain();
  return platform::kSoundOk;
}

SoundResult SamplerBuffer::setPan(long pan) {
  if (!(flags_ & platform::kCtrlPan)) return platform::kSoundControlUnavailable;
  if (pan < -10000 || pan > 10000) return platform::kSoundInvalidParam;
  pan_ = pan;
  sendGain();
  return platform::kSoundOk;
}

SoundResult SamplerBuffer::setFrequency(long hz) {
  if (!(flags_ & platform::kCtrlFrequency)) return platform::kSoundControlUnavailable;
  if (hz == 0) hz = data_->sampleRate;
  if (hz < platform::kFrequencyMin || hz > platform::kFrequencyMax) return platform::kSoundInvalidParam;
  frequency_ = hz;
  SamplerCommand c;
  c.kind = SamplerCommand::SetFrequency;
  c.value = static_cast<double>(hz);
  send(c);
  return platform::kSoundOk;
}

void SamplerBuffer::sendGain() {
  StereoGain g = spatial_ ? spatialGain(volume_, spatial_->placement) : panGain(volume_, pan_);
  SamplerCommand c;
  c.kind = SamplerCommand::SetGain;
  c.left = g.left;
  c.right = g.right;
  send(c);
}

SoundResult SamplerBuffer::setEffects(const std::vector<std::string>& classIds, std::vector<long>* results) {
  if (!engine()) return platform::kSoundNoDriver;
  if (!(flags_ & platform::kCtrlFx)) return platform::kSoundControlUnavailable;
  if (status() & platform::kStatusPlaying) return platform::kSoundInvalidCall;
  auto chain = std::make_unique<EffectChain>();
  std::vector<long> codes;
  std::vector<std::unique_ptr<EffectHandle>> handles;
  for (const std::string& id : classIds) {
    platform::EffectKind kind;
    if (!platform::effectKindOf(id, kind)) {
      codes.push_back(platform::kFxUnknown);
      continue;
    }
    auto effect = createEffect(kind);
    effect->prepare(engine()->outputRate(), data_->channels);
    handles.push_back(std::make_unique<EffectHandle>(*this, kind, static_cast<int>(chain->effects.size())));
    handles.back()->chain = chain.get();
    chain->effects.push_back(std::move(effect));
    codes.push_back(platform::kFxLocSoftware);
  }
  const bool complete = handles.size() == classIds.size();
  for (auto& old : effects_) old->chain = nullptr;
  EffectChain* raw = chain->effects.empty() ? nullptr : chain.get();
  for (auto& h : handles) h->chain = raw;
  engine()->setChain(voice_, raw ? std::move(chain) : nullptr);
  for (auto& h : handles) effects_.push_back(std::move(h));
  if (results) *results = codes;
  return complete ? platform::kSoundOk : platform::kSoundIncomplete;
}

std::vector<std::string> SamplerBuffer::effectClasses() const {
  std::vector<std::string> ids;
  EffectChain* current = chain();
  for (const auto& h : effects_)
    if (current && h->chain == current) ids.push_back(platform::effectClassInfo(h->kind()).classId);
  return ids;
}

platform::SoundEffect* SamplerBuffer::effect(const std::string& classId, int index, const std::string& interfaceId) {
  platform::EffectKind kind;
  if (!platform::effectKindOf(classId, kind) || interfaceId != platform::effectClassInfo(kind).interfaceId) return nullptr;
  EffectChain* current = chain();
  if (!current) return nullptr;
  int seen = 0;
  for (auto& h : effects_) {
    if (h->chain != current || h->kind() != kind) continue;
    if (seen++ == index) return h.get();
  }
  return nullptr;
}

}  // namespace vx::audio
