#include "audio/record/wave_recorder.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace vx::audio {

namespace fs = std::filesystem;

namespace {

// Words split at blanks; a word in double quotes keeps its blanks.
std::vector<std::string> splitCommand(const std::string& text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == '\t') {
      ++i;
      continue;
    }
    std::string word;
    if (text[i] == '"') {
      size_t end = text.find('"', i + 1);
      if (end == std::string::npos) end = text.size();
      word = text.substr(i + 1, end - i - 1);
      i = end + 1;
    } else {
      size_t end = text.find_first_of(" \t", i);
      if (end == std::string::npos) end = text.size();
      word = text.substr(i, end - i);
      i = end;
    }
    words.push_back(word);
  }
  return words;
}

bool parseNumber(const std::string& text, long& out) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  out = std::atol(text.c_str());
  return true;
}

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

std::string defaultSpoolFolder() {
  std::error_code ec;
  std::string cache;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg) cache = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home) cache = std::string(home) + "/.cache";
  if (!cache.empty()) {
    fs::path folder = fs::path(cache) / "velvox";
    fs::create_directories(folder, ec);
    if (!ec && access(folder.c_str(), W_OK) == 0) return folder.string();
  }
  return fs::temp_directory_path(ec).string();
}

WaveRecorder::WaveRecorder(CaptureSource& input, CaptureSource* master, std::string spoolFolder)
    : input_(input),
      master_(master),
      spoolFolder_(std::move(spoolFolder)),
      ring_(static_cast<size_t>(kRingSeconds * 48000 * 2)) {}

WaveRecorder::~WaveRecorder() { close(); }

long WaveRecorder::sendCommand(const std::string& command, std::string& result) {
  result.clear();
  std::vector<std::string> words = splitCommand(command);
  long code = words.empty() ? fail(kUnknownCommand, "") : run(words, result);
  if (code == 0) lastCode_ = 0;
  return code;
}

long WaveRecorder::fail(long code, std::string detail) {
  lastCode_ = code;
  lastDetail_ = std::move(detail);
  return code;
}

std::string WaveRecorder::errorText(long code) const {
  std::string text;
  switch (code) {
    case kBadParameter: text = "コマンドのパラメータが正しくありません。"; break;
    case kUnknownCommand: text = "指定されたコマンドは認識できません。"; break;
    case kNotOpen: text = "指定されたデバイスは開かれていないか、認識できません。"; break;
    case kOutOfRange: text = "パラメータの値が範囲外です。"; break;
    case kNotSaved: text = "ファイルを保存できませんでした。"; break;
    case kAliasInUse: text = "指定された別名は既に使われています。"; break;
    case kNoInput: text = "録音デバイスを使えません。"; break;
    default: return "";
  }
  if (code == lastCode_ && !lastDetail_.empty()) text += " (" + lastDetail_ + ")";
  return text;
}

long WaveRecorder::run(const std::vector<std::string>& words, std::string& result) {
  std::string verb = lower(words[0]);
  if (verb == "open") return open(words);
  if (verb != "set" && verb != "record" && verb != "stop" && verb != "save" && verb != "close")
    return fail(kUnknownCommand, words[0]);
  if (words.size() < 2 || alias_.empty() || lower(words[1]) != alias_) return fail(kNotOpen, "");
  if (verb == "set") return set(words);
  if (verb == "record") return words.size() == 2 ? record() : fail(kBadParameter, words[2]);
  if (verb == "save") return save(words);
  if (words.size() != 2) return fail(kBadParameter, words[2]);
  if (verb == "stop") stop();
  else close();
  (void)result;
  return 0;
}

long WaveRecorder::open(const std::vector<std::string>& w) {
  if (w.size() != 6 || lower(w[1]) != "new" || lower(w[2]) != "type" || lower(w[3]) != "waveaudio" ||
      lower(w[4]) != "alias")
    return fail(kBadParameter, "");
  if (!alias_.empty()) return fail(kAliasInUse, w[5]);
  alias_ = lower(w[5]);
  format_ = WaveFormat{};
  fromMaster_ = false;
  return 0;
}

long WaveRecorder::set(const std::vector<std::string>& w) {
  if (w.size() != 4) return fail(kBadParameter, "");
  std::string what = lower(w[2]);
  if (what == "source") {
    std::string v = lower(w[3]);
    if (v == "master" && master_) fromMaster_ = true;
    else if (v == "input") fromMaster_ = false;
    else return fail(kOutOfRange, w[3]);
    return 0;
  }
  long v = 0;
  if (!parseNumber(w[3], v)) return fail(kBadParameter, w[3]);
  if (what == "bitspersample") {
    if (v != 8 && v != 16) return fail(kOutOfRange, w[3]);
    format_.bits = static_cast<int>(v);
  } else if (what == "samplespersec") {
    if (v < 8000 || v > 48000) return fail(kOutOfRange, w[3]);
    format_.rate = static_cast<int>(v);
  } else if (what == "channels") {
    if (v != 1 && v != 2) return fail(kOutOfRange, w[3]);
    format_.channels = static_cast<int>(v);
  } else {
    return fail(kBadParameter, w[2]);
  }
  return 0;
}

long WaveRecorder::record() {
  if (source_) return 0;
  stop();
  dropSpool();
  CaptureSource& source = fromMaster_ ? *master_ : input_;
  ring_.reset();
  CaptureFormat delivered;
  std::string error;
  if (!source.start({format_.rate, format_.channels}, ring_, delivered, error)) return fail(kNoInput, error);
  static std::atomic<int> serial{0};
  std::string spool = (fs::path(spoolFolder_) / ("velvox-recording-" + std::to_string(getpid()) + "-" +
                                                 std::to_string(++serial) + ".wav")).string();
  if (!writer_.begin(spool, format_, delivered, ring_, error)) {
    source.stop();
    return fail(kNoInput, spoolFolder_ + ": " + error);
  }
  source_ = &source;
  deliveredSamplesPerSecond_ = delivered.rate * delivered.channels;
  lostSeconds_ = 0;
  spool_ = spool;
  spoolOwned_ = true;
  interruption_.clear();
  return 0;
}

void WaveRecorder::stop() {
  if (source_) source_->stop();
  if (source_ && deliveredSamplesPerSecond_ > 0)
    lostSeconds_ = static_cast<double>(ring_.lost()) / deliveredSamplesPerSecond_;
  source_ = nullptr;
  writer_.end();
}

double WaveRecorder::takeLostSeconds() { return std::exchange(lostSeconds_, 0); }

std::string WaveRecorder::takeInterruption() {
  if (!source_) return "";
  std::string why;
  if (!source_->healthy()) why = "録音デバイスがなくなりました";
  else if (std::string disk = writer_.failure(); !disk.empty()) why = "ディスクに書き込めなくなりました (" + disk + ")";
  if (why.empty()) return "";
  stop();
  return why;
}

long WaveRecorder::save(const std::vector<std::string>& w) {
  if (w.size() != 3) return fail(kBadParameter, w.size() > 3 ? w[3] : "");
  stop();
  if (spool_.empty()) {
    // Nothing was recorded: the file is a valid, empty recording.
    CaptureFormat none{format_.rate, format_.channels};
    std::string spool = (fs::path(spoolFolder_) / ("velvox-recording-" + std::to_string(getpid()) + "-empty.wav")).string();
    std::string error;
    if (!writer_.begin(spool, format_, none, ring_, error)) return fail(kNotSaved, error);
    writer_.end();
    spool_ = spool;
    spoolOwned_ = true;
  }
  fs::path target = fs::absolute(fs::path(w[2]));
  std::error_code ec;
  if (fs::exists(target, ec) && fs::equivalent(target, spool_, ec)) return 0;
  if (spoolOwned_) {
    fs::rename(spool_, target, ec);
    if (!ec) {
      spool_ = target.string();
      spoolOwned_ = false;
      return 0;
    }
  }
  // Another file system: copy, keeping the spool for another save.
  ec.clear();
  fs::copy_file(spool_, target, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    std::string why = target.string() + ": " + ec.message();
    return fail(kNotSaved, why);
  }
  return 0;
}

void WaveRecorder::dropSpool() {
  std::error_code ec;
  if (spoolOwned_ && !spool_.empty()) fs::remove(spool_, ec);
  spool_.clear();
  spoolOwned_ = false;
}

void WaveRecorder::close() {
  stop();
  dropSpool();
  alias_.clear();
}

}  // namespace vx::audio
