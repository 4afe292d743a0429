#pragma once
// Songs already analysed (tempo, beat grid, loudness, overview), kept in a file beside the
// settings so that a song is analysed once. A file's entry holds while its size and
// modification time are those it was analysed with.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/program.h"

namespace vx::tempo {

// Size and modification time of a file; nullopt when it cannot be looked at.
std::optional<TempoCacheEntry> fileStamp(const std::string& path);

// The file holding the cache: beside the settings file ("" when the program has none).
// Entries of the older tempo-only file beside it are taken over while this one does not exist.
std::string cachePath(const Program& p);

// The cached tempo of the file as it is now (0 = analysed, no tempo); nullopt = not cached.
std::optional<double> cachedTempo(Program& p, const std::string& path);

// The song's length as its analysis found it; nullopt when not cached or not known.
std::optional<double> cachedLength(Program& p, const std::string& path);

// The file's entry, when it still describes the file as it is and holds its analysis.
const TempoCacheEntry* cachedAnalysis(Program& p, const std::string& path);

// Records a tempo the DJ set (and, when known, the length) for the file as it is now and
// writes the cache file. Without a length, one cached before for the unchanged file is kept;
// so is its analysis.
void storeTempo(Program& p, const std::string& path, double bpm, double seconds = 0);

// Records a finished analysis for the file as it is now and writes the cache file. A tempo
// the DJ set for the unchanged file is kept.
void storeAnalysis(Program& p, const platform::TempoResult& result);

// The cache file's lines and back. Unreadable lines are skipped: a damaged cache only costs
// analyses again. Lines of the older tempo-only file are read too.
std::vector<std::string> cacheLines(const std::map<std::string, TempoCacheEntry>& cache);
std::map<std::string, TempoCacheEntry> parseCache(const std::vector<std::string>& lines);

}  // namespace vx::tempo
