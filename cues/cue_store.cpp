#include "cues/cue_store.h"

#include <charconv>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "basic/textfile.h"
#include "tempo/tempo_cache.h"

namespace vx::cues {
namespace {

constexpr const char* kFileName = "velvoxcues.txt";
// A file larger than this is no cue file of ours (100,000 songs fit with room to spare).
constexpr uintmax_t kMaxFileBytes = 64u << 20;

template <typename T>
bool parseNumber(std::string_view text, T& out) {
  const auto* end = text.data() + text.size();
  const auto [at, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && at == end;
}

std::vector<std::string_view> fields(std::string_view line, size_t count) {
  std::vector<std::string_view> out;
  while (out.size() + 1 < count) {
    const auto tab = line.find('\t');
    if (tab == std::string_view::npos) return {};
    out.push_back(line.substr(0, tab));
    line.remove_prefix(tab + 1);
  }
  out.push_back(line);  // the path, which may hold anything but a line end
  return out;
}

bool parseFrames(std::string_view text, HotCueFrames& frames) {
  for (int i = 0; i < kHotCues; ++i) {
    const auto comma = text.find(',');
    const auto item = text.substr(0, comma);
    if ((comma == std::string_view::npos) != (i == kHotCues - 1)) return false;
    frames[i] = -1;
    if (item != "-" && (!parseNumber(item, frames[i]) || frames[i] < 0)) return false;
    text.remove_prefix(comma == std::string_view::npos ? text.size() : comma + 1);
  }
  return true;
}

void readOnce(Program& p) {
  if (p.cues.read) return;
  p.cues.read = true;
  const auto path = cueFilePath(p);
  std::error_code ec;
  if (path.empty() || std::filesystem::file_size(path, ec) > kMaxFileBytes || ec) return;
  const auto read = basic::readTextLines(path);
  if (read.ok) p.cues.songs = parseCueLines(read.lines);
}

bool allEmpty(const HotCueFrames& frames) {
  for (auto f : frames)
    if (f >= 0) return false;
  return true;
}

}  // namespace

std::string cueFilePath(const Program& p) {
  const auto slash = p.settingsPath.find_last_of('/');
  return slash == std::string::npos ? "" : p.settingsPath.substr(0, slash + 1) + kFileName;
}

std::vector<std::string> cueLines(const std::map<std::string, SongCues>& songs) {
  std::vector<std::string> lines;
  for (const auto& [path, song] : songs) {
    std::string frames;
    for (int i = 0; i < kHotCues; ++i) {
      if (i) frames += ',';
      frames += song.frames[i] < 0 ? std::string("-") : std::to_string(song.frames[i]);
    }
    lines.push_back(std::to_string(song.size) + '\t' + std::to_string(song.mtime) + '\t' + frames + '\t' + path);
  }
  return lines;
}

std::map<std::string, SongCues> parseCueLines(const std::vector<std::string>& lines) {
  std::map<std::string, SongCues> songs;
  for (size_t i = 0; i < lines.size() && i < kMaxSongs; ++i) {
    const auto f = fields(lines[i], 4);
    SongCues song;
    if (f.size() != 4 || f[3].empty() || !parseNumber(f[0], song.size) || !parseNumber(f[1], song.mtime) ||
        !parseFrames(f[2], song.frames))
      continue;
    songs[std::string(f[3])] = song;
  }
  return songs;
}

HotCueFrames storedCues(Program& p, const std::string& path) {
  HotCueFrames none;
  none.fill(-1);
  readOnce(p);
  const auto it = p.cues.songs.find(path);
  if (it == p.cues.songs.end()) return none;
  const auto now = tempo::fileStamp(path);
  if (now && now->size == it->second.size && now->mtime == it->second.mtime) return it->second.frames;
  // Another file under the same name: its places would be wrong in it.
  p.cues.songs.erase(it);
  storeCues(p, path, none);
  return none;
}

void storeCues(Program& p, const std::string& path, const HotCueFrames& frames) {
  readOnce(p);
  const auto now = tempo::fileStamp(path);
  if (allEmpty(frames) || !now) {
    p.cues.songs.erase(path);
  } else {
    p.cues.songs[path] = {now->size, now->mtime, frames};
  }
  const auto file = cueFilePath(p);
  std::string error;
  if (!file.empty() && !basic::writeTextLinesAtomic(file, cueLines(p.cues.songs), &error))
    p.ports.dialogs->messageBox({"ホットキューを保存できません。\n" + error, "", platform::MsgButtons::OK, platform::MsgIcon::Warning});
}

}  // namespace vx::cues
