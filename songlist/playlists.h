#pragma once
// Playlists written by other players (.m3u, .m3u8, .pls): read into a song list, and a song
// list written out as an extended m3u8.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/program.h"

namespace vx::songlist {

// True for a name ending in .m3u, .m3u8 or .pls, whatever the case.
bool isPlaylistFile(std::string_view path);

// The song references of a playlist's bytes, in order, as written: comments, #EXT lines,
// blank lines and the other keys of a .pls are left out. The text is UTF-8 (with or without a
// byte-order mark) or, when the file as a whole is not, CP932; lines end in CR LF, LF or CR.
std::vector<std::string> playlistEntries(std::string_view bytes, bool pls);

// Where a reference points, tried in this order: an absolute path as it stands; a relative
// one against the playlist's folder; a Windows path (drive letter or backslashes) with its
// backslashes turned, then by its file name alone in the playlist's folder. "" when no
// candidate is an existing file that is not itself a playlist.
using FileTest = std::function<bool(const std::string&)>;
std::string resolvePlaylistEntry(const std::string& entry, const std::string& playlistFolder, const FileTest& isSong);

struct PlaylistSongs {
  bool readable = false;            // the file could be read at all
  std::vector<std::string> songs;   // resolved paths, in playlist order
  int missing = 0;                  // references that led to no song file
};

// The songs of the playlist at path, resolved against the file system.
PlaylistSongs readPlaylist(const std::string& path);

// Counts a drop's or an open's songs that were skipped, so that one message tells them all.
struct PlaylistTally {
  int missing = 0;
  int unreadable = 0;
  std::vector<std::string> refused;  // paths the list files could not hold (see core/storable.h)
};

// Appends the playlist's songs to the deck's list through the common append step, the title
// being each file's name. False when the list filled up before the end.
bool addPlaylist(Program& p, int deck, const std::string& path, PlaylistTally& tally);

// The one message after a drop or open that skipped songs; nothing when none were skipped.
void reportPlaylistTally(Program& p, const PlaylistTally& tally);

// The text of an extended m3u8 of the deck's list: "#EXTM3U", then per song "#EXTINF:" with
// the length in whole seconds (-1 when unknown) and the title, then the path; CR LF lines.
using SongLength = std::function<int(const std::string& path)>;
std::vector<std::string> m3u8Lines(Program& p, int deck, const SongLength& length);

// The list pop-up's "M3U8で保存": asks for a name (".m3u8" appended when missing) and writes
// the deck's list there through the atomic write of list files.
void saveM3u8(Program& p, int deck);

// The list-file open dialog's answer when it names a playlist: its songs go to list A.
void openPlaylist(Program& p, const std::string& path);

}  // namespace vx::songlist
