// The configuration dialog drawn from its form, and the platform's dialogs in Japanese.
#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QtTest/QTest>

#include "tests/view/qt_app.h"
#include "tests/view/window_fixture.h"
#include "view/form_window.h"
#include "view/translations.h"

namespace vx::test {
namespace {

const QString kShots = VELVOX_BUILD_DIR "/screenshots";

void save(QWidget& w, const QString& name) {
  QDir().mkpath(kShots);
  ASSERT_TRUE(w.grab().save(kShots + "/" + name));
}

class ConfigWindowTest : public WindowFixture {};

TEST_F(ConfigWindowTest, TheDialogShowsEveryFrameAndWritesAtOnce) {
  showWith("orange");
  view::FormWindow& config = *gui->dialogOf(p.config);
  p.main.menu("setting").events.click();
  settle();
  ASSERT_TRUE(config.isVisible());
  EXPECT_EQ(config.windowTitle(), "Velvoxの設定");
  auto* frame = qobject_cast<QGroupBox*>(config.widgetOf("Frame6"));
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->title(), "クロスフェーダ―");
  ASSERT_NE(qobject_cast<QAbstractButton*>(config.widgetOf("fdrec")), nullptr);
  ASSERT_NE(config.widgetOf("Line1", 4), nullptr);

  auto* gap = qobject_cast<QSlider*>(config.widgetOf("gyap"));
  ASSERT_NE(gap, nullptr);
  EXPECT_EQ(gap->maximum(), 100);
  gap->setSliderDown(true);
  gap->setSliderPosition(64);
  gap->setSliderDown(false);
  settle();
  EXPECT_EQ(p.settings.gapTime, 64);

  // One group of options does not clear another.
  QTest::mouseClick(config.widgetOf("bitrate", 1), Qt::LeftButton);
  QTest::mouseClick(config.widgetOf("patern", 2), Qt::LeftButton);
  settle();
  EXPECT_EQ(p.recorder.recordRate, 1);
  EXPECT_TRUE(p.config.option("bitrate", 1).value());
  EXPECT_EQ(p.configPattern, 2);
  save(config, "config.png");
}

TEST_F(ConfigWindowTest, WindowsCloseWhenTheProgramHasEnded) {
  showWith("orange");
  p.main.menu("setting").events.click();
  settle();
  t.dialogs.messageAnswers.push_back(platform::MsgResult::Cancel);
  EXPECT_FALSE(gui->mainWindow().close()) << "the desktop's close asks first";
  EXPECT_EQ(t.dialogs.count("msgbox"), 1);
  // Qt closes every window on its way out; none may ask again or refuse.
  p.quitRequested = true;
  EXPECT_TRUE(gui->dialogOf(p.config)->close());
  EXPECT_TRUE(gui->mainWindow().close());
  EXPECT_EQ(t.dialogs.count("msgbox"), 1);
}

TEST(Translations, TheOpenDialogSpeaksJapanese) {
  QApplication& app = testApp();
  ASSERT_TRUE(view::installJapaneseTranslations(app));
  QTemporaryDir music;
  for (const char* song : {"夜明けのビート.mp3", "Velvet Steps.wav"}) QFile(music.filePath(song)).open(QIODevice::WriteOnly);
  QFileDialog dialog(nullptr, "曲ファイルを開く", music.path());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.show();
  QApplication::processEvents();
  auto* name = dialog.findChild<QLabel*>("fileNameLabel");
  ASSERT_NE(name, nullptr);
  EXPECT_TRUE(name->text().contains("ファイル名")) << name->text().toStdString();
  auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
  ASSERT_NE(buttons, nullptr);
  EXPECT_TRUE(buttons->button(QDialogButtonBox::Cancel)->text().contains("キャンセル"));
  save(dialog, "open-dialog-ja.png");
}

}  // namespace
}  // namespace vx::test
