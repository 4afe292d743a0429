#pragma once
// Test media written by the tests themselves into a private temporary folder.
#include <functional>
#include <string>
#include <vector>

namespace vx::audio::testing {

// A folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

 private:
  std::string dir_;
};

// Interleaved 16-bit PCM WAV file; samples are floats in -1..1, clipped.
void writeWav(const std::string& path, int sampleRate, int channels, const std::vector<float>& interleaved);
// Interleaved integer PCM WAV file of 8, 16, 24 or 32 bits; samples are floats in -1..1, clipped.
void writePcmWav(const std::string& path, int sampleRate, int channels, int bits, const std::vector<float>& interleaved);
// Interleaved 32-bit float WAV file; samples are written as given (even when not numbers).
void writeFloatWav(const std::string& path, int sampleRate, int channels, const std::vector<float>& interleaved);
// Frames of a stereo sine (the same on both channels).
std::vector<float> sine(double hz, double amplitude, int sampleRate, int frames);
// A Standard MIDI File with one track playing `notes` quarter notes (middle C upwards) at
// 120 beats per minute, 480 ticks per quarter note: `notes` / 2 seconds long.
void writeMidi(const std::string& path, int notes);
// Any bytes as a file.
void writeBytes(const std::string& path, const std::string& bytes);
// Converts with the ffmpeg command line tool (the codec chosen by the target's extension); false
// when the tool is missing or fails.
bool convert(const std::string& from, const std::string& to, const std::string& extraArgs = "");

}  // namespace vx::audio::testing
