#pragma once
// Adding songs to a deck's list: the common append step and drops of files and folders.
#include <string>
#include <vector>

#include "core/program.h"

namespace vx::songlist {

// Appends a song with the defaults of a new entry and selects it in all seven lists.
// False (nothing changed) when the list is full.
bool appendSong(Program& p, int deck, const std::string& path, const std::string& title);

// True while the deck plays: songs added to its list are then only appended, the song on air
// and the list's selection on it stay.
bool deckPlays(Program& p, int deck);

// Files and folders dropped on the deck's visible list. Dropped files count when their name
// ends in one of the music extensions (exact case); a dropped folder adds its music files, one
// level deep, pattern after pattern. With Shift held the folder's files are dealt alternately
// into both lists. Afterwards the deck reached last holds its selected entry, unless it plays (a
// playing deck keeps its song and its list's selection). Any failure shows
// "ファイルが読み込めません。" and ends the drop: what was appended stays, no deck is loaded.
void title1_OLEDragDrop(Program& p, int deck, const std::vector<std::string>& paths, int shift);

// The files of a folder listing that a dropped folder adds, grouped by the folder patterns in
// their order (.mp3, .wav, .mid, .wmd, without regard to case), each group in listing order.
// Names with a line break are left out: a list keeps one value per line.
std::vector<std::string> folderMusicFiles(const std::vector<std::string>& listing);

}  // namespace vx::songlist
