#include "songlist/list_files.h"

#include "core/storable.h"
#include "songlist/editing.h"
#include "songlist/list_file.h"
#include "songlist/playlists.h"
#include "songlist/song_list.h"

namespace vx::songlist {
namespace {

constexpr const char* kListFilter = "(*.lis;)|*.lis;";
// The open dialog also offers the playlists of other players, whose songs are added to list A.
constexpr const char* kOpenFilter = "(*.lis;)|*.lis;|(*.m3u;*.m3u8;*.pls;)|*.m3u;*.m3u8;*.pls;";

void tell(Program& p, const std::string& text, platform::MsgIcon icon) {
  p.ports.dialogs->messageBox({text, "", platform::MsgButtons::OK, icon});
}

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

std::optional<std::string> askListToLoad(Program& p) {
  platform::FileDialogSpec spec{"Open songlist File ", kOpenFilter, ".*", "", "", false};
  // The shared dialog starts where the last list file came from (with none yet, where the
  // platform chooses), and later dialogs start there too.
  p.dialogInitialFolder = p.lastFolders[1];
  spec.initialDir = p.dialogInitialFolder;
  auto chosen = p.ports.dialogs->openFile(spec);
  if (!chosen || chosen->empty() || *chosen == "*.lis") return std::nullopt;
  return chosen;
}

void replaceLists(Program& p, ListFile file) {
  soat5(p);
  for (int deck = 0; deck < 2; ++deck) {
    SongList list(p.main, deck);
    list.appendColumns(std::move(file[deck]));
    if (list.count() > 0) list.selectOnly(Path, 0);
  }
}

std::optional<std::string> askListToSave(Program& p) {
  platform::FileDialogSpec spec{"Save list File", kListFilter, "", p.dialogInitialFolder, "", false};
  auto name = p.ports.dialogs->saveFile(spec);
  if (!name) return std::nullopt;
  if (!name->empty() && !name->ends_with(".lis")) *name += ".lis";
  if (name->empty() || name->front() != '/') return std::nullopt;
  return name;
}

}  // namespace

void songlistload(Program& p) {
  const auto path = askListToLoad(p);
  if (!path || !acceptStorable(p, *path)) return;
  p.lastFolders[1] = folderOf(*path);
  if (isPlaylistFile(*path)) {
    openPlaylist(p, *path);
    return;
  }
  auto file = readListFile(*path);
  if (!file) {
    tell(p, "ソングリストが読み込めません。\n" + *path, platform::MsgIcon::Warning);
    return;
  }
  replaceLists(p, std::move(*file));
}

void songlist0(Program& p) {
  if (SongList(p.main, 0).count() == 0 || SongList(p.main, 1).count() == 0) {
    tell(p, "曲が読み込まれていません。", platform::MsgIcon::None);
    return;
  }
  const auto path = askListToSave(p);
  if (!path) return;
  std::string error;
  if (!writeListFile(*path, p.main, &error))
    tell(p, "ソングリストを保存できませんでした。\n" + error, platform::MsgIcon::Warning);
}

}  // namespace vx::songlist
