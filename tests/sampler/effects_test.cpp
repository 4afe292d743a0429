// Effect picks, the chain and its signature per slot, the messages while playing, and the
// parameter dialogs.
#include "sampler/effect_dialogs.h"
#include "sampler/effects.h"
#include "tests/sampler/sampler_fixture.h"

namespace vx::test {
namespace {

using platform::EffectParameters;

class Effects : public SamplerTest {
 protected:
  void SetUp() override {
    SamplerTest::SetUp();
    load(0, "/s/mono.wav", 1);
  }
  form::Form& d() { return t.p.sampler.sampcfg; }
  void open(int slot) {
    t.form().label("Text1", slot).events.mouseDown({form::MouseButton::Right, 0, 0, 0});
  }
  void tick(int k, int value) {
    d().checkBox("Check1", k).setValue(value);
    d().checkBox("Check1", k).events.click();
  }
  void ok() { d().label("Command1").events.click(); }
  std::vector<std::string> entries(int slot) { return t.form().listBox("lstUse", slot).items().strings(); }
};

TEST_F(Effects, PicksMakeTheChainInTheirOrder) {
  open(0);
  tick(0, 1);
  tick(1, 1);
  EXPECT_TRUE(d().label("efectcfg", 0).enabled());
  EXPECT_EQ(entries(0), (std::vector<std::string>{"Echo (Unallocated)", "Chorus (Unallocated)"}));
  ok();
  EXPECT_FALSE(d().visible);
  EXPECT_EQ(buffer(0)->chain, (std::vector<std::string>{"GUID_DSFX_STANDARD_ECHO", "GUID_DSFX_STANDARD_CHORUS"}));
  EXPECT_EQ(entries(0), (std::vector<std::string>{"Echo - Software", "Chorus - Software"}));
  EXPECT_EQ(t.p.sampler.appliedChainSignature[0], 0 + 32 + 1 + 64);
  // Reopened: the boxes show the list; clearing Echo and ticking it again puts it last.
  open(0);
  EXPECT_EQ(d().checkBox("Check1", 0).value(), 1);
  EXPECT_EQ(entries(0).size(), 2u);
  tick(0, 0);
  EXPECT_FALSE(d().label("efectcfg", 0).enabled());
  tick(0, 1);
  ok();
  EXPECT_EQ(buffer(0)->chain, (std::vector<std::string>{"GUID_DSFX_STANDARD_CHORUS", "GUID_DSFX_STANDARD_ECHO"}));
  // Unchanged, a second OK sends nothing.
  open(0);
  ok();
  EXPECT_EQ(buffer(0)->chainsSet, 2);
}

TEST_F(Effects, SignaturesAreKeptPerSlot) {
  load(1, "/s/mono.wav", 1);
  open(0);
  tick(5, 1);
  ok();
  open(1);
  tick(5, 1);
  ok();
  // The same list on another slot is still set on that slot's buffer.
  EXPECT_EQ(buffer(1)->chain, (std::vector<std::string>{"GUID_DSFX_STANDARD_PARAMEQ"}));
  EXPECT_EQ(sampler::chainSignature({"ParamEQ - Software", "bogus x", "Gargle (Unallocated)"}), 1024 + 2 + 512);
}

TEST_F(Effects, WhilePlayingTheChainStaysAsItIs) {
  open(0);
  tick(0, 1);
  ok();
  buffer(0)->play(0);
  open(0);
  tick(3, 1);
  ok();
  EXPECT_EQ(t.dialogs.messages().back(), "エフェクトを選択する前に再生を止めてください。");
  EXPECT_EQ(t.dialogs.shown.back().title, "再生中です。");
  EXPECT_EQ(buffer(0)->chainsSet, 1);
  open(0);
  tick(0, 0);
  EXPECT_EQ(t.dialogs.messages().back(), "エフェクトを解除する前に再生を止めてください。");
  EXPECT_EQ(t.dialogs.shown.back().title, "ＷＡＶＥを再生中です。");
  EXPECT_EQ(entries(0).front(), "Echo - Software");
  EXPECT_TRUE(d().label("efectcfg", 0).enabled());
}

TEST_F(Effects, AChainRefusedAsAWholeIsReportedAndChangesNothing) {
  open(0);
  tick(2, 1);
  buffer(0)->refuseChain = platform::kSoundControlUnavailable;
  ok();
  EXPECT_EQ(t.dialogs.shown.back().icon, platform::MsgIcon::Critical);
  EXPECT_EQ(entries(0), (std::vector<std::string>{"Flanger (Unallocated)"}));
  EXPECT_EQ(t.p.sampler.appliedChainSignature[0], 0);
}

TEST_F(Effects, AnEmptyListAsksWhetherToRemoveTheEffects) {
  EXPECT_FALSE(sampler::applyEffectChain(t.p, 0, false));
  EXPECT_EQ(t.dialogs.messages().back(), "エフェクトを選んでください。");
  t.dialogs.messageAnswers.push_back(platform::MsgResult::Yes);
  EXPECT_FALSE(sampler::applyEffectChain(t.p, 0, false));
  EXPECT_TRUE(buffer(0)->called("effects "));
  EXPECT_FALSE(sampler::applyEffectChain(t.p, 5, false));
  EXPECT_EQ(t.dialogs.shown.back().title, "バッファがありません。");
}

TEST_F(Effects, AParameterDialogShowsWholeNumbersAndSetsThemBack) {
  open(0);
  tick(1, 1);
  d().label("efectcfg", 1).events.click();  // applies the chain, then opens frmChorus
  form::Form& f = t.p.sampler.frmChorus;
  ASSERT_TRUE(f.visible);
  EXPECT_EQ(f.caption, "コーラス設定");
  auto* chorus = buffer(0)->effect("GUID_DSFX_STANDARD_CHORUS", 0, "IID_DirectSoundFXChorus");
  ASSERT_NE(chorus, nullptr);
  // The default frequency 1.1 Hz shows as 1 and is set to 1.
  EXPECT_EQ(f.slider("sldFreq").value(), 1);
  auto record = std::get<platform::ChorusParameters>(chorus->parameters());
  EXPECT_EQ(record.fFrequency, 1.0f);
  EXPECT_EQ(record.fDelay, 16.0f);
  EXPECT_EQ(record.lWaveform, platform::kWaveSine);
  EXPECT_TRUE(f.option("optSin").value());
  f.slider("sldFeedback").setValue(-40);
  f.slider("sldFeedback").events.change();
  EXPECT_EQ(std::get<platform::ChorusParameters>(chorus->parameters()).fFeedback, -40.0f);
  f.option("optSin").setValue(false);
  f.option("optTriangle").setValue(true);
  f.option("optTriangle").events.click();
  EXPECT_EQ(std::get<platform::ChorusParameters>(chorus->parameters()).lWaveform, platform::kWaveTriangle);
  // While the slot plays, a dialog opens on the unchanged chain and its sliders act at once.
  buffer(0)->play(1);
  f.visible = false;
  open(0);
  d().label("efectcfg", 1).events.click();
  EXPECT_TRUE(f.visible);
  f.slider("sldWetDry").setValue(80);
  f.slider("sldWetDry").events.change();
  EXPECT_EQ(std::get<platform::ChorusParameters>(chorus->parameters()).fWetDryMix, 80.0f);
  // An effect not in the list opens nothing.
  t.p.sampler.currentEffect = 7;
  sampler::openEffectDialog(t.p, 0);
  EXPECT_FALSE(t.p.sampler.frmGargle.visible);
}

TEST_F(Effects, EveryDialogCarriesItsEffectsRecord) {
  open(0);
  for (int k : sampler::effectIndexes()) tick(k, 1);
  ok();
  ASSERT_EQ(buffer(0)->chain.size(), 7u);
  for (int k : sampler::effectIndexes()) {
    open(0);
    d().label("efectcfg", k).events.click();
    form::Form& f = sampler::effectForm(t.p.sampler, k);
    ASSERT_TRUE(f.visible) << k;
    const sampler::EffectInfo* info = sampler::effectByIndex(k);
    EXPECT_EQ(f.caption, info->formCaption);
    auto* effect = buffer(0)->effect(info->classId, 0, info->interfaceId);
    ASSERT_NE(effect, nullptr);
    EXPECT_TRUE(platform::parametersValid(effect->parameters(), 44100)) << k;
    f.label("cmdOK").events.click();
    EXPECT_FALSE(f.visible);
  }
  // The echo's slider moves the running effect's delay.
  open(0);
  d().label("efectcfg", 0).events.click();
  t.p.sampler.frmEcho.slider("sldLeft").setValue(250);
  t.p.sampler.frmEcho.slider("sldLeft").events.change();
  auto* echo = buffer(0)->effect("GUID_DSFX_STANDARD_ECHO", 0, "IID_DirectSoundFXEcho");
  EXPECT_EQ(std::get<platform::EchoParameters>(echo->parameters()).fLeftDelay, 250.0f);
  t.p.sampler.frmEcho.checkBox("chkPan").setValue(1);
  t.p.sampler.frmEcho.checkBox("chkPan").events.click();
  EXPECT_EQ(std::get<platform::EchoParameters>(echo->parameters()).lPanDelay, 1);
  // The dialog of a slot given a new sound reaches nothing.
  load(0, "/s/other.wav", 1);
  t.p.sampler.frmEcho.slider("sldLeft").setValue(300);
  t.p.sampler.frmEcho.slider("sldLeft").events.change();
}

}  // namespace
}  // namespace vx::test
