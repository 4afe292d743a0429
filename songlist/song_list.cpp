#include "songlist/song_list.h"

namespace vx::songlist {

SongList::SongList(form::MainForm& form, int deck) {
  for (int c = 0; c < kColumns; ++c) lists_[c] = &form.listBox(kColumnNames[c], deck);
}

int SongList::count() const { return lists_[Path]->listCount(); }

int SongList::selected() const { return lists_[Path]->listIndex(); }

SongEntry SongList::entry(int i) const {
  return SongEntry{value(Path, i), value(Title, i), value(Tempo, i), value(Trim, i),
                   value(Cue, i),  value(Start, i), value(End, i)};
}

bool SongList::append(const SongEntry& e) {
  if (count() >= form::ListBox::kMaxItems) return false;
  const std::array<const std::string*, kColumns> values{&e.path, &e.title, &e.tempo, &e.trim, &e.cue, &e.start, &e.end};
  for (int c = 0; c < kColumns; ++c) lists_[c]->addItem(*values[c]);
  return true;
}

bool SongList::select(int i) {
  if (i < -1 || i >= count()) return false;
  for (auto* l : lists_) l->setListIndex(i);
  return true;
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
