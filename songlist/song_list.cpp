#include "songlist/song_list.h"


namespace vx::songlist {

SongList::SongList(form::MainForm& form, int deck) {
  // A deck that does not exist fails as a missing control does.
  if (deck != 0 && deck != 1) form.listBox(kColumnNames[Path], deck);
  lists_ = form.songColumns(deck);
}

int SongList::count() const { return lists_[Path]->listCount(); }

SongEntry SongList::entry(int i) const {
  return SongEntry{value(Path, i), value(Title, i), value(Tempo, i), value(Trim, i),
                   value(Cue, i),  value(Start, i), value(End, i)};
}

bool SongList::append(const SongEntry& e) {
  if (count() >= kMaxSongs) return false;
  const std::array<const std::string*, kColumns> values{&e.path, &e.title, &e.tempo, &e.trim, &e.cue, &e.start, &e.end};
  for (int c = 0; c < kColumns; ++c) lists_[c]->addItem(*values[c]);
  return true;
}

bool SongList::appendColumns(Columns columns) {
  const size_t n = columns[Path].size();
  for (const auto& column : columns)
    if (column.size() != n) return false;
  if (static_cast<size_t>(count()) + n > static_cast<size_t>(kMaxSongs)) return false;
  for (int c = 0; c < kColumns; ++c) {
    form::ItemList items = lists_[c]->items();
    if (items.empty())
      items = std::move(columns[c]);
    else
      items.append(columns[c]);
    lists_[c]->setItems(std::move(items), lists_[c]->listIndex());
  }
  return true;
}

Columns SongList::columns() const {
  Columns all;
  for (int c = 0; c < kColumns; ++c) all[c] = lists_[c]->items();
  return all;
}

bool SongList::select(int i) {
  if (i < -1 || i >= count()) return false;
  for (auto* l : lists_) l->setListIndex(i);
  return true;
}

bool SongList::selectOnly(Column c, int i) {
  if (i < -1 || i >= count()) return false;
  lists_[c]->setListIndex(i);
  return true;
}

bool SongList::setSelectedValue(Column c, std::string v) {
  return hasSelection(c) && setValue(c, selected(c), std::move(v));
}

void SongList::copyVisibleSelection() {
  const int i = visibleSelected();
  for (int c = 0; c < kColumns; ++c)
    if (c != Title) lists_[c]->setListIndex(i);
}

bool SongList::swap(int i, int j) {
  if (i < 0 || j < 0 || i >= count() || j >= count()) return false;
  for (auto* l : lists_) l->swapItems(i, j);
  return true;
}

bool SongList::remove(int i) {
  if (i < 0 || i >= count()) return false;
  for (auto* l : lists_) l->removeItem(i);
  select(-1);
  return true;
}

void SongList::clear() {
  for (auto* l : lists_) l->clear();
}

SongEntry newSongEntry(const Program& p, const std::string& path) {
  SongEntry e;
  e.path = path;
  e.title = fileTitle(path);
  e.trim = std::to_string(4000 - 100 * p.settings.initialTrim);
  return e;
}

std::string fileTitle(const std::string& path) {
  auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace vx::songlist
