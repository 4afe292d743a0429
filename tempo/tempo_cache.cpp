#include "tempo/tempo_cache.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "basic/textfile.h"

namespace vx::tempo {
namespace {

constexpr const char* kCacheName = "velvoxanalysis.txt";
constexpr const char* kOldCacheName = "velvoxtempo.txt";  // tempo and length only
constexpr const char* kNone = "-";

template <typename T>
bool parseNumber(std::string_view text, T& out) {
  const auto* end = text.data() + text.size();
  const auto [at, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && at == end;
}

std::string number(double v) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Each column as two bytes (low, high: -1..1 as 0..255), three bytes to four characters.
std::string overviewText(const std::vector<platform::OverviewColumn>& columns) {
  if (columns.empty()) return kNone;
  std::string bytes;
  const auto byte = [](float v) { return static_cast<char>(std::lround((std::clamp(v, -1.0f, 1.0f) + 1) * 127.5f)); };
  for (const auto& c : columns) bytes += {byte(c.low), byte(c.high)};
  while (bytes.size() % 3) bytes += '\0';
  std::string out;
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const auto v = static_cast<uint32_t>(static_cast<uint8_t>(bytes[i])) << 16 |
                   static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + 1])) << 8 | static_cast<uint8_t>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += kBase64[(v >> shift) & 63];
  }
  return out;
}

std::optional<std::vector<platform::OverviewColumn>> parseOverview(std::string_view text) {
  if (text == kNone) return std::vector<platform::OverviewColumn>{};
  constexpr size_t kBytes = 2 * platform::kOverviewColumns;
  if (text.size() != (kBytes + 2) / 3 * 4) return std::nullopt;
  std::string bytes;
  for (size_t i = 0; i < text.size(); i += 4) {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) {
      const auto at = kBase64.find(text[i + k]);
      if (at == std::string_view::npos) return std::nullopt;
      v = v << 6 | static_cast<uint32_t>(at);
    }
    bytes += {static_cast<char>(v >> 16), static_cast<char>(v >> 8 & 255), static_cast<char>(v & 255)};
  }
  std::vector<platform::OverviewColumn> columns(platform::kOverviewColumns);
  const auto level = [](char b) { return static_cast<float>(static_cast<uint8_t>(b)) / 127.5f - 1; };
  for (size_t c = 0; c < columns.size(); ++c) columns[c] = {level(bytes[2 * c]), level(bytes[2 * c + 1])};
  return columns;
}

// Splits off `count` tab-ended fields; false when the line has fewer.
bool fields(std::string_view& line, std::string_view* out, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) return false;
    out[i] = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  return true;
}

bool validTempo(const TempoCacheEntry& e) {
  return std::isfinite(e.bpm) && e.bpm >= 0 && std::isfinite(e.seconds) && e.seconds >= 0;
}

// "bpm<TAB>size<TAB>mtime<TAB>seconds<TAB>path": the older file's lines.
std::optional<std::pair<std::string, TempoCacheEntry>> parseOldLine(std::string_view line) {
  std::string_view f[4];
  TempoCacheEntry e;
  if (!fields(line, f, 4) || !parseNumber(f[0], e.bpm) || !parseNumber(f[1], e.size) || !parseNumber(f[2], e.mtime) ||
      !parseNumber(f[3], e.seconds) || line.empty() || !validTempo(e))
    return std::nullopt;
  return std::pair{std::string(line), e};
}

// "bpm size mtime seconds flags firstBeat beatLength loudness overview path", tab-separated;
// the path last, as it may hold anything but a line break. Flags: "a" analysed, "h" tempo by
// hand, "-" neither. Loudness and overview are "-" when there are none.
std::optional<std::pair<std::string, TempoCacheEntry>> parseLine(std::string_view line) {
  const auto whole = line;
  std::string_view f[9];
  TempoCacheEntry e;
  if (!fields(line, f, 9) || line.empty()) return parseOldLine(whole);
  const auto flags = f[4];
  if (flags.empty() || flags.find_first_not_of(flags == kNone ? "-" : "ah") != std::string_view::npos)
    return parseOldLine(whole);
  e.analysed = flags.find('a') != std::string_view::npos;
  e.byHand = flags.find('h') != std::string_view::npos;
  double loudness = 0;
  if (!parseNumber(f[0], e.bpm) || !parseNumber(f[1], e.size) || !parseNumber(f[2], e.mtime) ||
      !parseNumber(f[3], e.seconds) || !parseNumber(f[5], e.firstBeat) || !parseNumber(f[6], e.beatLength) ||
      !validTempo(e) || !std::isfinite(e.firstBeat) || !std::isfinite(e.beatLength) || e.beatLength < 0)
    return std::nullopt;
  if (f[7] != kNone) {
    if (!parseNumber(f[7], loudness) || !std::isfinite(loudness)) return std::nullopt;
    e.loudness = loudness;
  }
  auto overview = parseOverview(f[8]);
  if (overview) e.overview = std::move(*overview);
  else e.analysed = false;  // asked for again; the tempo stays
  return std::pair{std::string(line), e};
}

void readCacheOnce(Program& p) {
  if (p.tempo.cacheRead) return;
  p.tempo.cacheRead = true;
  const auto path = cachePath(p);
  if (path.empty()) return;
  auto read = basic::readTextLines(path);
  if (!read.ok) read = basic::readTextLines(path.substr(0, path.size() - std::string_view(kCacheName).size()) + kOldCacheName);
  if (read.ok) p.tempo.cache = parseCache(read.lines);
}

// The cache's entry for the file when it still describes the file as it is.
TempoCacheEntry* validEntry(Program& p, const std::string& path) {
  readCacheOnce(p);
  const auto it = p.tempo.cache.find(path);
  if (it == p.tempo.cache.end()) return nullptr;
  const auto now = fileStamp(path);
  if (!now || now->size != it->second.size || now->mtime != it->second.mtime) return nullptr;
  return &it->second;
}

void writeCache(Program& p) {
  const auto file = cachePath(p);
  std::string error;
  // A cache that cannot be written is only a cache: the song is analysed again next time.
  if (!file.empty()) basic::writeTextLinesAtomic(file, cacheLines(p.tempo.cache), &error);
}

}  // namespace

std::optional<TempoCacheEntry> fileStamp(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return std::nullopt;
  const auto time = std::filesystem::last_write_time(path, ec);
  if (ec) return std::nullopt;
  TempoCacheEntry e;
  e.size = static_cast<int64_t>(size);
  e.mtime = std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
  return e;
}

std::string cachePath(const Program& p) {
  const auto slash = p.settingsPath.find_last_of('/');
  return slash == std::string::npos ? "" : p.settingsPath.substr(0, slash + 1) + kCacheName;
}

std::optional<double> cachedTempo(Program& p, const std::string& path) {
  const auto* e = validEntry(p, path);
  return e ? std::optional(e->bpm) : std::nullopt;
}

std::optional<double> cachedLength(Program& p, const std::string& path) {
  const auto* e = validEntry(p, path);
  return e && e->seconds > 0 ? std::optional(e->seconds) : std::nullopt;
}

const TempoCacheEntry* cachedAnalysis(Program& p, const std::string& path) {
  const auto* e = validEntry(p, path);
  return e && e->analysed ? e : nullptr;
}

void storeTempo(Program& p, const std::string& path, double bpm, double seconds) {
  auto stamp = fileStamp(path);
  if (!stamp || path.find_first_of("\r\n") != std::string::npos) return;
  if (const auto* before = validEntry(p, path)) {
    if (seconds <= 0) seconds = before->seconds;
    *stamp = *before;
  }
  stamp->bpm = bpm;
  stamp->seconds = seconds;
  stamp->byHand = true;
  p.tempo.cache[path] = std::move(*stamp);
  writeCache(p);
}

void storeAnalysis(Program& p, const platform::TempoResult& r) {
  auto stamp = fileStamp(r.path);
  if (!stamp || r.path.find_first_of("\r\n") != std::string::npos) return;
  stamp->bpm = r.bpm;
  if (const auto* before = validEntry(p, r.path); before && before->byHand) {
    stamp->bpm = before->bpm;
    stamp->byHand = true;
  }
  stamp->seconds = r.seconds;
  stamp->analysed = true;
  stamp->firstBeat = r.firstBeat;
  stamp->beatLength = r.beatLength;
  stamp->loudness = r.loudness;
  if (r.overview.size() == static_cast<size_t>(platform::kOverviewColumns)) stamp->overview = r.overview;
  p.tempo.cache[r.path] = std::move(*stamp);
  writeCache(p);
}

std::vector<std::string> cacheLines(const std::map<std::string, TempoCacheEntry>& cache) {
  std::vector<std::string> lines;
  lines.reserve(cache.size());
  for (const auto& [path, e] : cache) {
    std::string flags = std::string(e.analysed ? "a" : "") + (e.byHand ? "h" : "");
    lines.push_back(number(e.bpm) + "\t" + std::to_string(e.size) + "\t" + std::to_string(e.mtime) + "\t" +
                    number(e.seconds) + "\t" + (flags.empty() ? kNone : flags) + "\t" + number(e.firstBeat) + "\t" +
                    number(e.beatLength) + "\t" + (e.loudness ? number(*e.loudness) : kNone) + "\t" +
                    overviewText(e.overview) + "\t" + path);
  }
  return lines;
}

std::map<std::string, TempoCacheEntry> parseCache(const std::vector<std::string>& lines) {
  std::map<std::string, TempoCacheEntry> cache;
  for (const auto& line : lines)
    if (auto entry = parseLine(line)) cache[std::move(entry->first)] = std::move(entry->second);
  return cache;
}

}  // namespace vx::tempo
