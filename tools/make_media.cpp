// Writes the media the scenarios play into a folder:
//   sine.wav          1 kHz at -6 dBFS, 10 s, 44.1 kHz 16-bit stereo
//   staircase.wav     10 s, 44.1 kHz 16-bit stereo; every 441 frames (10 ms) the sample value
//                     steps up by 32 from -16000, so the frame at t seconds holds
//                     -16000 + 32 * floor(t * 100) on both channels
//   silence.wav       3 s of zeros, 44.1 kHz 16-bit stereo
//   long_tone.wav     205.4 s of a quiet 440 Hz tone, 8 kHz 16-bit mono (small on disk)
//   two words.wav     1 s of the 1 kHz tone, a name with a blank in it
//   corrupt.mp3       random bytes that hold no MPEG frame
//   empty.mp3         no bytes at all
//   sine.mp3          sine.wav through the ffmpeg command, when ffmpeg is installed
//   kick125.wav,      20 s of a kick on every beat at 125 and 120 beats per minute,
//   kick120.wav       44.1 kHz 16-bit stereo
//   other player.m3u8 a playlist as Windows players write it: BOM, CR LF, #EXTINF, a relative
//                     name, a Windows path to a file beside it and a song that is missing
// usage: make_media FOLDER
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Format {
  int rate = 44100;
  int channels = 2;
};

void put16(std::string& out, int v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v) {
  put16(out, static_cast<int>(v & 0xFFFF));
  put16(out, static_cast<int>(v >> 16));
}

std::string wavHeader(const Format& f, uint32_t frames) {
  uint32_t dataBytes = frames * static_cast<uint32_t>(f.channels) * 2;
  std::string h = "RIFF";
  put32(h, 36 + dataBytes);
  h += "WAVEfmt ";
  put32(h, 16);
  put16(h, 1);  // PCM
  put16(h, f.channels);
  put32(h, static_cast<uint32_t>(f.rate));
  put32(h, static_cast<uint32_t>(f.rate * f.channels * 2));
  put16(h, f.channels * 2);
  put16(h, 16);
  h += "data";
  put32(h, dataBytes);
  return h;
}

// `sample(frame)` gives the value of every channel of that frame.
bool writeWav(const std::filesystem::path& path, const Format& f, double seconds, const std::function<int(long)>& sample) {
  long frames = std::lround(seconds * f.rate);
  std::string bytes = wavHeader(f, static_cast<uint32_t>(frames));
  bytes.reserve(bytes.size() + static_cast<size_t>(frames * f.channels * 2));
  for (long i = 0; i < frames; ++i) {
    int v = sample(i);
    for (int c = 0; c < f.channels; ++c) put16(bytes, v);
  }
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// A falling-pitch kick drum on every beat over a quiet bass tone.
std::function<int(long)> kicks(double bpm, int rate) {
  return [bpm, rate](long frame) {
    const double t = static_cast<double>(frame) / rate, b = std::fmod(t, 60.0 / bpm);
    double s = 0.1 * std::sin(2 * kPi * 55 * t);
    if (b < 0.15) s += 0.8 * std::exp(-b * 18) * std::sin(2 * kPi * (45 + 80 * std::exp(-b * 30)) * b);
    return static_cast<int>(std::lround(s * 32000));
  };
}

std::function<int(long)> tone(double hz, double dbfs, int rate) {
  double amplitude = 32767.0 * std::pow(10.0, dbfs / 20.0);
  return [=](long i) { return static_cast<int>(std::lround(amplitude * std::sin(2 * kPi * hz * static_cast<double>(i) / rate))); };
}

int staircase(long frame) { return -16000 + 32 * static_cast<int>(frame / 441); }

// No byte is 0xFF, so no MPEG frame sync can appear and no decoder finds audio in it.
bool writeCorrupt(const std::filesystem::path& path) {
  std::string bytes(8192, '\0');
  uint32_t state = 12345;
  for (char& b : bytes) {
    state = state * 1103515245u + 12345u;
    unsigned v = (state >> 16) & 0xFF;
    b = static_cast<char>(v == 0xFF ? 0 : v);
  }
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool writeEmpty(const std::filesystem::path& path) { return static_cast<bool>(std::ofstream(path, std::ios::binary)); }

bool writePlaylist(const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary);
  out << "\xEF\xBB\xBF#EXTM3U\r\n#EXTINF:10,Test - Sine\r\nsine.wav\r\n#EXTINF:1,Two\r\n"
         "C:\\Users\\dj\\Music\\two words.wav\r\n#EXTINF:200,Gone\r\nD:\\gone.mp3\r\n";
  return static_cast<bool>(out);
}

std::string shellQuoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// The MP3 is optional: without ffmpeg the scenarios that need it say so.
void encodeMp3(const std::filesystem::path& folder) {
  if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) {
    std::cout << "make_media: ffmpeg is not installed; sine.mp3 is not made\n";
    return;
  }
  std::string command = "ffmpeg -nostdin -y -loglevel error -i " + shellQuoted((folder / "sine.wav").string()) +
                        " -codec:a libmp3lame -b:a 128k " + shellQuoted((folder / "sine.mp3").string());
  if (std::system(command.c_str()) != 0) std::cout << "make_media: ffmpeg could not make sine.mp3\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_media FOLDER\n";
    return 2;
  }
  std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  const Format stereo;
  const Format smallMono{8000, 1};
  const Format mono{44100, 1};
  bool ok = writeWav(folder / "sine.wav", stereo, 10, tone(1000, -6, stereo.rate)) &&
            writeWav(folder / "staircase.wav", stereo, 10, staircase) &&
            writeWav(folder / "silence.wav", stereo, 3, [](long) { return 0; }) &&
            writeWav(folder / "long_tone.wav", smallMono, 205.4, tone(440, -30, smallMono.rate)) &&
            writeWav(folder / "two words.wav", stereo, 1, tone(1000, -6, stereo.rate)) &&
            writeCorrupt(folder / "corrupt.mp3") && writeEmpty(folder / "empty.mp3") &&
            writeWav(folder / "kick125.wav", stereo, 20, kicks(125, stereo.rate)) &&
            writeWav(folder / "kick120.wav", stereo, 20, kicks(120, stereo.rate)) &&
            writePlaylist(folder / "other player.m3u8") &&
            // Sampler sounds: a mono and a stereo one, and one too short to carry effects.
            writeWav(folder / "kick.wav", mono, 0.5, tone(110, -6, mono.rate)) &&
            writeWav(folder / "pad.wav", stereo, 1, tone(660, -12, stereo.rate)) &&
            writeWav(folder / "blip.wav", mono, 0.1, tone(2000, -12, mono.rate));
  if (!ok) {
    std::cerr << "make_media: cannot write into " << folder << '\n';
    return 1;
  }
  encodeMp3(folder);
  return 0;
}
