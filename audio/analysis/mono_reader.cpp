#include "audio/analysis/mono_reader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <vector>

namespace vx::audio {
namespace {

class MonoReader : public Decoder {
 public:
  ~MonoReader() override {
    swr_free(&swr_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
  }

  bool open(const std::string& path) {
    if (avformat_open_input(&format_, path.c_str(), nullptr, nullptr) < 0) return false;
    if (avformat_find_stream_info(format_, nullptr) < 0) return false;
    const AVCodec* decoder = nullptr;
    stream_ = av_find_best_stream(format_, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
    if (stream_ < 0 || !decoder) return false;
    codec_ = avcodec_alloc_context3(decoder);
    if (!codec_ || avcodec_parameters_to_context(codec_, format_->streams[stream_]->codecpar) < 0) return false;
    if (avcodec_open2(codec_, decoder, nullptr) < 0 || codec_->sample_rate <= 0) return false;
    // A mono file is converted as mono and doubled, as the decks play it.
    mono_ = codec_->ch_layout.nb_channels == 1;
    AVChannelLayout out{};
    av_channel_layout_default(&out, mono_ ? 1 : 2);
    AVChannelLayout in{};
    if (codec_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
      av_channel_layout_default(&in, codec_->ch_layout.nb_channels);
    else
      av_channel_layout_copy(&in, &codec_->ch_layout);
    const int rc = swr_alloc_set_opts2(&swr_, &out, AV_SAMPLE_FMT_FLT, codec_->sample_rate, &in, codec_->sample_fmt,
                                       codec_->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&in);
    if (rc < 0 || swr_init(swr_) < 0) return false;
    stated_.sampleRate = codec_->sample_rate;
    stated_.channels = codec_->ch_layout.nb_channels;
    stated_.durationSeconds = format_->duration > 0 ? static_cast<double>(format_->duration) / AV_TIME_BASE : 0;
    stated_.lengthFrames = static_cast<int64_t>(stated_.durationSeconds * stated_.sampleRate);
    packet_ = av_packet_alloc();
    frame_ = av_frame_alloc();
    return packet_ && frame_;
  }

  const SourceFormat& format() const override { return stated_; }
  bool seek(int64_t) override { return false; }

  int read(float* out, int max) override {
    const size_t wanted = static_cast<size_t>(max) * 2;
    while (held_.size() - at_ < wanted && decodeMore()) {
    }
    const size_t n = std::min(held_.size() - at_, wanted);
    std::copy_n(held_.begin() + static_cast<std::ptrdiff_t>(at_), n, out);
    at_ += n;
    return static_cast<int>(n / 2);
  }


 private:
  // Appends the next decoded frame's samples; false at the end (a damaged stretch ends it).
  bool decodeMore() {
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(at_));
    at_ = 0;
    while (true) {
      const int rc = avcodec_receive_frame(codec_, frame_);
      if (rc >= 0) return convert();
      if (rc != AVERROR(EAGAIN) || ended_) return false;
      if (av_read_frame(format_, packet_) < 0) {
        ended_ = true;
        avcodec_send_packet(codec_, nullptr);
        continue;
      }
      if (packet_->stream_index == stream_) avcodec_send_packet(codec_, packet_);
      av_packet_unref(packet_);
    }
  }

  bool convert() {
    const size_t old = held_.size();
    const auto frames = static_cast<size_t>(frame_->nb_samples);
    held_.resize(old + frames * 2);
    auto* target = reinterpret_cast<uint8_t*>(held_.data() + old);
    const int made = std::max(0, swr_convert(swr_, &target, frame_->nb_samples,
                                             const_cast<const uint8_t**>(frame_->extended_data), frame_->nb_samples));
    const auto got = static_cast<size_t>(made);
    if (mono_)  // spread the mono samples in place, from the back
      for (size_t i = got; i-- > 0;) held_[old + 2 * i] = held_[old + 2 * i + 1] = held_[old + i];
    held_.resize(old + got * 2);
    return true;
  }

  SourceFormat stated_;
  AVFormatContext* format_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  SwrContext* swr_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* frame_ = nullptr;
  int stream_ = -1;
  bool ended_ = false;
  bool mono_ = false;
  std::vector<float> held_;
  size_t at_ = 0;
};

}  // namespace

std::unique_ptr<Decoder> openMonoReader(const std::string& path) {
  // FFmpeg's complaints about damaged files would go to the terminal; the result says enough.
  static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
  (void)quiet;
  auto reader = std::make_unique<MonoReader>();
  if (!reader->open(path)) return nullptr;
  return reader;
}

}  // namespace vx::audio
