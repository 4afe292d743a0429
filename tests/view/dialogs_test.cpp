// Dialog texts: filters as the file dialogs take them, message boxes with Japanese buttons.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "tests/view/qt_app.h"
#include "view/file_filter.h"
#include "view/qt_dialogs.h"

namespace vx::test {
namespace {

using Filters = std::vector<std::string>;

TEST(FileFilter, ClassicFiltersBecomeQtFilters) {
  EXPECT_EQ(view::qtFilters("(*.mp3;*.mpg;*.wav;*.mid;*.wma;)|*.mp3;*.mpg;*.wav;*.mid;*.wma;"),
            (Filters{"(*.mp3 *.mpg *.wav *.mid *.wma)"}));
  EXPECT_EQ(view::qtFilters("Wave files(*.WAV)|*.wav"), (Filters{"Wave files (*.wav)"}));
  EXPECT_EQ(view::qtFilters("Wave Files (*.wav)|*.wav"), (Filters{"Wave Files (*.wav)"}));
  EXPECT_EQ(view::qtFilters("Lists|*.lis|All files|*.*"), (Filters{"Lists (*.lis)", "All files (*.*)"}));
  EXPECT_EQ(view::qtFilters(""), (Filters{"(*)"}));
  EXPECT_EQ(view::qtFilters("Broken|"), (Filters{"(*)"}));
}

TEST(MessageBox, OffersJapaneseButtonsAndAnswersWithTheOneClicked) {
  testApp();
  using platform::MsgButtons;
  using platform::MsgResult;
  auto captions = [](MsgButtons b) {
    std::vector<std::string> out;
    for (const auto& [result, caption] : view::messageButtons(b)) out.push_back(caption);
    return out;
  };
  EXPECT_EQ(captions(MsgButtons::YesNoCancel), (std::vector<std::string>{"はい", "いいえ", "キャンセル"}));
  EXPECT_EQ(captions(MsgButtons::OK), (std::vector<std::string>{"OK"}));

  view::QtDialogs dialogs;
  QString seenTitle, seenText;
  QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box || !box->isVisible()) continue;
      seenTitle = box->windowTitle();
      seenText = box->text();
      seenIcon = box->icon();
      for (QAbstractButton* b : box->buttons())
        if (b->text() == "いいえ") b->click();
    }
  });
  MsgResult answer = dialogs.messageBox({"現在の状態を保存しますか？", "", MsgButtons::YesNoCancel, platform::MsgIcon::Question});
  EXPECT_EQ(answer, MsgResult::No);
  EXPECT_EQ(seenTitle, "Velvox");
  EXPECT_EQ(seenText, "現在の状態を保存しますか？");
  EXPECT_EQ(seenIcon, QMessageBox::Question);
}

}  // namespace
}  // namespace vx::test
