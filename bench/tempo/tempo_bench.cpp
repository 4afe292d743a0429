// The whole song analysis (tempo, beat grid, overview, loudness) of a five-minute mp3, against
// FFmpeg decoding the same file with nothing else done (no conversion, no resampling): the
// analysis should stay within 3x. Given files as arguments, it analyses those instead and prints
// each one's results and the same ratio.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/analysis/song_analysis.h"
#include "bench/bench_timing.h"
#include "tests/audio/test_media.h"

namespace {

constexpr int kRate = 44100;
constexpr double kMinutes = 5;

// A minute of a four-to-the-floor pattern at 125 BPM, repeated by the encoder.
std::vector<float> kickMinute() {
  std::vector<float> out(static_cast<size_t>(60 * kRate) * 2);
  const double period = 60.0 / 125;
  for (size_t i = 0; i < out.size() / 2; ++i) {
    const double t = static_cast<double>(i) / kRate, b = std::fmod(t, period);
    double s = 0.1 * std::sin(2 * M_PI * 55 * t);
    if (b < 0.15) s += 0.8 * std::exp(-b * 18) * std::sin(2 * M_PI * (45 + 80 * std::exp(-b * 30)) * b);
    out[2 * i] = out[2 * i + 1] = static_cast<float>(s);
  }
  return out;
}

// Decodes every audio packet of the file and throws the samples away; frames decoded.
long bareDecode(const std::string& path) {
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return -1;
  avformat_find_stream_info(format, nullptr);
  const int stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  const AVCodec* codec = avcodec_find_decoder(format->streams[stream]->codecpar->codec_id);
  AVCodecContext* context = avcodec_alloc_context3(codec);
  avcodec_parameters_to_context(context, format->streams[stream]->codecpar);
  avcodec_open2(context, codec, nullptr);
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  long frames = 0;
  while (av_read_frame(format, packet) >= 0) {
    if (packet->stream_index == stream && avcodec_send_packet(context, packet) >= 0)
      while (avcodec_receive_frame(context, frame) >= 0) frames += frame->nb_samples;
    av_packet_unref(packet);
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&context);
  avformat_close_input(&format);
  return frames;
}

// Analysis and bare decode of one file, each the faster of two runs; the ratio of the two.
double compare(const std::string& path) {
  vx::audio::SongAnalysis found;
  double analysis = 1e9, decode = 1e9;
  for (int i = 0; i < 2; ++i) {
    analysis = std::min(analysis, vx::bench::medianSeconds(1, [&] { found = vx::audio::analyseSongFile(path, nullptr); }));
    decode = std::min(decode, vx::bench::medianSeconds(1, [&] { bareDecode(path); }));
  }
  const double beat = found.tempo.bpm > 0 ? 60 / found.tempo.bpm : 0;
  std::printf("%s\t%.3f BPM\tfirst beat %.3f s, beat %.5f s\t%.2f LUFS\t%.1f s\tanalysis %.2f s, decode %.2f s: %.2fx\n",
              path.c_str(), found.tempo.bpm, found.tempo.firstBeat, beat, found.loudness.value_or(-999),
              found.tempo.length, analysis, decode, analysis / decode);
  return analysis / decode;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    for (int i = 1; i < argc; ++i) compare(argv[i]);
    return 0;
  }
  vx::audio::testing::TempDir dir;
  const std::string wav = dir.path("minute.wav"), mp3 = dir.path("song.mp3");
  vx::audio::testing::writeWav(wav, kRate, 2, kickMinute());
  const std::string encode = "ffmpeg -nostdin -loglevel error -y -stream_loop 4 -i '" + wav + "' -b:a 192k '" + mp3 + "'";
  if (std::system(encode.c_str()) != 0) {
    std::fprintf(stderr, "bench_tempo: ffmpeg could not make the test song\n");
    return 1;
  }
  double bpm = 0;
  long frames = 0;
  // Taken in turns, so that a burst of load elsewhere on the machine weighs on both alike.
  std::vector<double> analysisTimes, decodeTimes;
  for (int i = 0; i < 5; ++i) {
    analysisTimes.push_back(vx::bench::medianSeconds(1, [&] { bpm = vx::audio::analyseSongFile(mp3, nullptr).tempo.bpm; }));
    decodeTimes.push_back(vx::bench::medianSeconds(1, [&] { frames = bareDecode(mp3); }));
  }
  std::sort(analysisTimes.begin(), analysisTimes.end());
  std::sort(decodeTimes.begin(), decodeTimes.end());
  const double analysis = analysisTimes[2], decode = decodeTimes[2];
  std::printf("5-minute mp3 at 125 BPM: found %.2f BPM, %.1f minutes decoded\n", bpm, frames / 60.0 / kRate);
  vx::bench::report("song analysis per minute", analysis / kMinutes, "bare FFmpeg decode per minute", decode / kMinutes);
  return 0;
}
