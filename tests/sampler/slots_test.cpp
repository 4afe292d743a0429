// Slots: loading by dialog, menu and drop, the mode choice and its kinds, the trigger with loop
// and silencer, clearing, restoring and releasing.
#include "tests/sampler/sampler_fixture.h"

namespace vx::test {
namespace {

using platform::kStatusLooping;
using platform::kStatusPlaying;

TEST_F(SamplerTest, TheOpenDialogNamesTheSlotAndAsksForTheMode) {
  t.dialogs.openAnswers.push_back("/s/mono.wav");
  t.form().label("Text1", 2).events.mouseDown({});
  const ShownDialog& open = t.dialogs.shown.back();
  EXPECT_EQ(open.kind, "open");
  EXPECT_EQ(open.file.filter, "Wave Files (*.wav)|*.wav");
  EXPECT_EQ(t.form().label("Text1", 2).caption(), " 3:mono.wav");
  EXPECT_EQ(t.p.settings.slotPath[2], "/s/mono.wav");
  EXPECT_EQ(t.p.lastFolders[2], "/s/");
  EXPECT_EQ(t.p.sampler.pendingSampleFile, "/s/mono.wav");
  EXPECT_EQ(t.p.sampler.currentSlot, 2);
  EXPECT_TRUE(t.p.sampler.selectmode.visible);
  EXPECT_EQ(buffer(2), nullptr);  // the sound comes with the mode

  // Cancel changes nothing; the menu entry loads the same way.
  t.p.sampler.selectmode.visible = false;
  t.form().menu("s", 4).events.click();
  EXPECT_EQ(t.form().label("Text1", 4).caption(), "5:");
  EXPECT_FALSE(t.p.sampler.selectmode.visible);
  t.dialogs.openAnswers.push_back("/s/other.wav");
  t.form().menu("s", 4).events.click();
  EXPECT_EQ(t.p.sampler.currentSlot, 4);
}

TEST_F(SamplerTest, KindsFollowTheModeAndTheChannels) {
  struct Case {
    const char* path;
    int mode, kind;
    long flags;
  } cases[] = {{"/s/mono.wav", 0, 0, 0xB0},   {"/s/mono.wav", 1, 1, 0x290},
               {"/s/stereo.wav", 0, 2, 0xE0}, {"/s/stereo.wav", 1, 3, 0x2C0}};
  for (const Case& c : cases) {
    load(0, c.path, c.mode);
    EXPECT_FALSE(t.p.sampler.selectmode.visible);
    ASSERT_NE(buffer(0), nullptr) << c.path;
    EXPECT_EQ(buffer(0)->flags(), c.flags) << c.path << c.mode;
    EXPECT_EQ(t.p.settings.slotKind[0], c.kind) << c.path << c.mode;
  }
  EXPECT_TRUE(t.dialogs.messages().empty());
}

TEST_F(SamplerTest, AFailedModeChoiceKeepsTheOldSoundUnderTheNewName) {
  load(1, "/s/mono.wav", 0);
  FakeSoundBuffer* old = buffer(1);
  t.p.sampler.appliedChainSignature[1] = 99;
  load(1, "/s/short.wav", 1);
  EXPECT_EQ(buffer(1), old);
  EXPECT_EQ(t.dialogs.messages().back(), "ﾌｧｲﾙの長さがエフェクトをかけるには短すぎます。もっと長いﾌｧｲﾙにしてください。");
  EXPECT_EQ(t.dialogs.shown.back().title, "読み込めません");
  EXPECT_EQ(t.form().label("Text1", 1).caption(), " 2:mono.wav");
  EXPECT_EQ(t.p.settings.slotKind[1], 0);
  EXPECT_EQ(t.p.sampler.appliedChainSignature[1], 99);
  EXPECT_FALSE(t.p.sampler.selectmode.visible);
  load(1, "/s/missing.wav", 0);
  EXPECT_EQ(t.dialogs.messages().back(), "ファイルを読み込めません。");
  EXPECT_EQ(buffer(1), old);
  // A new buffer forgets the chain set on the old one.
  load(1, "/s/other.wav", 0);
  EXPECT_EQ(t.p.sampler.appliedChainSignature[1], 0);
  EXPECT_TRUE(t.sound.called("released /s/mono.wav"));
}

TEST_F(SamplerTest, ARefusedFileLeavesTheSettingsNamingTheSoundTheSlotHolds) {
  load(2, "/s/stereo.wav", 0);
  load(2, "/s/short.wav", 1);  // too short for effects
  EXPECT_EQ(t.p.settings.slotPath[2], "/s/stereo.wav");
  EXPECT_EQ(t.p.settings.slotKind[2], 2);
  EXPECT_EQ(t.form().label("Text1", 2).caption(), " 3:stereo.wav");
  const std::string emptyLabel = t.form().label("Text1", 3).caption();
  t.form().label("Text1", 3).events.dragDrop({"/s/unreadable.wav"}, 0);
  t.p.sampler.selectmode.label("Label1", 0).events.click();
  EXPECT_EQ(t.dialogs.messages().back(), "ファイルを読み込めません。");
  EXPECT_EQ(t.p.settings.slotPath[3], "");
  EXPECT_EQ(t.form().label("Text1", 3).caption(), emptyLabel);
}

TEST_F(SamplerTest, WithoutTheDeviceTheModeChoiceCannotRead) {
  t.p.startup.directSoundReady = false;
  load(0, "/s/mono.wav", 0);
  EXPECT_EQ(t.dialogs.messages().back(), "ファイルを読み込めません。");
  EXPECT_EQ(buffer(0), nullptr);
}

TEST_F(SamplerTest, DropsTakeOnlyLowerCaseWavAndActOnTheirSlot) {
  load(0, "/s/mono.wav", 0);
  buffer(0)->play(0);
  t.p.sampler.currentSlot = 5;
  t.form().label("Text1", 3).events.dragDrop({"/s/OTHER.WAV"}, 0);
  EXPECT_FALSE(t.p.sampler.selectmode.visible);
  EXPECT_EQ(t.form().label("Text1", 3).caption(), "4:");
  t.form().label("Text1", 0).events.dragDrop({"/s/other.wav", "/s/stereo.wav"}, 0);
  EXPECT_EQ(t.form().label("Text1", 0).caption(), " 1:other.wav");
  EXPECT_EQ(t.p.sampler.currentSlot, 0);
  EXPECT_TRUE(t.p.sampler.selectmode.visible);
  EXPECT_EQ(buffer(0)->status(), kStatusPlaying);  // a drop does not stop the slot
  // Closing the mode window without a choice leaves the old sound under the new label.
  t.p.sampler.selectmode.visible = false;
  EXPECT_EQ(buffer(0)->path, "/s/mono.wav");
}

TEST_F(SamplerTest, TheOpenDialogStopsASlotPlayingOnceButNotALoop) {
  load(0, "/s/mono.wav", 0);
  buffer(0)->play(0);
  t.dialogs.openAnswers.push_back("/s/other.wav");
  t.form().label("Text1", 0).events.mouseDown({});
  EXPECT_EQ(buffer(0)->status(), 0);
  t.p.sampler.selectmode.visible = false;
  buffer(0)->play(1);
  t.dialogs.openAnswers.push_back("/s/other.wav");
  t.form().label("Text1", 0).events.mouseDown({});
  EXPECT_EQ(buffer(0)->status(), kStatusPlaying | kStatusLooping);
}

TEST_F(SamplerTest, OpeningASlotsDialogLeavesARecordingRecorderOpen) {
  load(0, "/s/mono.wav", 0);
  auto& rec = t.p.recorderWindow;
  t.dialogs.saveAnswers.push_back("/music/set.wav");
  t.p.main.picture("Imgrec").events.click();
  rec.picture("cmdstart").events.click();
  t.form().label("Text1", 0).events.mouseDown(mouseAt(0, 0, form::MouseButton::Right));
  EXPECT_TRUE(t.p.sampler.sampcfg.visible);
  EXPECT_TRUE(rec.visible);
  EXPECT_TRUE(rec.timer("Timer1").enabled());
  // Stopped and not saved: the take is still there to save.
  rec.picture("cmdstop").events.mouseDown({});
  t.p.config.label("Command1", 0).events.click();
  EXPECT_TRUE(rec.visible);
  EXPECT_TRUE(rec.picture("cmdsave").enabled());
  // Saved: nothing is lost by closing it.
  rec.picture("cmdsave").events.click();
  t.p.config.label("Command1", 0).events.click();
  EXPECT_FALSE(rec.visible);
}

TEST_F(SamplerTest, TriggersRestartLoopsToggleAndEmptySlotsDoNothing) {
  t.p.sampler.slotSilencer[0] = 1;
  key(49, true);
  key(49, false);
  EXPECT_FALSE(t.player(0).called("mute=True"));
  EXPECT_FALSE(t.player(0).muted);

  load(0, "/s/mono.wav", 0);
  t.p.sampler.slotSilencer[0] = 0;
  buffer(0)->clearCalls();
  sampler::cmdPlay_Click(t.p, 0);
  sampler::cmdPlay_Click(t.p, 0);
  EXPECT_EQ(buffer(0)->calls, (std::vector<std::string>{"position 0", "play 0", "position 0", "play 0"}));

  t.p.sampler.slotLoop[0] = 1;
  buffer(0)->clearCalls();
  key(97, true);  // keypad 1 is slot 1 too
  key(97, false);
  EXPECT_EQ(buffer(0)->status(), kStatusPlaying | kStatusLooping);
  EXPECT_EQ(t.p.sampler.slotLooping[0], -1);
  key(49, true);
  key(49, false);
  EXPECT_EQ(buffer(0)->status(), 0);
  EXPECT_EQ(t.p.sampler.slotLooping[0], 0);
  key(49, true);
  EXPECT_EQ(buffer(0)->calls, (std::vector<std::string>{"position 0", "play 1", "stop", "position 0", "position 0", "play 1"}));
  // Held keys repeat without retriggering.
  key(49, true);
  EXPECT_EQ(buffer(0)->count("play 1"), 2);
  key(49, false);
  // Loop turned off while looping: the next trigger plays once from the start.
  t.p.sampler.slotLoop[0] = 0;
  key(49, true);
  EXPECT_EQ(buffer(0)->status(), kStatusPlaying);
}

TEST_F(SamplerTest, TheSilencerMutesBothDecksFromKeyDownToKeyUp) {
  load(2, "/s/mono.wav", 0);
  t.p.sampler.slotSilencer[2] = 1;
  t.p.sampler.slotLoop[2] = 1;
  key(51, true);
  EXPECT_TRUE(t.player(0).muted);
  EXPECT_TRUE(t.player(1).muted);
  key(51, false);
  EXPECT_FALSE(t.player(0).muted);
  EXPECT_FALSE(t.player(1).muted);
  EXPECT_EQ(buffer(2)->status(), kStatusPlaying | kStatusLooping);  // key up leaves the sample
  key(51, true);  // the press that stops the loop mutes too
  EXPECT_TRUE(t.player(0).muted);
  EXPECT_EQ(buffer(2)->status(), 0);
  key(51, false);
  EXPECT_FALSE(t.player(1).muted);
}

TEST_F(SamplerTest, ClearingEmptiesTheLabelsAndPathsButKeepsTheSounds) {
  load(0, "/s/mono.wav", 0);
  load(7, "/s/stereo.wav", 1);
  t.form().menu("clssamp").events.click();
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(t.form().label("Text1", i).caption(), " " + std::to_string(i + 1) + ":");
    EXPECT_EQ(t.p.settings.slotPath[static_cast<size_t>(i)], "");
  }
  ASSERT_NE(buffer(7), nullptr);
  sampler::cmdPlay_Click(t.p, 7);
  EXPECT_EQ(buffer(7)->status(), kStatusPlaying);
  EXPECT_EQ(t.p.settings.slotKind[7], 3);
}

TEST_F(SamplerTest, RestoringUsesTheStoredKindAndReleasingStopsAndFrees) {
  t.p.settings.slotKind = {0, 1, 2, 3, 0, 0, 0, 0};
  EXPECT_TRUE(sampler::loadSlotFile(t.p, 0, "/s/mono.wav"));
  EXPECT_TRUE(sampler::loadSlotFile(t.p, 1, "/s/mono.wav"));
  EXPECT_TRUE(sampler::loadSlotFile(t.p, 2, "/s/stereo.wav"));
  EXPECT_TRUE(sampler::loadSlotFile(t.p, 3, "/s/stereo.wav"));
  EXPECT_FALSE(sampler::loadSlotFile(t.p, 4, "/s/stereo.wav"));  // no fallback when restoring
  EXPECT_FALSE(sampler::loadSlotFile(t.p, 5, "/s/missing.wav"));
  EXPECT_EQ(buffer(1)->flags(), 0x290);
  EXPECT_EQ(buffer(3)->flags(), 0x2C0);
  EXPECT_TRUE(sampler::slotLoaded(t.p, 3));
  EXPECT_FALSE(sampler::slotLoaded(t.p, 4));
  buffer(0)->play(0);
  buffer(1)->play(1);
  FakeSoundBuffer* once = buffer(0);
  once->clearCalls();
  sampler::releaseSampler(t.p);
  EXPECT_TRUE(t.sound.live.empty());
  EXPECT_TRUE(t.sound.called("release"));
  EXPECT_EQ(t.sound.count("released /s/mono.wav"), 2);
}

}  // namespace
}  // namespace vx::test
