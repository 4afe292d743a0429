#include "recorder/recorder_window.h"

#include <cmath>
#include <filesystem>
#include <optional>

#include "basic/convert.h"
#include "core/storable.h"
#include "form/layout.h"
#include "recorder/mci.h"
#include "recorder/music_folder.h"
#include "recorder/recorder.h"
#include "ui/skin.h"

namespace vx::recorder {

namespace {

// The background is 300 x 120 pixels of the skin: the buttons sit in its three wells.
constexpr const char* kRecorderLayout = R"(
picture Picture1  -     0    0 4500 1800 "recorderbase.bmp"
label   cmdsource -  2100   45 1950  240 ""
picture frmend    -  4170   45  270  210 "formend1.bmp"
label   Label1    -   330  450 3840  480 "- Velvox -"
picture cmdstart  -   360 1110  690  360 "recstart1.bmp"
picture cmdstop   -  1905 1110  690  360 "stop1.bmp"
picture cmdsave   -  3450 1110  690  360 "save1.bmp"
timer   Timer1 100
)";

constexpr const char* kSourceCaption[2] = {"入力を録音", "ミックスを録音"};

form::Form& window(Program& p) { return p.recorderWindow; }

void show(Program& p, const char* control, const std::string& picture) {
  ui::showSkinPicture(p, window(p).picture(control), picture);
}

void send(Program& p, const std::string& command) {
  p.recorder.windowResult = sendMciCommand(p, command, p.recorder.windowText);
}

void setTimer(Program& p, bool on) { window(p).timer("Timer1").setEnabled(on); }

void showStopped(Program& p) {
  setTimer(p, false);
  form::Form& f = window(p);
  f.picture("cmdsave").setEnabled(true);
  f.picture("cmdstop").setEnabled(false);
  f.label("cmdsource").setEnabled(false);
  show(p, "cmdstop", "stop2.bmp");
  show(p, "cmdstart", "recstart1.bmp");
}

// The window as it is designed, before the form's load runs.
void resetControls(Program& p) {
  form::Form& f = window(p);
  f.label("Label1").setCaption("- Velvox -");
  for (const char* button : {"cmdstart", "cmdstop", "frmend", "cmdsave"}) f.picture(button).setEnabled(true);
  f.label("cmdsource").setEnabled(true);
  f.label("cmdsource").setCaption(kSourceCaption[p.recorder.recordMaster ? 1 : 0]);
  setTimer(p, false);
  p.recorder.tenthsCount = 0;
  p.recorder.elapsedSeconds = 0;
}

void loadSkinImages(Program& p) {
  show(p, "Picture1", "recorderbase.bmp");
  show(p, "cmdstart", "recstart1.bmp");
  show(p, "cmdsave", "save1.bmp");
  show(p, "cmdstop", "stop1.bmp");
  show(p, "frmend", "formend1.bmp");
}

// The window opens beside the main window the first time, then where the user left it.
void place(Program& p) {
  form::Form& f = window(p);
  if (f.left != 0 || f.top != 0) return;
  f.left = p.main.left + 3000;
  f.top = p.main.top + 1500;
}

platform::FileDialogSpec saveSpec(Program& p) {
  // Until a folder was chosen, the dialog starts where recordings go by default.
  std::string folder = p.dialogInitialFolder.empty() ? musicFolder() : p.dialogInitialFolder;
  return {"Wave ファイルの保存先", "Wave files(*.WAV)|*.wav", "", folder, "", false};
}

// Asks where the recording goes; false when the window is to close again.
bool chooseFile(Program& p) {
  platform::FileDialogSpec spec = saveSpec(p);
  std::optional<std::string> chosen = p.ports.dialogs ? p.ports.dialogs->saveFile(spec) : std::nullopt;
  if (!chosen) {
    p.recorder.saveName = (std::filesystem::path(musicFolder()) / "recwav.wav").string();
    if (p.ports.dialogs)
      p.ports.dialogs->messageBox({"録音は " + p.recorder.saveName + " に保存されます。", "", platform::MsgButtons::OK,
                                   platform::MsgIcon::Information});
    return true;
  }
  if (chosen->empty()) return false;
  p.recorder.saveName = *chosen;
  // The recording may go anywhere; only a folder the settings file can hold is remembered.
  if (std::string folder = std::filesystem::path(*chosen).parent_path().string(); storable(folder))
    p.dialogInitialFolder = folder;
  ui::showSkinPicture(p, p.main.picture("Imgrec"), "recorder2.bmp");
  return true;
}

void unload(Program& p) {
  setTimer(p, false);
  window(p).visible = false;
  window(p).touch();
  // A recorder that is not shown does not start with a deck.
  p.recorder.recorderArmed = false;
}

// The whole path, quoted, so that blanks and any script survive the device's word splitting.
std::string saveCommand(const std::string& path) { return "save file \"" + path + "\""; }

// Saves to the chosen file; when that fails, says why and asks for another place until the
// user gives up (the recording stays, so nothing is lost).
bool saveRecording(Program& p) {
  for (;;) {
    send(p, saveCommand(p.recorder.saveName));
    if (p.recorder.windowResult == 0) return true;
    showMciError(p, p.recorder.windowResult, p.recorder.windowText);
    std::optional<std::string> chosen = p.ports.dialogs ? p.ports.dialogs->saveFile(saveSpec(p)) : std::nullopt;
    if (!chosen || chosen->empty()) return false;
    p.recorder.saveName = *chosen;
  }
}

}  // namespace

std::string timeLabel(long tenths, bool recording) {
  long seconds = tenths / 10;
  std::string text = recording ? "REC " : "";
  return text + basic::Format(seconds / 60, "00") + ":" + basic::Format(seconds % 60, "00") + ". " +
         std::to_string(tenths - 10 * seconds);
}

void buildRecorderWindow(form::Form& f) {
  form::loadLayout(f, kRecorderLayout);
  f.caption = "Recorder";
  f.width = 4500;
  f.height = 1800;
  f.timer("Timer1").setEnabled(false);
  // The time fills the display well of the background.
  f.label("Label1").setFontSize(14);
}

void openRecorder(Program& p) {
  form::Form& f = window(p);
  if (f.visible) {
    f.touch();
    return;
  }
  resetControls(p);
  loadSkinImages(p);
  f.label("Label1").setForeColor(p.main.label("text2", 0).foreColor());
  f.picture("cmdsave").setEnabled(false);
  p.recorder.recorderArmed = true;
  if (!chooseFile(p)) {
    unload(p);
    return;
  }
  place(p);
  f.visible = true;
  f.touch();
}

bool holdsTake(Program& p) {
  form::Form& f = window(p);
  return f.visible && (f.timer("Timer1").enabled() || f.picture("cmdsave").enabled());
}

void showRecording(Program& p) {
  form::Form& f = window(p);
  setTimer(p, true);
  f.picture("cmdstop").setEnabled(true);
  f.picture("cmdstart").setEnabled(false);
  f.label("cmdsource").setEnabled(false);
  p.recorder.recorderArmed = false;
  show(p, "cmdstart", "recstart2.bmp");
}

void showMciError(Program& p, long code, const std::string& text) {
  if (!p.ports.dialogs) return;
  p.ports.dialogs->messageBox({text + " (" + std::to_string(code) + ")", "Error", platform::MsgButtons::OK,
                               platform::MsgIcon::Critical});
}

void cmdstop_MouseDown(Program& p) {
  send(p, "stop file");
  showStopped(p);
}

void cmdsave_Click(Program& p) {
  if (!saveRecording(p)) return;
  // The take is in its file and the device lets it go: there is nothing left to save.
  window(p).picture("cmdsave").setEnabled(false);
  send(p, "close file");
  if (p.recorder.windowResult != 0) showMciError(p, p.recorder.windowResult, p.recorder.windowText);
  p.recorder.tenthsCount = 0;
  p.recorder.elapsedSeconds = 0;
  window(p).label("Label1").setCaption(timeLabel(0, false));
}

void frmend_Click(Program& p) {
  send(p, "close file");
  ui::showSkinPicture(p, p.main.picture("Imgrec"), "recorder1.bmp");
  unload(p);
}

void Timer1_Timer(Program& p) {
  RecorderState& r = p.recorder;
  // A recording the device had to stop (input gone, disk full) keeps what it holds.
  if (std::string why = p.ports.recorder ? p.ports.recorder->takeInterruption() : ""; !why.empty()) {
    showStopped(p);
    if (p.ports.dialogs)
      p.ports.dialogs->messageBox({why + "。録音を止めました。ここまでの録音は「SAVE」で保存できます。", "",
                                   platform::MsgButtons::OK, platform::MsgIcon::Warning});
    return;
  }
  r.tenthsCount += 1;
  r.elapsedSeconds = r.tenthsCount / 10;
  window(p).label("Label1").setCaption(timeLabel(r.tenthsCount, true));
}

void cmdsource_Click(Program& p) {
  p.recorder.recordMaster = !p.recorder.recordMaster;
  p.plus.set("recorder", "source", p.recorder.recordMaster ? "mix" : "input");
  window(p).label("cmdsource").setCaption(kSourceCaption[p.recorder.recordMaster ? 1 : 0]);
}

void readRecorderSettings(Program& p) { p.recorder.recordMaster = p.plus.get("recorder", "source", "input") == "mix"; }

void wireRecorder(Program& p) {
  form::Form& f = window(p);
  if (!f.find("Picture1")) buildRecorderWindow(f);
  p.main.picture("Imgrec").events.click = [&p] { openRecorder(p); };
  f.picture("cmdstart").events.click = [&p] { startRecording(p); };
  auto& stop = f.picture("cmdstop");
  stop.events.mouseDown = [&p](const form::MouseEvent&) { cmdstop_MouseDown(p); };
  stop.events.mouseUp = [&p](const form::MouseEvent&) { show(p, "cmdstop", "stop1.bmp"); };
  auto& save = f.picture("cmdsave");
  save.events.mouseDown = [&p](const form::MouseEvent&) { show(p, "cmdsave", "save2.bmp"); };
  save.events.mouseUp = [&p](const form::MouseEvent&) { show(p, "cmdsave", "save1.bmp"); };
  save.events.click = [&p] { cmdsave_Click(p); };
  auto& end = f.picture("frmend");
  end.events.mouseDown = [&p](const form::MouseEvent&) { show(p, "frmend", "formend2.bmp"); };
  end.events.mouseUp = [&p](const form::MouseEvent&) { show(p, "frmend", "formend1.bmp"); };
  end.events.click = [&p] { frmend_Click(p); };
  f.label("cmdsource").events.click = [&p] { cmdsource_Click(p); };
  f.timer("Timer1").tick = [&p] { Timer1_Timer(p); };
  f.queryClose = [&p] { frmend_Click(p); };
  auto& back = f.picture("Picture1");
  back.events.mouseDown = [&p](const form::MouseEvent& e) {
    if (e.button != form::MouseButton::Left) return;
    p.recorder.dragX = std::round(e.x);
    p.recorder.dragY = std::round(e.y);
  };
  back.events.mouseMove = [&p](const form::MouseEvent& e) {
    if (e.button != form::MouseButton::Left) return;
    p.recorderWindow.top += e.y - p.recorder.dragY;
    p.recorderWindow.left += e.x - p.recorder.dragX;
    p.recorderWindow.touch();
  };
}

}  // namespace vx::recorder
