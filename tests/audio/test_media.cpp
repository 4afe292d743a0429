#include "tests/audio/test_media.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

namespace vx::audio::testing {
namespace {

void put16(std::ofstream& out, uint16_t v) {
  char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
  out.write(b, 2);
}

void put32(std::ofstream& out, uint32_t v) {
  put16(out, static_cast<uint16_t>(v & 0xFFFF));
  put16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace

TempDir::TempDir() {
  std::random_device seed;
  auto base = std::filesystem::temp_directory_path();
  dir_ = (base / ("velvox-audio-" + std::to_string(seed()))).string();
  std::filesystem::create_directories(dir_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

void writeWav(const std::string& path, int sampleRate, int channels, const std::vector<float>& interleaved) {
  std::ofstream out(path, std::ios::binary);
  uint32_t dataBytes = static_cast<uint32_t>(interleaved.size() * 2);
  out.write("RIFF", 4);
  put32(out, 36 + dataBytes);
  out.write("WAVEfmt ", 8);
  put32(out, 16);
  put16(out, 1);
  put16(out, static_cast<uint16_t>(channels));
  put32(out, static_cast<uint32_t>(sampleRate));
  put32(out, static_cast<uint32_t>(sampleRate * channels * 2));
  put16(out, static_cast<uint16_t>(channels * 2));
  put16(out, 16);
  out.write("data", 4);
  put32(out, dataBytes);
  for (float s : interleaved) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    put16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
}

std::vector<float> sine(double hz, double amplitude, int sampleRate, int frames) {
  std::vector<float> out(static_cast<size_t>(frames) * 2);
  for (int i = 0; i < frames; ++i) {
    float v = static_cast<float>(amplitude * std::sin(2 * M_PI * hz * i / sampleRate));
    out[2 * i] = v;
    out[2 * i + 1] = v;
  }
  return out;
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

bool convert(const std::string& from, const std::string& to, const std::string& extraArgs) {
  std::string command = "ffmpeg -nostdin -loglevel error -y -i '" + from + "' " + extraArgs + " '" + to + "'";
  return std::system(command.c_str()) == 0;
}

}  // namespace vx::audio::testing
