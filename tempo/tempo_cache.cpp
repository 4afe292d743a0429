#include "tempo/tempo_cache.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "basic/textfile.h"

namespace vx::tempo {
namespace {

constexpr const char* kCacheName = "velvoxtempo.txt";

template <typename T>
bool parseNumber(std::string_view text, T& out) {
  const auto* end = text.data() + text.size();
  const auto [at, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && at == end;
}

// "bpm<TAB>size<TAB>mtime<TAB>seconds<TAB>path"; the path last, as it may hold anything but a
// line break.
std::optional<std::pair<std::string, TempoCacheEntry>> parseLine(std::string_view line) {
  std::string_view fields[4];
  for (auto& f : fields) {
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    f = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  TempoCacheEntry e;
  if (!parseNumber(fields[0], e.bpm) || !parseNumber(fields[1], e.size) || !parseNumber(fields[2], e.mtime) ||
      !parseNumber(fields[3], e.seconds))
    return std::nullopt;
  if (line.empty() || !std::isfinite(e.bpm) || e.bpm < 0 || !std::isfinite(e.seconds) || e.seconds < 0) return std::nullopt;
  return std::pair{std::string(line), e};
}

void readCacheOnce(Program& p) {
  if (p.tempo.cacheRead) return;
  p.tempo.cacheRead = true;
  const auto path = cachePath(p);
  if (path.empty()) return;
  auto read = basic::readTextLines(path);
  if (read.ok) p.tempo.cache = parseCache(read.lines);
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

// The cache's entry for the file when it still describes the file as it is.
const TempoCacheEntry* validEntry(Program& p, const std::string& path) {
  readCacheOnce(p);
  const auto it = p.tempo.cache.find(path);
  if (it == p.tempo.cache.end()) return nullptr;
  const auto now = fileStamp(path);
  if (!now || now->size != it->second.size || now->mtime != it->second.mtime) return nullptr;
  return &it->second;
}

std::optional<double> cachedTempo(Program& p, const std::string& path) {
  const auto* e = validEntry(p, path);
  return e ? std::optional(e->bpm) : std::nullopt;
}

std::optional<double> cachedLength(Program& p, const std::string& path) {
  const auto* e = validEntry(p, path);
  return e && e->seconds > 0 ? std::optional(e->seconds) : std::nullopt;
}

void storeTempo(Program& p, const std::string& path, double bpm, double seconds) {
  auto stamp = fileStamp(path);
  if (!stamp || path.find_first_of("\r\n") != std::string::npos) return;
  if (const auto* before = validEntry(p, path); before && seconds <= 0) seconds = before->seconds;
  stamp->bpm = bpm;
  stamp->seconds = seconds;
  p.tempo.cache[path] = *stamp;
  const auto file = cachePath(p);
  std::string error;
  // A cache that cannot be written is only a cache: the song is analysed again next time.
  if (!file.empty()) basic::writeTextLinesAtomic(file, cacheLines(p.tempo.cache), &error);
}

std::vector<std::string> cacheLines(const std::map<std::string, TempoCacheEntry>& cache) {
  std::vector<std::string> lines;
  lines.reserve(cache.size());
  const auto number = [](double v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
  };
  for (const auto& [path, e] : cache)
    lines.push_back(number(e.bpm) + "\t" + std::to_string(e.size) + "\t" + std::to_string(e.mtime) + "\t" +
                    number(e.seconds) + "\t" + path);
  return lines;
}

std::map<std::string, TempoCacheEntry> parseCache(const std::vector<std::string>& lines) {
  std::map<std::string, TempoCacheEntry> cache;
  for (const auto& line : lines)
    if (auto entry = parseLine(line)) cache[std::move(entry->first)] = entry->second;
  return cache;
}

}  // namespace vx::tempo
