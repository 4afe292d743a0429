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

static void wavHeader(std::ofstream& out, int sampleRate, int channels, int format, int bytesPerSample, size_t samples) {
  uint32_t dataBytes = static_cast<uint32_t>(samples * bytesPerSample);
  out.write("RIFF", 4);
  put32(out, 36 + dataBytes);
  out.write("WAVEfmt ", 8);
  put32(out, 16);
  put16(out, static_cast<uint16_t>(format));
  put16(out, static_cast<uint16_t>(channels));
  put32(out, static_cast<uint32_t>(sampleRate));
  put32(out, static_cast<uint32_t>(sampleRate * channels * bytesPerSample));
  put16(out, static_cast<uint16_t>(channels * bytesPerSample));
  put16(out, static_cast<uint16_t>(8 * bytesPerSample));
  out.write("data", 4);
  put32(out, dataBytes);
}

void writeWav(const std::string& path, int sampleRate, int channels, const std::vector<float>& interleaved) {
  std::ofstream out(path, std::ios::binary);
  wavHeader(out, sampleRate, channels, 1, 2, interleaved.size());
  for (float s : interleaved) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    put16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
  }
}

void writePcmWav(const std::string& path, int sampleRate, int channels, int bits, const std::vector<float>& interleaved) {
  std::ofstream out(path, std::ios::binary);
  const int bytes = bits / 8;
  wavHeader(out, sampleRate, channels, 1, bytes, interleaved.size());
  const double full = std::ldexp(1.0, bits - 1) - 1;
  for (float s : interleaved) {
    auto v = static_cast<int64_t>(std::llround(std::clamp(s, -1.0f, 1.0f) * full));
    if (bits == 8) v += 128;  // 8-bit samples are unsigned
    for (int b = 0; b < bytes; ++b) out.put(static_cast<char>((v >> (8 * b)) & 0xFF));
  }
}

void writeFloatWav(const std::string& path, int sampleRate, int channels, const std::vector<float>& interleaved) {
  std::ofstream out(path, std::ios::binary);
  wavHeader(out, sampleRate, channels, 3, 4, interleaved.size());
  out.write(reinterpret_cast<const char*>(interleaved.data()), static_cast<std::streamsize>(interleaved.size() * 4));
}

void writeMidi(const std::string& path, int notes) {
  std::string track;
  auto event = [&](std::initializer_list<int> bytes) {
    for (int b : bytes) track.push_back(static_cast<char>(b));
  };
  event({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 500000 microseconds per quarter note
  event({0x00, 0xC0, 0x00});                          // piano
  for (int n = 0; n < notes; ++n) {
    event({0x00, 0x90, 60 + n % 24, 100});
    event({0x83, 0x60, 0x80, 60 + n % 24, 0});  // 480 ticks later
  }
  event({0x00, 0xFF, 0x2F, 0x00});
  std::ofstream out(path, std::ios::binary);
  out.write("MThd\0\0\0\x06\0\0\0\x01\x01\xE0", 14);
  out.write("MTrk", 4);
  uint32_t size = static_cast<uint32_t>(track.size());
  char be[4] = {static_cast<char>(size >> 24), static_cast<char>(size >> 16), static_cast<char>(size >> 8),
                static_cast<char>(size)};
  out.write(be, 4);
  out << track;
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
