#include "songlist/adding.h"

#include <array>
#include <string_view>

#include "core/storable.h"
#include "songlist/playlists.h"
#include "songlist/song_list.h"

namespace vx::songlist {
namespace {

constexpr std::array<std::string_view, 5> kDropExtensions{".mp3", ".wav", ".mid", ".wmd", ".mpg"};
// A folder adds no .mpg files although a single dropped one is taken.
constexpr std::array<std::string_view, 4> kFolderExtensions{".mp3", ".wav", ".mid", ".wmd"};

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool isDroppedMusic(std::string_view path) {
  for (auto ext : kDropExtensions)
    if (path.ends_with(ext)) return true;
  return false;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool endsWithIgnoringCase(std::string_view name, std::string_view lowerExt) {
  if (name.size() < lowerExt.size()) return false;
  const auto tail = name.substr(name.size() - lowerExt.size());
  for (size_t i = 0; i < tail.size(); ++i)
    if (lowerAscii(tail[i]) != lowerExt[i]) return false;
  return true;
}

// The folder pattern a file name matches, or -1.
int folderPattern(std::string_view name) {
  for (size_t k = 0; k < kFolderExtensions.size(); ++k)
    if (name.size() > kFolderExtensions[k].size() && endsWithIgnoringCase(name, kFolderExtensions[k]))
      return static_cast<int>(k);
  return -1;
}

std::string joinPath(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

void reportDropFailure(Program& p) {
  p.ports.dialogs->messageBox({"ファイルが読み込めません。", "", platform::MsgButtons::OK, platform::MsgIcon::None});
}

// Appends and selects the new entry; false when the list is full.
bool appendSelected(SongList& list, const SongEntry& e) {
  if (!list.append(e)) return false;
  list.select(list.count() - 1);
  return true;
}

// Appends a dropped folder's music files, switching decks after each with Shift held.
bool addFolder(Program& p, int& deck, const std::string& folder, bool deal, PlaylistTally& tally) {
  if (!p.ports.shell->folderReadable(folder)) return false;
  std::array<SongList, 2> lists{SongList(p.main, 0), SongList(p.main, 1)};
  SongEntry e = newSongEntry(p, "");
  for (auto& name : folderMusicFiles(p.ports.shell->listFiles(folder))) {
    e.path = joinPath(folder, name);
    if (!storable(e.path)) {
      tally.refused.push_back(e.path);
      continue;
    }
    e.title = std::move(name);
    if (!appendSelected(lists[deck], e)) return false;
    if (deal) deck = 1 - deck;
  }
  return true;
}

// A dropped path may be a music file and a folder at once: both tests apply.
bool addDropped(Program& p, int& deck, const std::string& path, bool deal, PlaylistTally& tally) {
  if (isPlaylistFile(path) && !p.ports.shell->isFolder(path)) return addPlaylist(p, deck, path, tally);
  if (isDroppedMusic(path) && !storable(path)) {
    tally.refused.push_back(path);
    return true;
  }
  if (isDroppedMusic(path) && !appendSong(p, deck, path, fileTitle(path))) return false;
  return !p.ports.shell->isFolder(path) || addFolder(p, deck, path, deal, tally);
}

// The deck takes the entry selected in its path list, with no other per-song value; its title is
// that entry's, whatever the title list selects, so the label names the file the deck holds.
void loadDropped(Program& p, int deck) {
  SongList list(p.main, deck);
  p.player(deck).setFileName(list.selectedValue(Path));
  p.main.label("lbfilename", deck).setCaption("");
  p.main.label("text2", deck).setCaption(list.value(Title, list.selected()));
}

// A playing deck's list goes back to the entry it selected before the drop: the song on air.
void keepPlayingSelections(Program& p, const std::array<int, 2>& before) {
  for (int deck = 0; deck < 2; ++deck)
    if (deckPlays(p, deck) && before[static_cast<size_t>(deck)] >= 0)
      SongList(p.main, deck).select(before[static_cast<size_t>(deck)]);
}

}  // namespace

bool deckPlays(Program& p, int deck) { return p.player(deck).playState() == platform::Playing; }

bool appendSong(Program& p, int deck, const std::string& path, const std::string& title) {
  SongList list(p.main, deck);
  SongEntry e = newSongEntry(p, path);
  e.title = title;
  return appendSelected(list, e);
}

std::vector<std::string> folderMusicFiles(const std::vector<std::string>& listing) {
  std::array<std::vector<std::string>, kFolderExtensions.size()> byPattern;
  for (const auto& entry : listing) {
    std::string name = fileTitle(entry);
    const int k = hasLineBreak(name) ? -1 : folderPattern(name);
    if (k >= 0) byPattern[static_cast<size_t>(k)].push_back(std::move(name));
  }
  std::vector<std::string> found;
  for (auto& group : byPattern) found.insert(found.end(), std::make_move_iterator(group.begin()), std::make_move_iterator(group.end()));
  return found;
}

void title1_OLEDragDrop(Program& p, int deck, const std::vector<std::string>& paths, int shift) {
  if (paths.empty()) return;
  const bool deal = (shift & form::ShiftKey) != 0;
  PlaylistTally tally;
  const std::array<int, 2> before{SongList(p.main, 0).selected(), SongList(p.main, 1).selected()};
  for (const auto& path : paths) {
    if (!addDropped(p, deck, path, deal, tally)) {
      keepPlayingSelections(p, before);
      reportDropFailure(p);
      reportPlaylistTally(p, tally);
      return;
    }
  }
  keepPlayingSelections(p, before);
  if (!deckPlays(p, deck)) loadDropped(p, deck);
  reportPlaylistTally(p, tally);
}

}  // namespace vx::songlist
