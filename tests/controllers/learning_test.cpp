// Learning by pointing at controls, and what the learned controls do: through the driver's path
// (MidiHost::deliver), on the program's real handlers.
#include <fstream>

#include "tests/controllers/controller_fixture.h"

namespace vx::test {
namespace {

class Learning : public ControllerFixture {};

TEST_F(Learning, PressWhileLearningSelectsWithoutOperatingAndTheNextMessageBinds) {
  start();
  t.addSong(0, "/music/a.mp3");
  t.form().menu("midilearn").events.click();
  EXPECT_TRUE(t.form().menu("midilearn").checked());
  t.clearCalls();
  down("Pause", 0);
  EXPECT_FALSE(t.player(0).called("play"));  // selected, not pressed
  EXPECT_EQ(host->learning().selected(), "Pause(0)");
  EXPECT_EQ(host->learning().frameOf(t.form().picture("Pause", 0)), 2);
  EXPECT_EQ(host->learning().frameOf(t.form().picture("Stop", 0)), 1);
  EXPECT_EQ(host->learning().frameOf(t.form().label("title", 0)), 0);
  send("Pads", {0x90, 0x24, 0x7F});
  send("Pads", {0x80, 0x24, 0x00});
  ASSERT_EQ(host->system().bindingsOf("Pause(0)").size(), 1u);
  // Esc ends learning; the pad now plays deck A.
  t.form().keyDown(27, 0);
  EXPECT_FALSE(t.form().menu("midilearn").checked());
  send("Pads", {0x90, 0x24, 0x7F});
  send("Pads", {0x80, 0x24, 0x00});
  EXPECT_TRUE(t.player(0).called("play"));
}

TEST_F(Learning, BoundControlOffersClearingAndRightClickMakesAShiftButton) {
  start();
  t.form().menu("midilearn").events.click();
  down("switch");
  send("Pads", {0x90, 0x30, 0x7F});
  down("FDpaturn", 3);
  send("Pads", {0x90, 0x31, 0x7F});
  // Right click on the bound Switch: SHIFT. Then CUT IN learned again while shift is held lands
  // in the second layer.
  t.dialogs.popupAnswers.push_back("midishiftset");
  down("switch", -1, form::MouseButton::Right);
  ASSERT_EQ(host->system().bindingsOf("switch").size(), 1u);
  EXPECT_EQ(host->system().bindingsOf("switch")[0].meaning, midi::Meaning::Shift);
  // A click on bound CUT IN asks; Yes clears it.
  t.dialogs.messageAnswers.push_back(platform::MsgResult::Yes);
  down("FDpaturn", 3);
  EXPECT_TRUE(host->system().bindingsOf("FDpaturn(3)").empty());
  EXPECT_EQ(t.dialogs.count("msgbox"), 1);
}

TEST_F(Learning, LampsFollowTheButtonsPicturesOnChangeOnly) {
  start();
  std::vector<std::vector<uint8_t>> sent;
  host->system().setLampOutput([&](uint32_t, std::span<const uint8_t> b) { sent.emplace_back(b.begin(), b.end()); });
  t.form().menu("midilearn").events.click();
  down("FDpaturn", 3);
  send("Pads", {0x90, 0x31, 0x7F});
  send("Pads", {0x80, 0x31, 0x00});
  host->learning().end();
  sent.clear();
  send("Pads", {0x90, 0x31, 0x7F});  // CUT IN: its picture turns to the lit one
  send("Pads", {0x80, 0x31, 0x00});
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], (std::vector<uint8_t>{0x90, 0x31, 0x7F}));
  host->afterInput();
  EXPECT_EQ(sent.size(), 1u);  // nothing changed, nothing sent
  t.form().picture("FDpaturn", 0).events.click();
  host->afterInput();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1], (std::vector<uint8_t>{0x90, 0x31, 0x00}));
}

TEST_F(Learning, ChannelFaderPitchAndTrimFollowTheHardwareOverTheirWholeTravel) {
  start();
  t.addSong(0, "/music/a.mp3");
  t.form().menu("midilearn").events.click();
  const std::pair<const char*, uint8_t> controls[] = {{"Volbase", 1}, {"pitchbase", 2}, {"Trimbase", 3}};
  for (auto [track, cc] : controls) {
    down(track, 0);
    send("Knobs", {0xB0, cc, 0x20});
    send("Knobs", {0xB0, cc, 0x21});
  }
  host->learning().end();
  control::MidiSurface surface(t.p);
  for (const char* name : {"Volbtn(0)", "pitchbtn(0)", "Trimbase(0)"}) {
    // Meet the window's position, then sweep from end to end in small steps.
    const int at = static_cast<int>(surface.position(name) * 127 + 0.5);
    const uint8_t cc = name[0] == 'V' ? 1 : name[0] == 'p' ? 2 : 3;
    send("Knobs", {0xB0, cc, static_cast<uint8_t>(at)});
    for (int v = at; v >= 0; --v) send("Knobs", {0xB0, cc, static_cast<uint8_t>(v)});
    EXPECT_NEAR(surface.position(name), 0, 0.01) << name;
    for (int v = 0; v <= 127; ++v) send("Knobs", {0xB0, cc, static_cast<uint8_t>(v)});
    EXPECT_NEAR(surface.position(name), 1, 0.01) << name;
  }
  // The channel fader's ends are its clamps; the pitch's bottom is the fastest rate.
  EXPECT_EQ(t.form().picture("Volbtn", 0).top(), 1830);
  EXPECT_EQ(t.form().picture("pitchbtn", 0).top(), 1432.5);
  // The centre value lands on the pitch's centre exactly.
  send("Knobs", {0xB0, 2, 0x40});
  EXPECT_EQ(t.form().picture("pitchbtn", 0).top(), 2400);
}

TEST_F(Learning, PanelKnobFollowsTheHardwareOverItsWholeTravelToTheMixer) {
  start();
  t.form().menu("midilearn").events.click();
  down("eqlow", 0);
  send("Knobs", {0xB0, 4, 0x40});
  send("Knobs", {0xB0, 4, 0x41});
  host->learning().end();
  ASSERT_EQ(host->system().bindingsOf("eqlow(0)").size(), 1u);
  auto& knob = t.form().get<form::Knob>("eqlow", 0);
  send("Knobs", {0xB0, 4, 0x40});  // meets the knob at its centre
  for (int v = 0x40; v >= 0; --v) send("Knobs", {0xB0, 4, static_cast<uint8_t>(v)});
  EXPECT_EQ(knob.value(), -260);
  EXPECT_TRUE(t.dj.called("eq 0 0 -260"));
  for (int v = 0; v <= 127; ++v) send("Knobs", {0xB0, 4, static_cast<uint8_t>(v)});
  EXPECT_EQ(knob.value(), 60);
  EXPECT_TRUE(t.dj.called("eq 0 0 60"));
  send("Knobs", {0xB0, 4, 0x40});
  EXPECT_EQ(knob.value(), 0);  // the centre value lands on the centre exactly
}

TEST_F(Learning, JogTurnsMoveTheMarkAsTheMouseTurnsAndLetGoWhenQuiet) {
  start();
  t.addSong(0, "/music/a.mp3");
  auto& s = t.p.deck[0];
  t.player(0).state = platform::Playing;
  s.holdActive = s.stutterArmed = true;
  s.markPosition = s.jogBase = 5;
  t.form().menu("midilearn").events.click();
  down("jogbase", 0);
  send("Wheel", {0xB0, 0x10, 0x01});
  host->learning().end();
  ASSERT_EQ(host->system().bindingsOf("jogbtn(0)")[0].meaning, midi::Meaning::RelativeTwos);
  send("Wheel", {0xB0, 0x10, 0x01});  // grabs the wheel at twelve and turns it a step
  const double grabbed = mark(0);
  send("Wheel", {0xB0, 0x10, 0x3F});  // 63 + 63 + 2 = one full turn
  send("Wheel", {0xB0, 0x10, 0x3F});
  send("Wheel", {0xB0, 0x10, 0x02});
  EXPECT_NEAR(mark(0) - grabbed, 0.532, 1e-9);
  EXPECT_TRUE(s.jogDragging);
  for (int i = 0; i < control::MidiSurface::kJogReleaseTicks; ++i) t.form().timer("Timer1").tick();
  EXPECT_FALSE(s.jogDragging);
  EXPECT_DOUBLE_EQ(s.jogBase, mark(0));
}

TEST_F(Learning, DamagedMappingFileGivesOneMessageAndTheRestIsUsed) {
  {
    std::ofstream f(folder / "Pads.midimap", std::ios::binary);
    f << "note 1 36 Pause(0) button\n\xff\xfe garbage\ncc 99 7 Faderbtn absolute\ncc 1 7 Faderbtn absolute\n";
  }
  start();
  send("Pads", {0xB0, 0x07, 0x40});
  ASSERT_EQ(t.dialogs.count("msgbox"), 1);
  EXPECT_NE(t.dialogs.messages()[0].find("Pads.midimap"), std::string::npos);
  send("Pads", {0xB0, 0x07, 0x44});
  EXPECT_GT(faderLeft(), 5130);
  EXPECT_EQ(t.dialogs.count("msgbox"), 1);
}

}  // namespace
}  // namespace vx::test
