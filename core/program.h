#pragma once
// The program's shared state: the main window's model, the per-deck state and the program-wide
// values every subsystem reads. Operations of all subsystems take a Program& and run on the
// user-interface thread, one at a time.
#include <array>
#include <bitset>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "basic/rnd.h"
#include "core/deck_state.h"
#include "core/plus_settings.h"
#include "core/sampler_state.h"
#include "core/tick_controls.h"
#include "core/titled_dialogs.h"
#include "form/mainform.h"
#include "platform/ports.h"

namespace vx {

// Values kept in the settings file, with the defaults the program starts with before
// anything is read (numbers 0, strings empty; see Settings defaults in the settings reader).
struct Settings {
  bool samplerShown = true;
  bool songListShown = true;
  int stutterInterval = 2;   // main-timer ticks between returns to the mark
  bool playOnSwitch = true;
  std::string skinName = "orange";
  bool samplerEnabled = true;
  int initialTrim = 20;      // 0..40, a level: 40 = no cut
  int gapTime = 10;          // hundredths of a second
  int monitorDevice = 0;
  std::array<int, 12> faderCurve{500, 0, 0, 500, 500, 0, 0, 0, 500, 0, 500, 500};  // element p + 3k
  std::array<int, 3> faderTime{50, 50, 50};
  std::array<int, 8> slotKind{};
  std::array<std::string, 8> slotPath{};
};

// The headphone monitor as the program sees it.
struct MonitorState {
  bool monitorOn = true;
  int monitorDeck = 0;
  long monitorSampleRate = 0;
  int monitorState = 0;  // 2 paused, 3 playing, else the library's last state number
};

// Crossfader, channel strips and automatic mixing.
struct MixerState {
  int faderPattern = 0;
  bool cutInMode = false;
  int switchPhase = 0;  // 0 none, 1 toward B, 2 toward A
  bool switchBusy = false;
  bool faderDragging = false;
  bool trimDragging = false;
  std::array<bool, 2> volDragging{};
  std::array<bool, 2> panDragging{};
  std::array<int, 2> trimLevel{100, 100};
  std::array<bool, 2> masterDragging{};
  std::array<std::string, 2> autoGainSeen;  // the deck's song whose analysis the auto gain has looked at
};

// Window modes.
struct WindowState {
  bool menuShown = false;
  bool barMode = false;
  bool miniMode = false;
  bool djPanelShown = false;  // velvoxplus.ini [panel] shown
};

// The DJ panel: its buttons' lamps and what the meters show (the knobs hold their own values).
struct DjPanelState {
  std::array<std::array<bool, 3>, 2> kill{};  // [deck][band: low, mid, high]
  bool split = false;
  std::array<int, 3> meterLit{};  // lit segments of meter(0..2)
  std::array<bool, 3> clipLit{};
  int monitorDeck = -1;  // the deck the port was last told the headphones play
};

// Start-up.
struct StartupState {
  bool initDone = false;
  bool playAtStartupArmed = false;
  bool directSoundReady = false;
};

// Recorder values the transport reads and the configuration dialog sets (not stored).
struct RecorderState {
  bool autoRecordStart = false;  // "再生と同時に録音"
  bool recorderArmed = false;
  bool recordMono = false;
  bool recordBits = false;  // True: 8 bit
  int recordRate = 0;       // 0 44,100 Hz, 1 22,050 Hz, 2 11,025 Hz
  long lastMciResult = 0;   // code and text of the last command startRecording sent
  std::string lastMciText;
  // The recorder window `frmrecorder`.
  std::string saveName;     // what follows "save file ": the chosen path, quoted
  long tenthsCount = 0;
  long elapsedSeconds = 0;
  long windowResult = 0;    // code and text of the window's last command
  std::string windowText;
  double dragX = 0, dragY = 0;
  bool recordMaster = false;  // record the main output instead of the recording input
};

// The font and colour editor of the skin window: the display element being edited (-1 none yet)
// and whether its editing controls were enabled since the window opened.
struct FontEditorState {
  int element = -1;
  bool ready = false;
};

// The keyboard: the deck the deck keys act on, the sampler keys that wait for their release,
// and which keys the main window has seen go down and not yet up.
struct KeyboardState {
  int focusDeck = 0;
  std::array<bool, 8> sampleKeyHeld{};
  std::bitset<256> down;
};

// Where the skin's pictures come from. `roots` are the picture folders searched for a skin, the
// first that holds it wins (the home folder's, then the installed ones). `assigned` keeps, per
// control, the file that the skin loader, the layout or a button swap last gave it, numbered by
// `serial`: a skin change stopped by a missing file leaves the later controls drawn from the
// skin they had.
struct SkinState {
  struct Source {
    std::string name;  // the picture's file name, as the control holds it
    std::string path;  // the file it was taken from
    uint64_t serial = 0;
  };
  std::vector<std::string> roots;
  std::map<const form::Control*, Source> assigned;
  uint64_t serial = 0;
};

// The tempo of each deck's song, in beats per minute at normal speed (0 = none found), and the
// tempos already found for files, keyed by path and valid while size and modification time hold.
struct TempoCacheEntry {
  int64_t size = 0;
  int64_t mtime = 0;  // nanoseconds of the file clock
  double bpm = 0;
  double seconds = 0;  // the song's length; 0 = unknown
  bool byHand = false;    // bpm was set by the DJ; a later analysis keeps it
  bool analysed = false;  // the song's analysis below is there (else it is asked for again)
  double firstBeat = 0;   // the beat grid, as platform::TempoResult has it (beatLength 0 = none)
  double beatLength = 0;
  std::optional<double> loudness{};                  // LUFS; none = silence
  std::vector<platform::OverviewColumn> overview{};  // platform::kOverviewColumns columns, or none
};
struct TempoState {
  std::array<std::string, 2> songPath;  // the file the deck's tempo belongs to
  std::array<double, 2> songBpm{};
  std::array<bool, 2> analysing{};
  std::array<bool, 2> analysed{};  // the deck's song's analysis is in the cache (found there or delivered)
  std::array<bool, 2> tapped{};  // the song's tempo came from the tap key, which may refine it
  std::array<std::vector<double>, 2> taps;  // seconds of the tap key's presses
  std::map<std::string, TempoCacheEntry> cache;
  bool cacheRead = false;
};

// Hot cues and loops of the decks (cues/).
inline constexpr int kHotCues = 8;  // pads per deck
using HotCueFrames = std::array<int64_t, kHotCues>;  // sample frames of the song; -1 = empty pad
struct SongCues {
  int64_t size = 0;
  int64_t mtime = 0;  // as tempo::fileStamp gives them
  HotCueFrames frames{};
};
struct CueState {
  std::array<std::string, 2> songPath;  // the song the deck's pads and loop belong to
  std::array<HotCueFrames, 2> hot{};
  std::array<int64_t, 2> pendingIn{-1, -1};   // LOOP IN pressed, waiting for LOOP OUT
  std::array<int, 2> beatLoop{-1, -1};        // the lit beat loop button (0..4) while its loop plays
  std::array<double, 2> lastPosition{};       // seconds at the last tick, to notice a wrap
  std::map<std::string, SongCues> songs;      // the hot-cue file's songs, by path
  std::array<SongCues, 2> loaded{};           // size and time of each deck's song when its pads were filled
  bool read = false;
};

struct Program {
  // The dialogs given are reached through `ports.dialogs`, which gives untitled message boxes
  // the program's name.
  explicit Program(platform::Ports p) : ports(p) {
    if (!ports.dialogs) return;
    titledDialogs_ = std::make_unique<TitledDialogs>(*ports.dialogs);
    ports.dialogs = titledDialogs_.get();
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  platform::Ports ports;
  platform::MediaPlayer& player(int deck) { return *ports.player[deck]; }

  form::MainForm main;
  TickControls tickControls{main};
  form::SplashForm splash;
  form::AboutForm about;
  form::Form fontInfo{"FontInfo"};  // the skin window (skin list, fonts and colours)
  form::Form config{"config"};      // the configuration dialog "Velvoxの設定"
  form::Form recorderWindow{"frmrecorder"};  // the recorder window

  std::array<DeckState, 2> deck{};
  int lastPlayedDeck = 0;
  Settings settings;
  MonitorState monitor;
  MixerState mixer;
  WindowState window;
  DjPanelState dj;
  StartupState startup;
  RecorderState recorder;
  FontEditorState fontEditor;
  KeyboardState keys;
  SamplerState sampler;
  int configPattern = 0;  // the pattern the configuration dialog edits
  SkinState skin;
  TempoState tempo;
  CueState cues;

  bool searchPhase = false;
  int pitchLockTicks = 0;
  // Remembered folders: 0 the decks' open dialog, 1 list files, 2 the sampler.
  std::array<std::string, 3> lastFolders{};
  std::string dialogInitialFolder;  // the common dialog's initial folder, kept between uses
  basic::Rnd rnd;

  std::string homeDir;       // the program's folder (settings, skins)
  std::string settingsPath;  // homeDir + "/velvoxp.ini"
  PlusSettings plus;         // velvoxplus.ini beside it: settings of the features beyond the classic ones
  bool quitRequested = false;
  // Receives both players' events; attached once by the wiring.
  std::unique_ptr<platform::MediaPlayerListener> playerEvents;

 private:
  std::unique_ptr<TitledDialogs> titledDialogs_;
};

}  // namespace vx
