#pragma once
// A deck's song list: seven parallel list boxes of the main window, entry i of each belonging
// to song i. Every change goes through this class so the seven lists never fall out of step.
#include <array>
#include <string>

#include "core/program.h"

namespace vx::songlist {

enum Column { Path = 0, Title, Tempo, Trim, Cue, Start, End };
inline constexpr int kColumns = 7;
// Names of the list boxes in column order, as the settings file and list files keep them.
inline constexpr std::array<const char*, kColumns> kColumnNames{"List1", "title1", "tempolis", "vollis",
                                                                "cuelis", "startlis", "endlis"};

struct SongEntry {
  std::string path, title, tempo = "100", trim, cue = "-1", start = "-1", end = "-1";
};

class SongList {
 public:
  SongList(form::MainForm& form, int deck);
  int count() const;
  int selected() const;  // the selected index of List1; -1 = none
  form::ListBox& column(Column c) const { return *lists_[c]; }
  const std::string& value(Column c, int i) const { return lists_[c]->item(i); }
  const std::string& selectedValue(Column c) const { return value(c, selected()); }
  bool setValue(Column c, int i, std::string v) { return lists_[c]->setItem(i, std::move(v)); }
  SongEntry entry(int i) const;
  // Appends to all seven lists; false (and nothing changed) at the list's limit.
  bool append(const SongEntry& e);
  // Selects i (-1 = none) in all seven lists; false when i is out of range.
  bool select(int i);

 private:
  std::array<form::ListBox*, kColumns> lists_{};
};

// The fresh entry for a song added by the user: tempo "100", trim 4000 - 100 * initialTrim,
// no cue, start or end point.
SongEntry newSongEntry(const Program& p, const std::string& path);

// The part of a path after its last separator.
std::string fileTitle(const std::string& path);

}  // namespace vx::songlist
