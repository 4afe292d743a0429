// Scripts run against a program whose handlers the tests attach: which events each command
// raises, what print and expect see, how ticks move time, and the exit statuses.
#include <gtest/gtest.h>

#include <sstream>

#include "control/variables.h"
#include "driver/runner.h"
#include "tests/support/test_program.h"

namespace vx::driver {
namespace {

// The engine as the runner uses it: ports from the fakes, renders and deliveries recorded.
class FakeSound : public audio::SoundSystem {
 public:
  FakeSound(test::TestProgram& t, std::vector<std::string>& log) : t_(t), log_(log) {}
  platform::MediaPlayer& player(int deck) override { return t_.players[deck]; }
  platform::MonitorLibrary& monitor() override { return t_.monitor; }
  platform::WaveOut& waveOut() override { return t_.waveOut; }
  platform::SoundDevice& soundDevice() override { return t_.sound; }
  platform::DjMixer& djMixer() override { return t_.dj; }
  void deliverEvents() override { ++delivered; }
  void renderVirtual(int frames) override { log_.push_back("render " + std::to_string(frames)); }
  void renderVirtualUnwaited(int frames) override { renderVirtual(frames); }
  bool usingVirtualDevice() const override { return true; }
  std::string deviceMessage() const override { return ""; }
  int delivered = 0;

 private:
  test::TestProgram& t_;
  std::vector<std::string>& log_;
};

class RunnerTest : public ::testing::Test {
 protected:
  RunnerTest() { t.p.ports.dialogs = &dialogs; }

  int run(const std::string& script) {
    std::istringstream in(script);
    return runner.run(in, "s.vxs", err);
  }
  form::MainForm& main() { return t.p.main; }
  // Logs every mouse event of the control as "down X Y button shift".
  void logMouse(form::Control& c) {
    auto mouse = [this](const char* what) {
      return [this, what](const form::MouseEvent& e) {
        log.push_back(std::string(what) + " " + std::to_string(static_cast<int>(e.x)) + " " +
                      std::to_string(static_cast<int>(e.y)) + " " + std::to_string(static_cast<int>(e.button)) + " " +
                      std::to_string(e.shift));
      };
    };
    c.events.mouseDown = mouse("down");
    c.events.mouseUp = mouse("up");
    c.events.mouseMove = mouse("move");
    c.events.click = [this] { log.push_back("click"); };
    c.events.dblClick = [this] { log.push_back("dblclick"); };
  }

  test::TestProgram t{test::TestOptions{false, false}};
  std::vector<std::string> log;
  FakeSound sound{t, log};
  std::ostringstream out, err;
  ScriptedDialogs dialogs{out};
  RecordingLog recorder;
  EnvLookup env = [](const std::string& n) -> std::optional<std::string> {
    if (n == "MEDIA") return std::string("/media");
    return std::nullopt;
  };
  Runner runner{Session{t.p, sound, dialogs, recorder, out, env}, 44100};
};

TEST_F(RunnerTest, MouseCommandsRaiseTheControlsEventsInTwips) {
  form::Picture& pause = main().picture("Pause", 0);
  pause.move(1000, 2000, 600, 480);
  logMouse(pause);
  ASSERT_EQ(run("down Pause(0)\n"
                "move Pause(0) 5 6\n"
                "up Pause(0) 10 20 right shift\n"
                "click Pause(0)\n"
                "dblclick Pause(0)\n"),
            0)
      << err.str();
  EXPECT_EQ(log, (std::vector<std::string>{"down 300 240 1 0", "move 5 6 1 0", "up 10 20 2 1",
                                           "down 300 240 1 0", "up 300 240 1 0", "click",
                                           "down 300 240 1 0", "up 300 240 1 0", "click", "dblclick", "up 300 240 1 0"}));
}

TEST_F(RunnerTest, HiddenOrDisabledControlsReceiveNothing) {
  logMouse(main().picture("Pause", 0));
  main().picture("Pause", 0).setEnabled(false);
  EXPECT_EQ(run("down Pause(0)\n"), 0);
  main().picture("Pause", 0).setEnabled(true);
  main().picture("Picture4").setVisible(false);  // the panel the button sits on
  bool dropped = false;
  main().listBox("title1", 0).events.dragDrop = [&](const std::vector<std::string>&, int) { dropped = true; };
  main().picture("Picture5").setVisible(false);
  EXPECT_EQ(run("click Pause(0)\ndrop title1(0) /a.mp3\n"), 0);
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(dropped);
  EXPECT_NE(err.str().find("line 1: Pause(0) is hidden or disabled"), std::string::npos) << err.str();
}

TEST_F(RunnerTest, KeysDropsAndMenus) {
  main().keyDown = [&](int key, int shift) { log.push_back("keydown " + std::to_string(key) + " " + std::to_string(shift)); };
  main().keyUp = [&](int key, int shift) { log.push_back("keyup " + std::to_string(key) + " " + std::to_string(shift)); };
  main().listBox("title1", 1).events.dragDrop = [&](const std::vector<std::string>& paths, int shift) {
    log.push_back("drop " + std::to_string(paths.size()) + " " + paths[1] + " " + std::to_string(shift));
  };
  main().menu("openplayera").events.click = [&] { log.push_back("openplayera"); };
  ASSERT_EQ(run("key 49 shift\nkeydown 16\nkeyup 16\n"
                "drop title1(1) shift $MEDIA/a.mp3 \"$MEDIA/b c.wav\"\n"
                "menu openplayera\n"),
            0)
      << err.str();
  EXPECT_EQ(log, (std::vector<std::string>{"keydown 49 1", "keyup 49 1", "keydown 16 0", "keyup 16 0",
                                           "drop 2 /media/b c.wav 1", "openplayera"}));

  // a disabled menu above the entry stops it, as the menu could not be opened
  log.clear();
  main().menu(main().menu("openplayera").parent).setEnabled(false);
  EXPECT_EQ(run("menu openplayera\n"), 0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(run("menu Pause(0)\n"), 2);
  EXPECT_NE(err.str().find("not a menu entry"), std::string::npos);
}

TEST_F(RunnerTest, SetRaisesTheEventTheControlWouldRaise) {
  auto& about = t.p.about;
  auto& slider = about.add<form::Slider>("sld");
  auto& check = about.add<form::CheckBox>("chk");
  auto& text = about.add<form::TextBox>("txt");
  for (form::Control* c : std::vector<form::Control*>{&slider, &check, &text}) {
    c->events.change = [this, c] { log.push_back(c->name() + " change"); };
    c->events.click = [this, c] { log.push_back(c->name() + " click"); };
  }
  auto& list = main().listBox("title1", 0);
  list.setItems({"a.mp3", "b.mp3"}, -1);
  list.events.click = [&] { log.push_back("title1 click " + std::to_string(list.listIndex())); };
  ASSERT_EQ(run("set about.sld.value 5\nset about.sld.value 5\nset about.sld.value 500\n"
                "set about.chk.value 1\nset about.chk.checked True\n"
                "set about.txt.text \"a b\"\n"
                "set title1(0).listindex 1\nset title1(0).listindex 1\n"
                "set startup.checked False\nset text2(0).caption hello\n"),
            0)
      << err.str();
  EXPECT_EQ(log, (std::vector<std::string>{"sld change", "sld change", "chk click", "txt change", "title1 click 1",
                                           "title1 click 1"}));
  EXPECT_EQ(slider.value(), 100);  // clamped to its range
  EXPECT_EQ(text.text(), "a b");
  EXPECT_FALSE(main().menu("startup").checked());
  EXPECT_EQ(main().label("text2", 0).caption(), "hello");

  EXPECT_EQ(run("set title1(0).listindex 2\n"), 2);
  EXPECT_NE(err.str().find("s.vxs:1:"), std::string::npos);
  EXPECT_EQ(run("set Pause(0).value 1\n"), 2);
  EXPECT_EQ(run("set about.sld.value high\n"), 2);
  EXPECT_EQ(run("set title1(0).list(0) x\n"), 2);
}

TEST_F(RunnerTest, PrintShowsItemsAsTheProgramHoldsThem) {
  t.players[0].position = 1323.0 / 44100 * 3;
  t.players[0].file = "/m/a b.mp3";
  t.players[1].state = 2;
  t.p.deck[1].markPosition = 2.5;
  t.p.lastFolders[2] = "/samples/";
  t.p.settingsPath = "/home/u/velvoxp.ini";
  main().label("Totaltime", 0).setCaption("/03'25");
  main().listBox("cuelis", 0).setItems({"-1", " 1.5"}, 1);
  std::string rec;
  recorder.sendCommand("open new type waveaudio alias rec", rec);
  recorder.sendCommand("record rec", rec);
  ASSERT_EQ(run("print player(0).position\nprint player(0).filename\nprint player(1).state\n"
                "print player(1).mute\nprint @markPosition(1)\nprint @lastFolders(2)\nprint @gapTime\n"
                "print Totaltime(0).caption\nprint cuelis(0).list(1)\nprint cuelis(0).list(2)\nprint cuelis(0).listcount\n"
                "print Pause(0).visible\nprint MainForm.visible\nprint monitor.pitch\nprint slot(0).status\n"
                "print recorder.commands\nprint settings.path\n"),
            0)
      << err.str();
  EXPECT_EQ(out.str(),
            "player(0).position = 0.09\n"
            "player(0).filename = \"/m/a b.mp3\"\n"
            "player(1).state = 2\n"
            "player(1).mute = False\n"
            "@markPosition(1) = 2.5\n"
            "@lastFolders(2) = \"/samples/\"\n"
            "@gapTime = 10\n"
            "Totaltime(0).caption = \"/03'25\"\n"
            "cuelis(0).list(1) = \" 1.5\"\n"
            "cuelis(0).list(2) = not available\n"
            "cuelis(0).listcount = 2\n"
            "Pause(0).visible = True\n"
            "MainForm.visible = False\n"
            "monitor.pitch = 100\n"
            "slot(0).status = not available\n"
            "recorder.commands = \"open new type waveaudio alias rec | record rec\"\n"
            "settings.path = \"/home/u/velvoxp.ini\"\n");
}

TEST_F(RunnerTest, EveryProgramVariableCanBeRead) {
  for (const std::string& name : variableNames()) {
    try {
      readVariable(t.p, name, -1);
    } catch (const ScriptError&) {
      EXPECT_NO_THROW(readVariable(t.p, name, 0)) << name;
    }
  }
  EXPECT_EQ(readVariable(t.p, "faderCurve", 11).print(), "500");
  EXPECT_THROW(readVariable(t.p, "faderCurve", 12), ScriptError);
  EXPECT_THROW(readVariable(t.p, "markPosition", -1), ScriptError);
  EXPECT_THROW(readVariable(t.p, "markPosition", 2), ScriptError);
  EXPECT_THROW(readVariable(t.p, "gapTime", 0), ScriptError);
  EXPECT_THROW(readVariable(t.p, "noSuchThing", -1), ScriptError);
}

TEST_F(RunnerTest, ExitStatusNamesTheLine) {
  EXPECT_EQ(run("\xEF\xBB\xBF# comment\r\n\nexpect Pause(0).picture = play1.bmp\r\nexpect @holdActive(0) = True\n"), 1);
  EXPECT_NE(err.str().find("s.vxs:4: expect @holdActive(0) = True failed: it is False"), std::string::npos) << err.str();
  for (const char* bad : {"press Pause(0)\n", "click NoSuch(0)\n", "print Pause(0).colour\n", "print nosuch.x.caption\n",
                          "print @nosuch\n", "tick x\n", "print player(2).state\n", "print monitor.speed\n",
                          "print slot(8).status\n", "print slot(0).colour\n"}) {
    err.str("");
    EXPECT_EQ(run(bad), 2) << bad;
    EXPECT_NE(err.str().find("s.vxs:1: "), std::string::npos) << err.str();
  }
}

TEST_F(RunnerTest, DialogAnswersComeFromTheScript) {
  main().picture("Imgadd", 0).events.click = [&] {
    auto chosen = t.p.ports.dialogs->openFile({"Open music File ", "f", "", "", "", false});
    log.push_back(chosen.value_or("cancelled"));
  };
  ASSERT_EQ(run("answer open $MEDIA/x.wav\nclick Imgadd(0)\nclick Imgadd(0)\n"), 0) << err.str();
  EXPECT_EQ(log, (std::vector<std::string>{"/media/x.wav", "cancelled"}));
  EXPECT_NE(out.str().find("-> \"/media/x.wav\"\n"), std::string::npos);
  EXPECT_NE(out.str().find("-> cancel\n"), std::string::npos);

  // an answer no dialog took fails the run at its end
  EXPECT_EQ(run("answer open /y.wav\nanswer msgbox yes\n"), 1);
  EXPECT_NE(err.str().find("queued at line 1 was never used"), std::string::npos);
}

TEST_F(RunnerTest, AnAnswerThatDoesNotFitFailsAtTheCommand) {
  main().picture("Imgadd", 0).events.click = [&] {
    t.p.ports.dialogs->messageBox({"x", "t", platform::MsgButtons::OK, platform::MsgIcon::Information});
  };
  EXPECT_EQ(run("answer msgbox no\nclick Imgadd(0)\ntick\n"), 1);
  EXPECT_NE(err.str().find("s.vxs:2: the answer no queued at line 1"), std::string::npos) << err.str();
}

TEST_F(RunnerTest, TicksRunTheTimersThenRenderThirtyMilliseconds) {
  main().timer("Timer1").tick = [&] { log.push_back("Timer1"); };
  int splashTicks = 0;
  t.p.splash.timer("Timer1").tick = [&] { ++splashTicks; };
  // the schedule counts the splash timer from the runner's start
  Runner fresh{Session{t.p, sound, dialogs, recorder, out, env}, 44100};
  std::istringstream in("tick 2\n");
  ASSERT_EQ(fresh.run(in, "s.vxs", err), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"Timer1", "render 1323", "Timer1", "render 1323"}));
  EXPECT_GE(sound.delivered, 3);  // after each tick and after the command

  std::istringstream more("tick 81\n");  // 83 ticks = 2490 ms
  fresh.run(more, "s.vxs", err);
  EXPECT_EQ(splashTicks, 0);
  std::istringstream last("tick\n");  // 2520 ms
  fresh.run(last, "s.vxs", err);
  EXPECT_EQ(splashTicks, 1);

  main().timer("Timer1").setEnabled(false);
  log.clear();
  std::istringstream once("tick\n");
  fresh.run(once, "s.vxs", err);
  EXPECT_EQ(log, (std::vector<std::string>{"render 1323"}));
}

TEST_F(RunnerTest, AnEndedProgramOnlyAnswersQuestions) {
  main().picture("Formend").events.click = [&] { t.p.quitRequested = true; };
  main().timer("Timer1").tick = [&] { log.push_back("Timer1"); };
  EXPECT_EQ(run("click Formend\nexpect MainForm.visible = False\nprint @initDone\n"), 0) << err.str();
  EXPECT_TRUE(runner.ended());
  EXPECT_EQ(out.str(), "program ended\n@initDone = False\n");
  EXPECT_EQ(run("tick\n"), 2);
  EXPECT_TRUE(log.empty());
  EXPECT_NE(err.str().find("the program has ended"), std::string::npos);
}

TEST_F(RunnerTest, WindowsAreNamedAlone) {
  bool clicked = false;
  t.p.splash.click = [&] { clicked = true; };
  t.p.splash.caption = "Velvox";
  ASSERT_EQ(run("click frmSplash\nexpect frmSplash.caption = Velvox\nexpect about.OK.caption = OK\n"), 0) << err.str();
  EXPECT_TRUE(clicked);
  EXPECT_EQ(run("down frmSplash\n"), 2);
  EXPECT_EQ(run("print frmSplash.listcount\n"), 2);
}

}  // namespace
}  // namespace vx::driver
