#include "audio/decode/ffmpeg_decoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "audio/decode/packet_index.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

namespace vx::audio {
namespace {

// Codecs whose every frame decodes on its own (PCM and the common lossless ones).
bool intraOnly(const AVCodecParameters* par) {
  AVCodecID id = par->codec_id;
  return (id >= AV_CODEC_ID_PCM_S16LE && id < AV_CODEC_ID_ADPCM_IMA_QT) || id == AV_CODEC_ID_FLAC ||
         id == AV_CODEC_ID_ALAC || id == AV_CODEC_ID_WAVPACK;
}

// How far before a seek target decoding starts, so that a decoder that carries state from frame
// to frame (bit reservoir, overlapping transforms, filter banks) has settled when the target comes.
int64_t prerollFrames(const AVCodecParameters* par) {
  if (intraOnly(par)) return 0;
  int64_t frameSize = par->frame_size > 0 ? par->frame_size : 2048;
  return std::max<int64_t>(par->seek_preroll, 0) + 4 * frameSize;
}

// Frame numbers count from the first frame of a straight decode. Compressed formats are read
// through a packet index (see packet_index.h): each packet is stamped with its start sample, so
// a decoded frame's timestamp is its sample number. Formats whose every frame stands alone (PCM,
// FLAC) seek by the demuxer's timestamps, which are exact for them.
class FfmpegDecoder : public Decoder {
 public:
  ~FfmpegDecoder() override;
  bool open(const std::string& path, std::string& error);
  const SourceFormat& format() const override { return format_; }
  int read(float* out, int frames) override;
  bool seek(int64_t frame) override;

 private:
  bool openStream(const std::string& path, std::string& error);
  bool openCodec(std::string& error);
  bool openConverter(std::string& error);
  void buildIndex();
  int learnFrameSize();
  bool rewind();
  void resetDecoding();
  bool decodeNext();           // one more decoded frame into pending_
  bool receiveFrame();         // a frame from the codec, reading packets as needed
  bool feedPacket();           // false when no packet could be fed
  void takeFrame(int64_t start);
  int64_t frameNumber() const;  // of frame_, -1 when unknown
  bool seekByIndex(int64_t target, int64_t preroll);
  bool seekByTimestamp(int64_t target, int64_t preroll);

  AVFormatContext* fmt_ = nullptr;
  AVCodecContext* codec_ = nullptr;
  SwrContext* swr_ = nullptr;
  AVPacket* packet_ = nullptr;
  AVFrame* frame_ = nullptr;
  int stream_ = -1;
  AVRational timeBase_{1, 1};  // of the timestamps the codec sees
  int64_t firstTimestamp_ = 0;  // of the first frame of a straight decode
  bool draining_ = false;       // the file is read to its end; the codec gives what it still holds
  bool finished_ = false;
  SourceFormat format_;
  std::vector<float> convert_;  // converter output, mono or stereo
  std::vector<float> pending_;  // stereo frames decoded but not yet read
  size_t pendingOffset_ = 0;    // in frames
  int64_t pendingStart_ = 0;    // frame number of pending_[0]
  int64_t discardBefore_ = 0;   // frames before this number are dropped (after a seek)

  PacketIndex index_;           // empty: the demuxer's timestamps are used
  bool byteSeek_ = false;
  int64_t nextPacket_ = -1;     // index entry of the next packet read; -1 = not known yet
};

FfmpegDecoder::~FfmpegDecoder() {
  swr_free(&swr_);
  av_frame_free(&frame_);
  av_packet_free(&packet_);
  avcodec_free_context(&codec_);
  avformat_close_input(&fmt_);
}

bool FfmpegDecoder::open(const std::string& path, std::string& error) {
  packet_ = av_packet_alloc();
  frame_ = av_frame_alloc();
  if (!openStream(path, error)) return false;
  if (!openCodec(error)) return false;
  if (!intraOnly(fmt_->streams[stream_]->codecpar)) buildIndex();
  if (!openConverter(error)) return false;
  // The first frame proves that the sound decodes and fixes where frame 0 lies.
  if (!rewind() || !receiveFrame()) {
    error = "the sound in the file does not decode";
    return false;
  }
  firstTimestamp_ = frame_->best_effort_timestamp == AV_NOPTS_VALUE ? 0 : frame_->best_effort_timestamp;
  takeFrame(0);
  const AVStream* st = fmt_->streams[stream_];
  double seconds = !index_.empty()  ? static_cast<double>(index_.totalSamples() - firstTimestamp_) / format_.sampleRate
                   : st->duration > 0 ? static_cast<double>(st->duration) * av_q2d(st->time_base)
                   : fmt_->duration > 0 ? static_cast<double>(fmt_->duration) / AV_TIME_BASE
                                       : 0;
  format_.lengthFrames = std::max<int64_t>(0, static_cast<int64_t>(seconds * format_.sampleRate + 0.5));
  format_.durationSeconds = static_cast<double>(format_.lengthFrames) / format_.sampleRate;
  return true;
}

bool FfmpegDecoder::openStream(const std::string& path, std::string& error) {
  if (avformat_open_input(&fmt_, path.c_str(), nullptr, nullptr) < 0) {
    error = "the file cannot be read";
    return false;
  }
  if (avformat_find_stream_info(fmt_, nullptr) < 0 ||
      (stream_ = av_find_best_stream(fmt_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0)) < 0) {
    error = "the file holds no sound";
    return false;
  }
  for (unsigned i = 0; i < fmt_->nb_streams; ++i)
    if (static_cast<int>(i) != stream_) fmt_->streams[i]->discard = AVDISCARD_ALL;
  const AVCodecParameters* par = fmt_->streams[stream_]->codecpar;
  if (par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0) {
    error = "the sound in the file has no sample rate";
    return false;
  }
  format_.sampleRate = par->sample_rate;
  format_.channels = par->ch_layout.nb_channels;
  return true;
}

// Samples in a packet, -1 when the container does not tell. Containers that count time in
// milliseconds round each packet's length; it is then a whole number of the codec's frames.
int64_t packetSamples(const AVPacket* packet, const AVStream* st, int sampleRate, int frameSize) {
  if (packet->duration <= 0) return frameSize > 0 ? frameSize : -1;
  int64_t samples = av_rescale_q(packet->duration, st->time_base, AVRational{1, sampleRate});
  bool coarse = static_cast<int64_t>(st->time_base.num) * sampleRate > st->time_base.den;
  if (coarse && frameSize > 0) samples = std::max<int64_t>(1, (samples + frameSize / 2) / frameSize) * frameSize;
  return samples;
}

// Frames per packet when the container's durations are too coarse to tell: decoding from the
// start until a frame comes out shows it (the codec is opened afresh before playing).
int FfmpegDecoder::learnFrameSize() {
  if (codec_->frame_size > 0) return codec_->frame_size;
  if (avformat_seek_file(fmt_, stream_, INT64_MIN, 0, 0, 0) < 0) return 0;
  int size = 0;
  for (int packets = 0; size == 0 && packets < 64 && av_read_frame(fmt_, packet_) >= 0; ++packets) {
    if (packet_->stream_index == stream_ && avcodec_send_packet(codec_, packet_) >= 0 &&
        avcodec_receive_frame(codec_, frame_) >= 0)
      size = frame_->nb_samples;
    av_packet_unref(packet_);
  }
  av_frame_unref(frame_);
  return size;
}

void FfmpegDecoder::buildIndex() {
  const AVStream* st = fmt_->streams[stream_];
  bool coarse = static_cast<int64_t>(st->time_base.num) * format_.sampleRate > st->time_base.den;
  int frameSize = coarse ? learnFrameSize() : codec_->frame_size;
  if (coarse) avformat_seek_file(fmt_, stream_, INT64_MIN, 0, 0, 0);
  bool known = true;
  while (known && av_read_frame(fmt_, packet_) >= 0) {
    if (packet_->stream_index == stream_) {
      int64_t samples = packetSamples(packet_, st, format_.sampleRate, frameSize);
      known = samples > 0;
      index_.add(packet_->pos, packet_->pts, samples);
    }
    av_packet_unref(packet_);
  }
  if (!known || index_.empty()) {
    index_ = PacketIndex();
    return;
  }
  // A byte seek needs every packet at a position of its own; containers that pack several
  // packets together are entered by timestamp.
  bool positions = true;
  for (size_t i = 0; i < index_.size(); ++i)
    positions = positions && index_[i].pos >= 0 && (i == 0 || index_[i].pos > index_[i - 1].pos);
  byteSeek_ = positions && !(fmt_->iformat->flags & AVFMT_NO_BYTE_SEEK);
}

bool FfmpegDecoder::openCodec(std::string& error) {
  const AVStream* st = fmt_->streams[stream_];
  // The floating-point MPEG audio decoders carry no dither state from frame to frame, so a
  // decode after a seek matches a straight one to the bit.
  const AVCodec* codec = st->codecpar->codec_id == AV_CODEC_ID_MP2   ? avcodec_find_decoder_by_name("mp2float")
                         : st->codecpar->codec_id == AV_CODEC_ID_MP3 ? avcodec_find_decoder_by_name("mp3float")
                                                                     : nullptr;
  if (!codec) codec = avcodec_find_decoder(st->codecpar->codec_id);
  avcodec_free_context(&codec_);
  codec_ = codec ? avcodec_alloc_context3(codec) : nullptr;
  if (!codec_ || avcodec_parameters_to_context(codec_, st->codecpar) < 0) {
    error = "the sound in the file is in a format that cannot be decoded";
    return false;
  }
  timeBase_ = index_.empty() ? st->time_base : AVRational{1, format_.sampleRate};
  codec_->pkt_timebase = timeBase_;
  if (avcodec_open2(codec_, codec, nullptr) < 0) {
    error = "the sound in the file is in a format that cannot be decoded";
    return false;
  }
  return true;
}

bool FfmpegDecoder::openConverter(std::string& error) {
  AVChannelLayout in{};
  if (codec_->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
    av_channel_layout_default(&in, codec_->ch_layout.nb_channels);
  else
    av_channel_layout_copy(&in, &codec_->ch_layout);
  // A mono file is converted as mono and then doubled, so that it sounds at full level on both sides.
  AVChannelLayout out{};
  av_channel_layout_default(&out, format_.channels == 1 ? 1 : 2);
  int rc = swr_alloc_set_opts2(&swr_, &out, AV_SAMPLE_FMT_FLT, format_.sampleRate, &in, codec_->sample_fmt,
                               format_.sampleRate, 0, nullptr);
  av_channel_layout_uninit(&in);
  av_channel_layout_uninit(&out);
  if (rc < 0 || swr_init(swr_) < 0) {
    error = "the sound in the file cannot be converted";
    return false;
  }
  return true;
}

void FfmpegDecoder::resetDecoding() {
  avcodec_flush_buffers(codec_);
  draining_ = finished_ = false;
  pending_.clear();
  pendingOffset_ = 0;
  nextPacket_ = -1;
}

// Back to the first packet, exactly as the file was first read: with a fresh codec, since a
// flushed one may still differ from a new one in its first frames.
bool FfmpegDecoder::rewind() {
  std::string ignored;
  if (!openCodec(ignored)) return false;
  resetDecoding();
  pendingStart_ = 0;
  if (!index_.empty() && byteSeek_) return av_seek_frame(fmt_, stream_, index_[0].pos, AVSEEK_FLAG_BYTE) >= 0;
  if (!index_.empty()) return av_seek_frame(fmt_, stream_, index_[0].pts, AVSEEK_FLAG_BACKWARD) >= 0;
  return avformat_seek_file(fmt_, stream_, INT64_MIN, 0, 0, 0) >= 0 ||
         av_seek_frame(fmt_, stream_, 0, AVSEEK_FLAG_BACKWARD) >= 0;
}

bool FfmpegDecoder::feedPacket() {
  for (;;) {
    if (av_read_frame(fmt_, packet_) < 0) return false;
    if (packet_->stream_index != stream_) {
      av_packet_unref(packet_);
      continue;
    }
    if (!index_.empty()) {
      // After a jump the first packet is looked up; from then on packets follow the index.
      bool expected = nextPacket_ >= 0 && nextPacket_ < static_cast<int64_t>(index_.size()) &&
                      (packet_->pos < 0 || index_[nextPacket_].pos == packet_->pos);
      if (!expected) nextPacket_ = index_.find(packet_->pos, packet_->pts);
      if (nextPacket_ < 0) {  // not a packet of the straight read: leave it out
        av_packet_unref(packet_);
        continue;
      }
      packet_->pts = packet_->dts = index_[nextPacket_++].start;
      packet_->duration = 0;
      // Trimming at the start would shift the timeline between a straight read and a jump.
      av_packet_free_side_data(packet_);
    }
    avcodec_send_packet(codec_, packet_);  // a damaged packet is left out
    av_packet_unref(packet_);
    return true;
  }
}

bool FfmpegDecoder::receiveFrame() {
  for (;;) {
    int rc = avcodec_receive_frame(codec_, frame_);
    if (rc >= 0) {
      if (frame_->nb_samples > 0) return true;
      continue;
    }
    if (rc != AVERROR(EAGAIN) || draining_) return false;
    if (!feedPacket()) {
      // End of file, or a read error that ends it here.
      draining_ = true;
      avcodec_send_packet(codec_, nullptr);
    }
  }
}

void FfmpegDecoder::takeFrame(int64_t start) {
  int frames = frame_->nb_samples;
  int outChannels = format_.channels == 1 ? 1 : 2;
  convert_.resize(static_cast<size_t>(frames) * outChannels);
  uint8_t* out[1] = {reinterpret_cast<uint8_t*>(convert_.data())};
  int made = std::max(0, swr_convert(swr_, out, frames, const_cast<const uint8_t**>(frame_->extended_data), frames));
  pending_.resize(static_cast<size_t>(made) * 2);
  for (size_t i = 0; i < static_cast<size_t>(made); ++i) {
    pending_[2 * i] = convert_[i * outChannels];
    pending_[2 * i + 1] = convert_[i * outChannels + outChannels - 1];
  }
  pendingStart_ = start;
  pendingOffset_ = 0;
}

int64_t FfmpegDecoder::frameNumber() const {
  int64_t ts = frame_->best_effort_timestamp;
  if (ts == AV_NOPTS_VALUE) return -1;
  return av_rescale_q(ts - firstTimestamp_, timeBase_, AVRational{1, format_.sampleRate});
}

bool FfmpegDecoder::decodeNext() {
  if (finished_) return false;
  if (!receiveFrame()) {
    finished_ = true;
    pending_.clear();
    pendingOffset_ = 0;
    return false;
  }
  int64_t next = pendingStart_ + static_cast<int64_t>(pending_.size() / 2);
  int64_t stamped = index_.empty() ? -1 : frameNumber();
  takeFrame(stamped >= 0 ? stamped : next);
  return true;
}

int FfmpegDecoder::read(float* out, int frames) {
  int done = 0;
  while (done < frames) {
    size_t available = pending_.size() / 2 - pendingOffset_;
    if (available == 0) {
      if (!decodeNext()) break;
      continue;
    }
    int64_t at = pendingStart_ + static_cast<int64_t>(pendingOffset_);
    if (at < discardBefore_) {
      pendingOffset_ += static_cast<size_t>(std::min<int64_t>(discardBefore_ - at, static_cast<int64_t>(available)));
      continue;
    }
    size_t n = std::min(available, static_cast<size_t>(frames - done));
    std::memcpy(out + 2 * done, pending_.data() + 2 * pendingOffset_, n * 2 * sizeof(float));
    pendingOffset_ += n;
    done += static_cast<int>(n);
  }
  return done;
}

bool FfmpegDecoder::seekByIndex(int64_t target, int64_t preroll) {
  size_t k = index_.packetAt(std::max<int64_t>(0, target + firstTimestamp_ - preroll));
  if (byteSeek_) k = index_.firstAtSamePosition(k);
  resetDecoding();
  if (k == 0) return rewind();
  int rc = byteSeek_ ? av_seek_frame(fmt_, stream_, index_[k].pos, AVSEEK_FLAG_BYTE)
                     : av_seek_frame(fmt_, stream_, index_[k].pts, AVSEEK_FLAG_BACKWARD);
  if (byteSeek_) nextPacket_ = static_cast<int64_t>(k);
  return rc >= 0;
}

bool FfmpegDecoder::seekByTimestamp(int64_t target, int64_t preroll) {
  int64_t from = target - preroll;
  if (from <= 0) return rewind();
  int64_t ts = firstTimestamp_ + av_rescale_q(from, AVRational{1, format_.sampleRate}, timeBase_);
  resetDecoding();
  if (av_seek_frame(fmt_, stream_, ts, AVSEEK_FLAG_BACKWARD) < 0 || !receiveFrame()) return false;
  int64_t start = frameNumber();
  if (start < 0 || start > target) return false;
  takeFrame(start);
  return true;
}

bool FfmpegDecoder::seek(int64_t frame) {
  frame = std::max<int64_t>(frame, 0);
  discardBefore_ = frame;
  int64_t preroll = prerollFrames(fmt_->streams[stream_]->codecpar);
  if (!index_.empty()) {
    if (seekByIndex(frame, preroll)) return true;
  } else {
    // A demuxer may land later than asked; step further back until it lands before the target.
    for (int attempt = 0; attempt < 3; ++attempt, preroll = preroll * 4 + format_.sampleRate)
      if (seekByTimestamp(frame, preroll)) return true;
  }
  if (rewind()) return true;
  finished_ = true;
  return false;
}

}  // namespace

OpenResult openFfmpegDecoder(const std::string& path) {
  static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
  (void)quiet;
  auto decoder = std::make_unique<FfmpegDecoder>();
  std::string error;
  bool ok = decoder->open(path, error);
  return openResult(path, std::move(decoder), ok, error);
}

}  // namespace vx::audio
