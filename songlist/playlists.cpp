#include "songlist/playlists.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "basic/fileio.h"
#include "basic/textfile.h"
#include "core/storable.h"
#include "songlist/adding.h"
#include "songlist/song_list.h"
#include "tempo/tempo_cache.h"

namespace vx::songlist {
namespace {

// Larger files are not playlists; reading them whole would only stall the window.
constexpr size_t kMaxPlaylistBytes = 64u << 20;
// A path longer than this cannot name a file on any system we meet.
constexpr size_t kMaxEntryLength = 4096;

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = lowerAscii(c);
  return out;
}

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

// A .pls line "FileN=reference"; "" for every other key.
std::string_view plsReference(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  const std::string key = lowered(trimmed(line.substr(0, eq)));
  if (!key.starts_with("file") || key.size() == 4) return {};
  for (size_t i = 4; i < key.size(); ++i)
    if (key[i] < '0' || key[i] > '9') return {};
  return trimmed(line.substr(eq + 1));
}

// Control characters never stand in a file name a playlist can mean; a binary file is made of them.
bool plausibleReference(std::string_view ref) {
  if (ref.empty() || ref.size() > kMaxEntryLength) return false;
  for (unsigned char c : ref)
    if (c < 0x20 || c == 0x7F) return false;
  return true;
}

bool isWindowsPath(std::string_view ref) {
  const bool drive = ref.size() >= 2 && ref[1] == ':' &&
                     ((ref[0] >= 'A' && ref[0] <= 'Z') || (ref[0] >= 'a' && ref[0] <= 'z'));
  return drive || ref.find('\\') != std::string_view::npos;
}

// A "file://" reference as the plain path it names, with %XX escapes undone.
std::string fromFileUrl(std::string_view ref) {
  ref.remove_prefix(7);
  if (ref.starts_with("localhost/")) ref.remove_prefix(9);
  std::string out;
  for (size_t i = 0; i < ref.size(); ++i) {
    const auto hex = [](char c) {
      return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    if (ref[i] == '%' && i + 2 < ref.size() && hex(ref[i + 1]) >= 0 && hex(ref[i + 2]) >= 0) {
      out += static_cast<char>(hex(ref[i + 1]) * 16 + hex(ref[i + 2]));
      i += 2;
    } else {
      out += ref[i];
    }
  }
  return out;
}

std::string joined(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

bool isSongFile(const std::string& path) {
  if (isPlaylistFile(path)) return false;  // a playlist naming itself or another is no song
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

bool isPlaylistFile(std::string_view path) {
  const std::string name = lowered(path);
  return name.ends_with(".m3u") || name.ends_with(".m3u8") || name.ends_with(".pls");
}

std::vector<std::string> playlistEntries(std::string_view bytes, bool pls) {
  const std::string text = basic::decodeText(bytes);
  basic::LineSplitter lines(text);
  std::vector<std::string> entries;
  std::string raw;
  while (lines.next(raw)) {
    const std::string_view line = trimmed(raw);
    const std::string_view ref = pls ? plsReference(line) : (line.starts_with('#') ? std::string_view{} : line);
    if (plausibleReference(ref)) entries.emplace_back(ref);
  }
  return entries;
}

std::string resolvePlaylistEntry(const std::string& entry, const std::string& playlistFolder, const FileTest& isSong) {
  const std::string ref = entry.starts_with("file://") ? fromFileUrl(entry) : entry;
  if (ref.empty()) return "";
  if (!isWindowsPath(ref)) {
    const std::string path = ref.front() == '/' ? ref : joined(playlistFolder, ref);
    return isSong(path) ? path : "";
  }
  const bool drive = ref.size() >= 2 && ref[1] == ':';
  // A Linux file name may hold backslashes, so the reference is first taken as it stands.
  const std::string asItStands = drive || ref.front() == '/' ? ref : joined(playlistFolder, ref);
  if (isSong(asItStands)) return asItStands;
  std::string turned = ref;
  for (char& c : turned)
    if (c == '\\') c = '/';
  if (!drive) {
    const std::string path = turned.front() == '/' ? turned : joined(playlistFolder, turned);
    if (isSong(path)) return path;
  }
  const std::string byName = joined(playlistFolder, fileTitle(turned));
  return isSong(byName) ? byName : "";
}

PlaylistSongs readPlaylist(const std::string& path) {
  PlaylistSongs result;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxPlaylistBytes) return result;
  std::string bytes, error;
  if (!basic::detail::readWholeFile(path, bytes, error)) return result;
  result.readable = true;
  const std::string folder = folderOf(path);
  for (const auto& entry : playlistEntries(bytes, lowered(path).ends_with(".pls"))) {
    std::string song = resolvePlaylistEntry(entry, folder, isSongFile);
    if (song.empty())
      ++result.missing;
    else
      result.songs.push_back(std::move(song));
  }
  return result;
}

bool addPlaylist(Program& p, int deck, const std::string& path, PlaylistTally& tally) {
  const auto read = readPlaylist(path);
  if (!read.readable) {
    ++tally.unreadable;
    return true;
  }
  tally.missing += read.missing;
  for (const auto& song : read.songs) {
    if (!storable(song)) tally.refused.push_back(song);
    else if (!appendSong(p, deck, song, fileTitle(song))) return false;
  }
  return true;
}

void reportPlaylistTally(Program& p, const PlaylistTally& tally) {
  reportUnstorable(p, tally.refused);
  std::string text;
  if (tally.unreadable > 0) text += "プレイリストが読み込めません。";
  if (tally.missing > 0) {
    if (!text.empty()) text += "\n";
    text += "見つからない曲が " + std::to_string(tally.missing) + " 曲ありました。";
  }
  if (text.empty()) return;
  p.ports.dialogs->messageBox({text, "", platform::MsgButtons::OK, platform::MsgIcon::Warning});
}

std::vector<std::string> m3u8Lines(Program& p, int deck, const SongLength& length) {
  const SongList list(p.main, deck);
  std::vector<std::string> lines{"#EXTM3U"};
  lines.reserve(1 + 2 * static_cast<size_t>(list.count()));
  for (int i = 0; i < list.count(); ++i) {
    const std::string& path = list.value(Path, i);
    lines.push_back("#EXTINF:" + std::to_string(length ? length(path) : -1) + "," + list.value(Title, i));
    lines.push_back(path);
  }
  return lines;
}

void saveM3u8(Program& p, int deck) {
  platform::FileDialogSpec spec{"Save playlist", "(*.m3u8;)|*.m3u8;", "", p.dialogInitialFolder, "", false};
  auto name = p.ports.dialogs->saveFile(spec);
  if (!name || name->empty()) return;
  if (!lowered(*name).ends_with(".m3u8")) *name += ".m3u8";
  if (name->front() != '/') return;
  // Lengths come from the decks and from the tempo analyses of songs that stood in a deck; a
  // song never loaded is marked unknown, as the format allows, rather than opened here.
  const SongLength length = [&p](const std::string& path) {
    for (int d = 0; d < 2; ++d)
      if (p.player(d).fileName() == path && p.player(d).duration() > 0) return static_cast<int>(std::lround(p.player(d).duration()));
    const auto cached = tempo::cachedLength(p, path);
    return cached ? static_cast<int>(std::lround(*cached)) : -1;
  };
  std::string error;
  if (!basic::writeTextLinesAtomic(*name, m3u8Lines(p, deck, length), &error))
    p.ports.dialogs->messageBox({"プレイリストを保存できませんでした。\n" + error, "", platform::MsgButtons::OK, platform::MsgIcon::Warning});
}

void openPlaylist(Program& p, const std::string& path) {
  PlaylistTally tally;
  if (!addPlaylist(p, 0, path, tally))
    p.ports.dialogs->messageBox({"ファイルが読み込めません。", "", platform::MsgButtons::OK, platform::MsgIcon::None});
  reportPlaylistTally(p, tally);
}

}  // namespace vx::songlist
