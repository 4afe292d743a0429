// The window program's composition root: the home folder, the sound engine, the platform
// services and the dialogs, the program and its windows, then the start-up from the splash.
#include "view/gui.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "assembly/composition.h"
#include "assembly/extended_settings.h"
#include "audio/analysis/tempo_analyser.h"
#include "audio/sound_system.h"
#include "platform/posix_shell.h"
#include "shell/startup.h"
#include "view/gui_app.h"
#include "view/gui_script.h"
#include "view/keymap.h"
#include "view/midi_wakeup.h"
#include "view/program_icon.h"
#include "view/qt_dialogs.h"
#include "view/translations.h"

namespace vx::view {

namespace {

// The window places itself, stays on top and moves by its own title: things a Wayland client may
// not do. On a Wayland desktop that also offers X11 the program runs as an X11 client.
void preferX11() {
  if (std::getenv("QT_QPA_PLATFORM")) return;
  if (std::getenv("WAYLAND_DISPLAY") && std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

// The window repaints a few small rectangles every tick (the time displays' milliseconds). Through
// X's shared memory each paint first waits for the server to finish the last one (a round trip in
// Qt's backing store); sent over the socket, small rectangles cost less. Measured with both decks
// playing: the main thread 1.50-1.60 % of a core with shared memory, 1.25-1.40 % without, the
// program and the X server together 3.60-3.75 % against 3.15-3.60 %. Set it otherwise to choose.
void preferSmallPuts() { setenv("QT_XCB_NO_MITSHM", "1", 0); }

std::string homeArgument(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--home") == 0) return argv[i + 1];
  return "";
}

bool noMidiArgument(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--no-midi") == 0) return true;
  return false;
}

KeyboardFamily systemKeyboard() {
  QFile settings("/etc/default/keyboard");
  std::string text;
  if (settings.open(QIODevice::ReadOnly)) text = settings.readAll().toStdString();
  return keyboardFamily(std::getenv("VELVOX_KEYBOARD"), text);
}

void failure(const QString& text) {
  std::cerr << "velvox: " << text.toStdString() << "\n";
  QMessageBox::critical(nullptr, "Velvox", text);
}

// Shows the splash at once, before the start-up work keeps the loop busy.
void showSplash(Program& p, GuiApp& gui) {
  p.splash.visible = true;
  gui.splashWindow().centreOnScreen();
  gui.syncAll();
  QApplication::processEvents();
}

}  // namespace

int runGui(int argc, char** argv) {
  preferX11();
  preferSmallPuts();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Velvox");
  QApplication::setDesktopFileName("velvox");
  installJapaneseTranslations(app);

  assembly::HomePaths paths;
  std::string error;
  if (!assembly::resolveHome(homeArgument(argc, argv), script::processEnv, assembly::executableFolder(), paths, error)) {
    failure(QString::fromStdString(error));
    return 2;
  }
  QPixmap icon = findProgramIcon(paths.executableFolder);
  QApplication::setWindowIcon(icon);

  // The sound library would otherwise take over SIGINT and SIGTERM and the program could not be
  // ended by them.
  setenv("SDL_NO_SIGNAL_HANDLERS", "1", 0);
  std::unique_ptr<audio::SoundSystem> sound = audio::createSoundSystem({});
  QtDialogs dialogs;
  platform::PosixShell shell;
  platform::Ports ports = assembly::soundPorts(*sound);
  ports.dialogs = &dialogs;
  ports.shell = &shell;
  audio::TempoAnalyser tempo;
  ports.tempo = &tempo;

  Program p(ports);
  assembly::placeProgram(p, paths);
  dialogs.setProgram(&p);
  assembly::wireProgram(p);

  GuiApp gui(p, [&sound] { sound->deliverEvents(); }, icon, systemKeyboard(), [&sound] { return sound->idle(); });
  dialogs.setOwner([&gui] { return gui.dialogOwner(); });
  showSplash(p, gui);
  bool started = false;
  gui.run([&p, &started] { started = shell::startProgram(p); });
  if (!started || p.quitRequested) return 0;
  if (!sound->deviceMessage().empty())
    dialogs.messageBox({sound->deviceMessage(), "Velvox", platform::MsgButtons::OK, platform::MsgIcon::Information});
  gui.startTimers();
  std::unique_ptr<assembly::MidiHost> midi = startMidi(p, gui, &app, gui.mainWindow().canvas(), !noMidiArgument(argc, argv));
  assembly::ExtendedSettings extended(p);
  extended.addTab(midi->settingsTab());
  extended.wire();
  GuiScript script(p, gui, std::cout, std::cerr);
  script.setMidi(midi.get());
  if (std::string path = scriptArgument(argc, argv); !path.empty() && !script.start(path)) return 2;
  return app.exec();
}

}  // namespace vx::view
