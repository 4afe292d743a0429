#include "audio/media_probe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace vx::audio {
namespace {

MediaInfo failure(const std::string& why) {
  MediaInfo info;
  info.error = why;
  return info;
}

double streamDuration(const AVFormatContext* format, const AVStream* stream) {
  if (stream->duration > 0) return stream->duration * av_q2d(stream->time_base);
  if (format->duration > 0) return static_cast<double>(format->duration) / AV_TIME_BASE;
  return 0;
}

// True when at least one frame of the stream decodes.
bool decodesOneFrame(AVFormatContext* format, int streamIndex) {
  const AVStream* stream = format->streams[streamIndex];
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!codec) return false;
  AVCodecContext* context = avcodec_alloc_context3(codec);
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  bool decoded = false;
  if (avcodec_parameters_to_context(context, stream->codecpar) >= 0 && avcodec_open2(context, codec, nullptr) >= 0) {
    for (int packets = 0; !decoded && packets < 64 && av_read_frame(format, packet) >= 0; ++packets) {
      if (packet->stream_index == streamIndex && avcodec_send_packet(context, packet) >= 0)
        decoded = avcodec_receive_frame(context, frame) >= 0 && frame->nb_samples > 0;
      av_packet_unref(packet);
    }
  }
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&context);
  return decoded;
}

}  // namespace

MediaInfo probeMedia(const std::string& path) {
  // The decoder's own console chatter about damaged files helps nobody; failures come back as text.
  static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
  (void)quiet;
  AVFormatContext* format = nullptr;
  if (path.empty() || avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
    return failure("cannot open " + path);
  MediaInfo info;
  if (avformat_find_stream_info(format, nullptr) < 0) {
    info = failure("no readable stream in " + path);
  } else {
    int index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (index < 0) {
      info = failure("no audio in " + path);
    } else {
      const AVStream* stream = format->streams[index];
      info.ok = true;
      info.durationSeconds = streamDuration(format, stream);
      info.sampleRate = stream->codecpar->sample_rate;
      info.channels = stream->codecpar->ch_layout.nb_channels;
      if (info.sampleRate <= 0 || !decodesOneFrame(format, index)) info = failure("audio in " + path + " does not decode");
    }
  }
  avformat_close_input(&format);
  return info;
}

}  // namespace vx::audio
