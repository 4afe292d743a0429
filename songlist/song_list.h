#pragma once
// A deck's song list: seven parallel list boxes of the main window, entry i of each belonging
// to song i. Every change goes through this class so the seven lists never fall out of step.
#include <array>
#include <string>
#include <vector>

#include "core/program.h"

namespace vx::songlist {

enum Column { Path = 0, Title, Tempo, Trim, Cue, Start, End };
inline constexpr int kColumns = 7;
// Names of the list boxes in column order, as the settings file and list files keep them.
inline constexpr std::array<const char*, kColumns> kColumnNames = form::kSongColumns;
// The most entries one list holds (entry indexes are 16-bit).
inline constexpr int kMaxSongs = form::ListBox::kMaxItems;

struct SongEntry {
  std::string path, title, tempo = "100", trim, cue = "-1", start = "-1", end = "-1";
};

// A whole list as text, column by column; every column has the same length.
using Columns = std::array<form::ItemList, kColumns>;

// Selections: each of the seven lists keeps its own selected index (-1 = none). Adding, stepping,
// editing and a press on the visible list select the same entry in all seven; a loaded list file
// selects only in the path list, so until the next press or step the other six select nothing.
// Whoever reads or writes "the selected entry" of a column does so at that column's own index,
// and finds no entry when that column selects nothing.
class SongList {
 public:
  SongList(form::MainForm& form, int deck);
  int count() const;
  // The path list's selected index: the entry a load gives the deck, the one a step starts from,
  // and the one the settings file keeps.
  int selected() const { return selected(Path); }
  // Column c's own selected index; -1 = none.
  int selected(Column c) const { return lists_[c]->listIndex(); }
  bool hasSelection(Column c) const { return selected(c) >= 0; }
  // The visible list's selected index, which the editing operations act on.
  int visibleSelected() const { return selected(Title); }
  // Selects i (-1 = none) in all seven lists; false, nothing changed, when i is out of range.
  bool select(int i);
  // Selects i in column c alone; false, nothing changed, when i is out of range.
  bool selectOnly(Column c, int i);
  // Copies the visible list's selection to the six hidden lists.
  void copyVisibleSelection();

  form::ListBox& column(Column c) const { return *lists_[c]; }
  std::string value(Column c, int i) const { return lists_[c]->item(i); }
  bool setValue(Column c, int i, std::string v) { return lists_[c]->setItem(i, std::move(v)); }
  // Column c's entry at its own selected index; "" when it selects nothing (ask hasSelection
  // where "" could pass for a value).
  std::string selectedValue(Column c) const { return value(c, selected(c)); }
  // The earlier name of selectedValue.
  std::string ownSelectedValue(Column c) const { return selectedValue(c); }
  // Writes column c's entry at its own selected index; false, nothing written, when it selects
  // nothing.
  bool setSelectedValue(Column c, std::string v);

  SongEntry entry(int i) const;
  // Appends to all seven lists; false (and nothing changed) at the list's limit.
  bool append(const SongEntry& e);
  // Appends whole columns at once; false (and nothing changed) when the columns differ in
  // length or the list would pass its limit. Selections are kept.
  bool appendColumns(Columns columns);
  // Every entry, column by column.
  Columns columns() const;
  // Exchanges entries i and j in all seven lists; false when either is out of range.
  bool swap(int i, int j);
  // Removes entry i from all seven lists and leaves nothing selected; false when out of range.
  bool remove(int i);
  void clear();

 private:
  std::array<form::ListBox*, kColumns> lists_{};
};

// The fresh entry for a song added by the user: tempo "100", trim 4000 - 100 * initialTrim,
// no cue, start or end point.
SongEntry newSongEntry(const Program& p, const std::string& path);

// The part of a path after its last separator.
std::string fileTitle(const std::string& path);

}  // namespace vx::songlist
