#include "audio/sampler/sampler_engine.h"

#include <thread>

#include "audio/engine/mixer.h"

namespace vx::audio {

SamplerEngine::SamplerEngine(Mixer& mixer) : mixer_(mixer) {
  for (int p = 0; p < kPlaces; ++p) {
    places_[static_cast<size_t>(p)].engine = this;
    places_[static_cast<size_t>(p)].index = p;
  }
}

SamplerEngine::~SamplerEngine() = default;

int SamplerEngine::outputRate() const { return mixer_.outputRate(); }

void SamplerEngine::send(const SamplerCommand& c) {
  while (!queue_.push(c)) {
    if (mixer_.immediate()) applyCommands();  // nothing else consumes: make room here
    else std::this_thread::yield();
  }
  ++sent_;
  if (!mixer_.immediate()) return;
  applyCommands();
  mixer_.wakeIfSounding();  // a trigger while the output rests opens it again
}

void SamplerEngine::post(const SamplerCommand& c) {
  collect();
  send(c);
}

int SamplerEngine::attach(std::shared_ptr<const SampleData> data, float left, float right) {
  collect();
  for (int v = 0; v < kVoices; ++v) {
    if (used_[static_cast<size_t>(v)]) continue;
    used_[static_cast<size_t>(v)] = true;
    SamplerCommand c;
    c.kind = SamplerCommand::Attach;
    c.voice = v;
    c.data = data.get();
    c.left = left;
    c.right = right;
    data_[static_cast<size_t>(v)] = std::move(data);
    send(c);
    return v;
  }
  return -1;
}

void SamplerEngine::detach(int voice) {
  auto v = static_cast<size_t>(voice);
  SamplerCommand c;
  c.kind = SamplerCommand::Detach;
  c.voice = voice;
  c.serial = ++releases_;
  // Without a device of its own nothing is heard, so there is nothing to fade.
  c.fade = !mixer_.immediate();
  send(c);
  retired_.push_back({sent_, voice, c.serial, std::move(data_[v]), std::move(chains_[v])});
  collect();
}

void SamplerEngine::detachAll() {
  for (int v = 0; v < kVoices; ++v) {
    bool retiring = false;
    for (const Retired& r : retired_) retiring = retiring || r.voice == v;
    if (used_[static_cast<size_t>(v)] && !retiring) detach(v);
  }
}

void SamplerEngine::setChain(int voice, std::unique_ptr<EffectChain> chain) {
  auto v = static_cast<size_t>(voice);
  SamplerCommand c;
  c.kind = SamplerCommand::SetChain;
  c.voice = voice;
  c.chain = chain.get();
  send(c);
  retired_.push_back({sent_, -1, 0, nullptr, std::move(chains_[v])});
  chains_[v] = std::move(chain);
  collect();
}

bool SamplerEngine::ended(int v, uint32_t serial) const {
  return voices_[static_cast<size_t>(v)].ended.load(std::memory_order_acquire) == serial;
}

void SamplerEngine::collect() {
  uint64_t applied = applied_.load(std::memory_order_acquire);
  for (size_t i = 0; i < retired_.size();) {
    Retired& r = retired_[i];
    bool done = applied >= r.afterCommand &&
                (r.voice < 0 || voices_[static_cast<size_t>(r.voice)].released.load(std::memory_order_acquire) == r.serial);
    if (!done) {
      ++i;
      continue;
    }
    if (r.voice >= 0) used_[static_cast<size_t>(r.voice)] = false;
    retired_.erase(retired_.begin() + static_cast<long>(i));
  }
}

void SamplerEngine::applyCommands() {
  SamplerCommand c;
  uint64_t n = 0;
  while (queue_.pop(c)) {
    if (c.voice >= 0 && c.voice < kVoices) voices_[static_cast<size_t>(c.voice)].apply(c);
    ++n;
  }
  if (n) applied_.fetch_add(n, std::memory_order_release);
}

bool SamplerEngine::Place::sounding() const {
  for (int v = index; v < kVoices; v += kPlaces)
    if (engine->voices_[static_cast<size_t>(v)].sounding()) return true;
  return false;
}

void SamplerEngine::Place::mixInto(float* out, int frames, int outputRate) {
  engine->applyCommands();
  for (int v = index; v < kVoices; v += kPlaces) {
    for (int done = 0; done < frames;) {
      int n = std::min(frames - done, SamplerVoice::kMaxBlock);
      engine->voices_[static_cast<size_t>(v)].mixInto(out + 2 * done, n, outputRate);
      done += n;
    }
  }
}

}  // namespace vx::audio
