#pragma once
// The hot cues of every song, kept in `velvoxcues.txt` beside the settings: one line per song,
//   size TAB modification-time TAB eight frames (comma-separated, "-" for an empty pad) TAB path
// with frames counted in the song's own samples. A song's cues hold while its size and
// modification time are those they were set with; a file replaced under the same name loses
// them. Unreadable lines are skipped, so a damaged file costs only the songs on its bad lines.
#include <map>
#include <string>
#include <vector>

#include "core/program.h"

namespace vx::cues {

// The hot-cue file: beside the settings file ("" when the program has none).
std::string cueFilePath(const Program& p);

// The song's hot cues as stored for the file as it is now; all empty for an unknown or changed
// file (a changed file's entry is dropped).
HotCueFrames storedCues(Program& p, const std::string& path);

// Records the song's hot cues for the file as it is now and writes the file atomically. A song
// whose pads are all empty leaves the file.
void storeCues(Program& p, const std::string& path, const HotCueFrames& frames);

// The file's lines and back. At most kMaxSongs lines are read; a longer file keeps its first.
inline constexpr size_t kMaxSongs = 100000;
std::vector<std::string> cueLines(const std::map<std::string, SongCues>& songs);
std::map<std::string, SongCues> parseCueLines(const std::vector<std::string>& lines);

}  // namespace vx::cues
