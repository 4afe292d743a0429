// The slot dialog: layouts by kind, volume, tempo, options, the 3D pad and angle, and the sound
// keyboard.
#include <cmath>

#include "sampler/slot_dialog.h"
#include "tests/sampler/sampler_fixture.h"

namespace vx::test {
namespace {

class SlotDialog : public SamplerTest {
 protected:
  form::Form& d() { return t.p.sampler.sampcfg; }
  void open(int slot) {
    t.form().label("Text1", slot).events.mouseDown({form::MouseButton::Right, 0, 0, 0});
    ASSERT_TRUE(d().visible);
  }
};

TEST_F(SlotDialog, OpensOnlyOnALoadedSlotWithTheLayoutOfItsKind) {
  t.form().label("Text1", 0).events.mouseDown({form::MouseButton::Right, 0, 0, 0});
  EXPECT_FALSE(d().visible);
  struct Case {
    const char* path;
    int mode;
    double width, effectsTop;
  } cases[] = {{"/s/mono.wav", 0, 8200, 4300}, {"/s/mono.wav", 1, 8200, 720}, {"/s/stereo.wav", 0, 5200, 4300},
               {"/s/stereo.wav", 1, 5200, 720}};
  for (const Case& c : cases) {
    load(1, c.path, c.mode);
    t.p.config.visible = true;
    open(1);
    EXPECT_FALSE(t.p.config.visible);  // every other window closes
    EXPECT_EQ(d().width, c.width);
    EXPECT_EQ(d().label("Frame1").top(), c.effectsTop);
    EXPECT_EQ(d().label("Label3").caption(), "SAMPLER 2");
  }
}

TEST_F(SlotDialog, VolumeTempoAndOptionsActAtOnce) {
  load(0, "/s/mono.wav", 0);
  open(0);
  EXPECT_EQ(d().slider("tempo").value(), 44100);
  d().slider("volume").setValue(30);
  d().slider("volume").events.change();
  EXPECT_EQ(buffer(0)->volume(), -900);
  d().slider("tempo").setValue(22050);
  EXPECT_EQ(buffer(0)->frequency(), 44100);  // the tempo waits for the button's release
  d().slider("tempo").events.mouseUp({});
  EXPECT_EQ(buffer(0)->frequency(), 22050);
  d().checkBox("chkLoop", 0).setValue(1);
  d().checkBox("chkLoop", 0).events.click();
  d().checkBox("chksilent").setValue(1);
  d().checkBox("chksilent").events.click();
  EXPECT_EQ(t.p.sampler.slotLoop[0], 1);
  EXPECT_EQ(t.p.sampler.slotSilencer[0], 1);
  d().visible = false;
  d().slider("volume").setValue(0);
  open(0);
  EXPECT_EQ(d().slider("volume").value(), 30);
  EXPECT_EQ(d().slider("tempo").value(), 22050);
  EXPECT_EQ(d().checkBox("chkLoop", 0).value(), 1);
}

TEST_F(SlotDialog, ThePadPlacesTheSourceInPlatformUnits) {
  load(0, "/s/mono.wav", 0);
  open(0);
  FakeSoundBuffer* b = buffer(0);
  // The load points the cone along -z (the design angle -90) at 0.1 units in front.
  EXPECT_EQ(b->coneInside, 0);
  EXPECT_EQ(b->coneOutsideAngle, 100);
  EXPECT_EQ(b->coneOutside, -400);
  EXPECT_NEAR(b->orientation.x, 0, 0.01);
  EXPECT_NEAR(b->orientation.z, -5, 0.001);
  EXPECT_FLOAT_EQ(b->positionValue3.z, 0.1f);
  const form::Control& pad = d().label("picDraw");
  const double cx = pad.width() / 2, cz = pad.height() / 2;
  pad.events.mouseDown({form::MouseButton::Left, 0, cx, cz});
  EXPECT_FLOAT_EQ(b->positionValue3.x, 0);
  EXPECT_FLOAT_EQ(b->positionValue3.z, 0);
  pad.events.mouseMove({form::MouseButton::Left, 0, cx + 1000, cz + 500});
  EXPECT_FLOAT_EQ(b->positionValue3.x, 20);
  EXPECT_FLOAT_EQ(b->positionValue3.y, 0);
  EXPECT_FLOAT_EQ(b->positionValue3.z, 10);
  pad.events.mouseMove({form::MouseButton::Left, 0, -10, cz});  // outside: ignored
  EXPECT_FLOAT_EQ(b->positionValue3.x, 20);
  pad.events.mouseUp({form::MouseButton::Left, 0, cx, cz});
  pad.events.mouseMove({form::MouseButton::Left, 0, cx, cz});  // no longer dragging
  EXPECT_FLOAT_EQ(b->positionValue3.x, 20);
  // The red marker (lines 3..5) sits at the source, the grey one at the listener.
  const auto& tip = d().get<form::Line>("padLine", 3);
  EXPECT_NEAR(tip.x1, std::round(cx) + 1000, 121);
  EXPECT_EQ(tip.colour, 0xE60000);
  EXPECT_EQ(d().get<form::Line>("padLine", 0).colour, 0xC0C0C0);
  // Angle 0 points the cone to +x, 90 to +z.
  d().slider("scrlangle").setValue(0);
  d().slider("scrlangle").events.change();
  EXPECT_NEAR(b->orientation.x, 5, 0.001);
  d().slider("scrlangle").setValue(90);
  d().slider("scrlangle").events.change();
  EXPECT_NEAR(b->orientation.z, 5, 0.001);
}

TEST_F(SlotDialog, EveryOpeningStartsTheAngleAtMinusNinety) {
  load(0, "/s/mono.wav", 0);
  load(1, "/s/mono.wav", 0);
  open(0);
  d().slider("scrlangle").setValue(0);
  d().slider("scrlangle").events.change();
  d().visible = false;
  open(1);
  EXPECT_EQ(d().slider("scrlangle").value(), -90);
  EXPECT_NEAR(buffer(1)->orientation.x, 0, 0.01);
  EXPECT_NEAR(buffer(1)->orientation.z, -5, 0.001);
  d().visible = false;
  open(0);
  EXPECT_NEAR(buffer(0)->orientation.z, -5, 0.001);
}

TEST_F(SlotDialog, TheSoundKeyboardTunesEverySlotToAMajorScale) {
  load(3, "/s/other.wav", 0);
  open(3);
  d().slider("tempo").setValue(44100);
  d().label("keyboad").events.click();
  const long expected[8] = {44100, 49480, 55566, 58873, 66061, 74176, 83260, 88200};
  const char* labels[8] = {"1: ド", "2: レ", "3: ミ", "4: ファ", "5: ソ", "6: ラ", "7: シ", "8: ド"};
  for (int i = 0; i < 8; ++i) {
    ASSERT_NE(buffer(i), nullptr);
    EXPECT_EQ(buffer(i)->frequency(), expected[i]) << i;
    EXPECT_EQ(buffer(i)->flags(), 0xE0);
    EXPECT_EQ(buffer(i)->path, "/s/other.wav");
    EXPECT_EQ(t.form().label("Text1", i).caption(), labels[i]);
  }
  EXPECT_EQ(t.p.settings.slotKind[3], 0);  // kinds and paths stay
  d().slider("tempo").setValue(60000);
  d().label("keyboad").events.click();
  EXPECT_EQ(buffer(4)->frequency(), 89880);
  for (int i = 5; i < 8; ++i) EXPECT_EQ(buffer(i)->frequency(), 100000);
  // A slot of a 3D kind now holds a buffer without 3D: the pad still draws, nothing is sent.
  d().visible = false;
  open(3);
  d().label("picDraw").events.mouseDown({form::MouseButton::Left, 0, 100, 100});
  EXPECT_NE(d().get<form::Line>("padLine", 3).x1, 0);
  EXPECT_EQ(buffer(3)->count("3d position 0 0 0"), 0);
}

TEST_F(SlotDialog, TheSoundKeyboardWithoutAReadableFileLeavesTheSlots) {
  t.sound.files["/s/gone.wav"] = {1, 44100, 44100};
  load(0, "/s/gone.wav", 0);
  open(0);
  t.sound.files.erase("/s/gone.wav");
  d().label("keyboad").events.click();
  EXPECT_EQ(t.dialogs.messages().back(), "ファイルを読み込めません。");
  EXPECT_EQ(buffer(1), nullptr);
  EXPECT_EQ(buffer(0)->path, "/s/gone.wav");
  t.p.sampler.pendingSampleFile = "";  // as after a restart
  d().label("keyboad").events.click();
  EXPECT_EQ(t.dialogs.shown.back().title, "読み込めません");
  EXPECT_EQ(buffer(1), nullptr);
}

}  // namespace
}  // namespace vx::test
