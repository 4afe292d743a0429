#include "audio/engine/voice_control.h"

#include <cmath>

#include "audio/decode/reader.h"
#include "audio/decode/track.h"
#include "audio/engine/mixer.h"

namespace vx::audio {

VoiceControl::VoiceControl(Mixer& mixer, int voice, Reader& reader) : mixer_(mixer), voice_(voice), reader_(reader) {}

VoiceControl::~VoiceControl() {
  // The owner stops the engine first; then nothing plays from these tracks any more.
  if (current_) reader_.remove(current_.get());
  for (auto& t : retired_) reader_.remove(t.get());
}

const SourceFormat& VoiceControl::format() const {
  static const SourceFormat none;
  return current_ ? current_->format() : none;
}

Command VoiceControl::command(int kind) const {
  Command c;
  c.kind = static_cast<Command::Kind>(kind);
  c.voice = voice_;
  return c;
}

void VoiceControl::send(int kind, double value) {
  Command c = command(kind);
  c.value = value;
  c.position = value;
  mixer_.post(c);
}

bool VoiceControl::open(const std::string& path, std::string& error) {
  OpenResult opened = openDecoder(path);
  if (!opened.decoder) {
    error = opened.error;
    close();
    return false;
  }
  auto track = std::make_unique<Track>(std::move(opened.decoder));
  jumpGeneration_ = ++generation_;
  loop_ = {};
  track->requestSeek(generation_, 0);
  reader_.add(track.get());
  Command c = command(Command::SetTrack);
  c.track = track.get();
  c.generation = generation_;
  c.serial = ++serial_;
  mixer_.post(c);
  if (current_) retired_.push_back(std::move(current_));
  current_ = std::move(track);
  origin_ = carried_ = 0;
  playing_ = false;
  return true;
}

void VoiceControl::close() {
  if (!current_) return;
  Command c = command(Command::SetTrack);
  c.generation = jumpGeneration_ = ++generation_;
  loop_ = {};
  c.serial = ++serial_;
  mixer_.post(c);
  retired_.push_back(std::move(current_));
  origin_ = carried_ = 0;
  playing_ = false;
}

uint32_t VoiceControl::newStream(double frame) {
  jumpGeneration_ = ++generation_;
  if (current_) current_->requestSeek(generation_, static_cast<int64_t>(std::floor(frame)), loop_);
  reader_.wake();
  return generation_;
}

void VoiceControl::jump(double frame) {
  Command c = command(Command::Seek);
  c.generation = newStream(frame);
  c.position = frame;
  mixer_.post(c);
}

void VoiceControl::seek(double frame) {
  origin_ = std::max(frame, 0.0);
  carried_ = 0;
  jump(origin_);
}

bool VoiceControl::sinceLastJump(uint32_t generation) const {
  uint32_t back = (generation_ - generation) & 0xFFFF;
  return back <= generation_ - jumpGeneration_;
}

bool VoiceControl::setLoop(LoopSpan loop) {
  if (!loop.on()) loop = {};
  const LoopSpan old = loop_;
  loop_ = loop;
  if (!current_) return false;
  const double at = position();
  const bool late = loop.on() && at >= static_cast<double>(loop.crossfadeStart()) && at < static_cast<double>(loop.out) + 1;
  if (!playing_ || late) {
    double target = at;
    if (late && at >= static_cast<double>(loop.out)) target = loop.in + std::fmod(at - loop.out, double(loop.out - loop.in));
    else if (late) target = loop.in;
    origin_ = target;
    carried_ = 0;
    jump(target);
    sendLoop(0);
    return true;
  }
  // The new stream starts where the UI last saw the play head, at or before the engine's. So
  // near the old loop's end the engine may have wrapped already: the stream then wraps once
  // more as the old loop did, and the change takes effect from there.
  // (The UI's reading, rounded, may stand on the loop's end itself, where the engine has not
  // wrapped yet.)
  int64_t from = static_cast<int64_t>(std::floor(at));
  const bool through = old.on() && !(old.in == loop.in && old.out == loop.out) && from <= old.out &&
                       from >= old.out - kWrapWindow;
  if (through) from = std::min(from, old.out - 1);
  ++generation_;
  current_->requestSeek(generation_, from, loop_, through ? old : LoopSpan{});
  reader_.wake();
  sendLoop(through ? 2 : 1);
  return false;
}

void VoiceControl::sendLoop(int continuing) {
  Command c = command(Command::SetLoop);
  c.generation = generation_;
  c.frame = loop_.on() ? loop_.in : -1;
  c.position = static_cast<double>(loop_.out);
  c.value = continuing;
  mixer_.post(c);
}

double VoiceControl::played() const {
  uint64_t where = mixer_.voice(voice_).where();
  if (!sinceLastJump(PlayerVoice::generationOf(where))) return carried_;
  return carried_ + PlayerVoice::framesOf(where);
}

void VoiceControl::play() {
  if (playing_ || !current_) return;
  // The voice played on a little while fading out its last stop; starting again from the UI's
  // position keeps sound and position together.
  carried_ = played();
  jump(origin_ + carried_);
  send(Command::Play);
  playing_ = true;
}

void VoiceControl::pause() {
  if (!playing_) return;
  send(Command::Pause);
  playing_ = false;
}

void VoiceControl::setRate(double rate) {
  const bool stretched = stretches();
  rate_ = rate;
  send(Command::SetRate, rate);
  if (stretches() != stretched) sendKeyLock(true);
}

void VoiceControl::setKeyLock(bool on) {
  if (on == keyLock_) return;
  const bool stretched = stretches();
  keyLock_ = on;
  sendKeyLock(stretches() != stretched);
}

void VoiceControl::sendKeyLock(bool restart) {
  Command c = command(Command::SetKeyLock);
  c.value = keyLock_ ? 1 : 0;
  if (restart && playing_ && current_) {
    // The voice has played on since it last reported: the reader starts at the reported place
    // and the voice skips to where it is when it takes the command up. What was played so far
    // is carried, as for a start, so that the deck's position goes on from its last place (the
    // deck counts from the place it last moved to); the old stream's count ends here, so the
    // position does not count those frames twice until the voice takes the restart up.
    carried_ = played();
    c.position = origin_ + carried_;
    c.generation = newStream(c.position);
  }
  mixer_.post(c);
}

void VoiceControl::setGain(float left, float right) {
  Command c = command(Command::SetGain);
  c.left = left;
  c.right = right;
  mixer_.post(c);
}

void VoiceControl::setEndPosition(double frame) { send(Command::SetEnd, frame); }

bool VoiceControl::takeEnd() {
  uint64_t ends = mixer_.voice(voice_).ends();
  uint32_t count = static_cast<uint32_t>(ends & 0xFFFFFFFFu);
  if (count == endsSeen_) return false;
  endsSeen_ = count;
  if (!sinceLastJump(static_cast<uint32_t>(ends >> 32)) || !playing_) return false;
  playing_ = false;
  return true;
}

void VoiceControl::reclaim() {
  if (retired_.empty() || mixer_.voice(voice_).appliedTrackSerial() != serial_) return;
  for (auto& t : retired_) reader_.remove(t.get());
  retired_.clear();
}

}  // namespace vx::audio
