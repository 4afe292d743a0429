#pragma once
// Everything the decks want to know about a song, from one decode: tempo and beat grid,
// overview and integrated loudness. Any thread that owns the source; never the UI or audio
// thread (a song takes a good part of its decode time).
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "audio/decode/decoder.h"
#include "audio/analysis/tempo_estimate.h"
#include "platform/tempo_analysis.h"

namespace vx::audio {

struct SongAnalysis {
  TempoEstimate tempo;  // bpm 0 = none; its length is the song's
  std::optional<double> loudness;
  std::vector<platform::OverviewColumn> overview;
  bool cancelled = false;
};

// Reads `source` to its end. `findTempo` false skips the tempo (a synthesised MIDI song has
// no beat to find in its sound that its file does not already state). `cancel` (may be null)
// is read between blocks; once set the analysis stops with `cancelled`.
SongAnalysis analyseSong(Decoder& source, bool findTempo, const std::atomic<bool>* cancel);

// The file's analysis; a file that cannot be read gives an empty one. MIDI files are rendered
// by the decks' synthesiser for their overview and loudness; their tempo is not looked for.
SongAnalysis analyseSongFile(const std::string& path, const std::atomic<bool>* cancel);

}  // namespace vx::audio
