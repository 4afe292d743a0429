#include "decks/open_music.h"

#include <exception>
#include <optional>

#include "core/storable.h"
#include "decks/monitor.h"
#include "decks/pitch.h"
#include "mixer/channel_strip.h"
#include "mixer/volume_law.h"
#include "songlist/adding.h"
#include "songlist/song_list.h"

namespace vx::decks {

namespace {

// The first time, the dialog starts in the user's music folder when there is one; afterwards
// in the folder of the last file chosen.
platform::FileDialogSpec openDialogSpec(Program& p) {
  platform::FileDialogSpec spec;
  spec.fileName = "";
  spec.title = "Open music File ";
  spec.defaultExt = ".*";
  spec.filter = "(*.mp3;*.mpg;*.wav;*.mid;*.wma;)|*.mp3;*.mpg;*.wav;*.mid;*.wma;";
  if (p.dialogInitialFolder.empty() && p.ports.shell) {
    std::string media = p.ports.shell->defaultMediaFolder();
    if (p.ports.shell->folderExists(media)) p.dialogInitialFolder = media;
  }
  spec.initialDir = p.dialogInitialFolder;
  return spec;
}

// nullopt when the dialog was cancelled or nothing usable was chosen.
std::optional<std::string> askForFile(Program& p, const platform::FileDialogSpec& spec) {
  auto chosen = p.ports.dialogs->openFile(spec);
  if (!chosen || chosen->empty() || *chosen == "*.mp3") return std::nullopt;
  return chosen;
}

void rememberFolder(Program& p, const std::string& path) {
  auto slash = path.find_last_of('/');
  p.lastFolders[0] = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  p.dialogInitialFolder = p.lastFolders[0];
}

void showLoaded(Program& p, int deck, const std::string& title) {
  p.main.label("title", deck).setCaption(title);
  p.main.label("Totaltime", deck).setCaption("");
  mixer::trimlinedraw(p, deck);
  // The new song's trim must reach the player now: continuous play may start this deck before
  // the user touches anything, and it would then play at the previous song's level.
  mixer::volcontrol(p);
  p.main.picture("pitchbtn", deck).setTop(kPitchCentre);
  // A new song starts at its own tempo: the pitch lock throttles a dragged knob, and honouring
  // it here would leave the knob at the centre with the player at the old rate.
  p.pitchLockTicks = 0;
  applyPitch(p, deck);
  p.deck[deck].deckIdle = true;
  p.main.picture("Play", deck).setPicture("cue1.bmp");
}

// A deck on air keeps its song: the file joins its list, the selection stays on the playing entry.
void appendWhilePlaying(Program& p, int deck, const std::string& path) {
  songlist::SongList list(p.main, deck);
  const int playing = list.selected();
  songlist::appendSong(p, deck, path, songlist::fileTitle(path));
  if (playing >= 0) list.select(playing);
}

void loadChosen(Program& p, int deck, const std::string& path) {
  if (!acceptStorable(p, path)) return;
  rememberFolder(p, path);
  if (songlist::deckPlays(p, deck)) {
    appendWhilePlaying(p, deck, path);
    return;
  }
  p.player(deck).setFileName(path);
  if (p.player(deck).openCheck()) return;
  const std::string title = songlist::fileTitle(path);
  p.main.label("lbfilename", deck).setCaption("");
  p.main.label("text2", deck).setCaption(title);
  if (p.monitor.monitorOn && p.monitor.monitorDeck == deck) monitorOpen(p, path);
  songlist::appendSong(p, deck, path, songlist::fileTitle(path));
  showLoaded(p, deck, title);
}

}  // namespace

void openmusic(Program& p, int deck) {
  if (!p.ports.dialogs) return;
  platform::FileDialogSpec spec;
  try {
    spec = openDialogSpec(p);
  } catch (const std::exception&) {
    // The chosen path is still empty here, so the message starts with its ending.
    p.ports.dialogs->messageBox({"の読み込みに問題が発生しました。", "", platform::MsgButtons::OK, platform::MsgIcon::None});
    return;
  }
  if (auto chosen = askForFile(p, spec)) loadChosen(p, deck, *chosen);
}

}  // namespace vx::decks
