// The slot dialog and an effect dialog drawn from their forms: the pad with its markers, the
// sliders with their steps, and the mouse on the pad placing the sound.
#include <QDir>
#include <QGroupBox>
#include <QSlider>
#include <QtTest/QTest>

#include "tests/view/window_fixture.h"
#include "view/form_window.h"

namespace vx::test {
namespace {

const QString kShots = VELVOX_BUILD_DIR "/screenshots";

void save(QWidget& w, const QString& name) {
  QDir().mkpath(kShots);
  ASSERT_TRUE(w.grab().save(kShots + "/" + name));
}

class SamplerWindowTest : public WindowFixture {
 protected:
  void loadSlot(const std::string& path, int mode) {
    t.sound.create();
    p.startup.directSoundReady = true;
    t.sound.files[path] = {1, 44100, 44100};
    t.dialogs.openAnswers.push_back(path);
    p.main.label("Text1", 0).events.mouseDown({});
    p.sampler.selectmode.label("Label1", mode).events.click();
  }
};

TEST_F(SamplerWindowTest, TheSlotDialogShowsItsPadAndPlacesTheSound) {
  showWith("orange");
  loadSlot("/s/kick.wav", 0);
  p.main.label("Text1", 0).events.mouseDown({form::MouseButton::Right, 0, 0, 0});
  settle();
  view::FormWindow& dialog = *gui->dialogOf(p.sampler.sampcfg);
  ASSERT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.windowTitle(), "   サンプラー設定");
  auto* volume = qobject_cast<QSlider*>(dialog.widgetOf("volume"));
  ASSERT_NE(volume, nullptr);
  EXPECT_EQ(volume->orientation(), Qt::Vertical);
  EXPECT_EQ(volume->pageStep(), 5);
  auto* tempo = qobject_cast<QSlider*>(dialog.widgetOf("tempo"));
  ASSERT_NE(tempo, nullptr);
  EXPECT_EQ(tempo->maximum(), 100000);
  EXPECT_EQ(tempo->singleStep(), 100);
  EXPECT_EQ(qobject_cast<QGroupBox*>(dialog.widgetOf("Frame2"))->title(), "音源キーボード機能");

  // A click on the pad 20 pixels right of its centre: 300 twips, 6 units to the right.
  QWidget* pad = dialog.widgetOf("picDraw");
  ASSERT_NE(pad, nullptr);
  QTest::mouseClick(pad, Qt::LeftButton, {}, pad->rect().center() + QPoint(20, 0));
  settle();
  auto* buffer = dynamic_cast<FakeSoundBuffer*>(p.sampler.slotBuffer[0].get());
  EXPECT_NEAR(buffer->positionValue3.x, 6.0, 0.4);
  EXPECT_NEAR(buffer->positionValue3.z, 0.0, 0.4);
  save(dialog, "sampcfg.png");
}

TEST_F(SamplerWindowTest, AnEffectDialogDrawsItsSlidersAndOptions) {
  showWith("orange");
  loadSlot("/s/pad.wav", 1);
  p.main.label("Text1", 0).events.mouseDown({form::MouseButton::Right, 0, 0, 0});
  p.sampler.sampcfg.checkBox("Check1", 2).setValue(1);
  p.sampler.sampcfg.checkBox("Check1", 2).events.click();
  p.sampler.sampcfg.label("efectcfg", 2).events.click();
  settle();
  view::FormWindow& flanger = *gui->dialogOf(p.sampler.frmFlanger);
  ASSERT_TRUE(flanger.isVisible());
  EXPECT_EQ(flanger.windowTitle(), "フランジ設定");
  auto* delay = qobject_cast<QSlider*>(flanger.widgetOf("sldDelay"));
  ASSERT_NE(delay, nullptr);
  EXPECT_EQ(delay->maximum(), 4);
  EXPECT_EQ(delay->value(), 2);
  // The page key moves the slider by its large change and reaches the effect.
  delay->setFocus();
  QTest::keyClick(delay, Qt::Key_PageUp);
  settle();
  auto* effect = p.sampler.slotBuffer[0]->effect("GUID_DSFX_STANDARD_FLANGER", 0, "IID_DirectSoundFXFlanger");
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(std::get<platform::FlangerParameters>(effect->parameters()).fDelay, 4.0f);
  save(flanger, "frmFlanger.png");
}

}  // namespace
}  // namespace vx::test
