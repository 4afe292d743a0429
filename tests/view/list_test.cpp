// The visible song lists: real list widgets that show the entries, select on a left press before
// the press is reported, open the pop-up menu on a right press, load on a double-click and take
// files dropped from a file manager.
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QtTest/QTest>

#include "tests/view/window_fixture.h"
#include "view/list_box_view.h"

namespace vx::test {
namespace {

class ListTest : public WindowFixture {
 protected:
  view::ListBoxView& list(int deck) { return *canvas().listView(control("title1", deck)); }
  QPoint rowCentre(int deck, int row) {
    view::ListBoxView& v = list(deck);
    return v.visualRect(v.model()->index(row, 0)).center();
  }
  void drop(int deck, const QStringList& paths, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QWidget* target = list(deck).viewport();
    QPointF at = QPointF(target->rect().center());
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &enter);
    QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(target, &event);
    settle();
  }
};

TEST_F(ListTest, DroppedFilesReachTheListAndShowInIt) {
  showWith("orange");
  drop(0, {"/music/a.mp3", "/music/b.txt", "/music/c.wav"});
  EXPECT_EQ(p.main.listBox("title1", 0).items(), (std::vector<std::string>{"a.mp3", "c.wav"}));
  EXPECT_EQ(list(0).model()->rowCount(), 2);
  EXPECT_EQ(list(0).model()->index(1, 0).data().toString(), "c.wav");
  EXPECT_EQ(list(0).currentIndex().row(), 1);
  EXPECT_EQ(t.player(0).fileName(), "/music/c.wav");
  EXPECT_EQ(list(1).model()->rowCount(), 0);
}

TEST_F(ListTest, ADropCarriesItsPathsAndTheShiftKey) {
  showWith("orange");
  std::vector<std::string> got;
  int shift = -1;
  p.main.listBox("title1", 1).events.dragDrop = [&](const std::vector<std::string>& paths, int s) {
    got = paths;
    shift = s;
  };
  drop(1, {"/music/folder/", "/music/x y.mp3"}, Qt::ShiftModifier);
  EXPECT_EQ(got, (std::vector<std::string>{"/music/folder", "/music/x y.mp3"}));
  EXPECT_EQ(shift, 1);
}

TEST_F(ListTest, ALeftPressSelectsTheEntryADoubleClickLoadsItARightPressOpensThePopUp) {
  for (const char* song : {"/music/one.mp3", "/music/two.mp3", "/music/three.mp3"}) t.addSong(0, song, false);
  showWith("orange");
  ASSERT_EQ(list(0).model()->rowCount(), 3);

  QTest::mouseClick(list(0).viewport(), Qt::LeftButton, {}, rowCentre(0, 1));
  settle();
  EXPECT_EQ(p.main.listBox("title1", 0).listIndex(), 1);
  EXPECT_EQ(p.main.listBox("List1", 0).listIndex(), 1);
  EXPECT_EQ(list(0).currentIndex().row(), 1);

  QTest::mouseDClick(list(0).viewport(), Qt::LeftButton, {}, rowCentre(0, 1));
  settle();
  EXPECT_EQ(t.player(0).fileName(), "/music/two.mp3");

  // A right press leaves the selection to the pop-up menu, then clears it.
  t.dialogs.popupAnswers.push_back("mnuDel0");
  QTest::mousePress(list(0).viewport(), Qt::RightButton, {}, rowCentre(0, 2));
  QTest::mouseRelease(list(0).viewport(), Qt::RightButton, {}, rowCentre(0, 2));
  settle();
  EXPECT_EQ(t.dialogs.count("popup"), 1);
  EXPECT_EQ(p.main.listBox("title1", 0).items(), (std::vector<std::string>{"one.mp3", "three.mp3"}));
  EXPECT_EQ(p.main.listBox("title1", 0).listIndex(), -1);
  EXPECT_FALSE(list(0).selectionModel()->hasSelection());
}

TEST_F(ListTest, ThousandsOfEntriesShowWithoutAWidgetPerEntry) {
  for (int i = 0; i < 5000; ++i) p.main.listBox("title1", 1).addItem("song " + std::to_string(i) + ".mp3");
  p.main.listBox("title1", 1).setListIndex(4999);
  showWith("orange");
  EXPECT_EQ(list(1).model()->rowCount(), 5000);
  EXPECT_EQ(list(1).currentIndex().row(), 4999);
  // The selected entry is scrolled into view.
  EXPECT_TRUE(list(1).viewport()->rect().intersects(list(1).visualRect(list(1).currentIndex())));
}

TEST_F(ListTest, OnlyTheVisibleListsAreWidgets) {
  showWith("orange");
  EXPECT_NE(canvas().listView(control("title1", 0)), nullptr);
  for (const char* hidden : {"List1", "tempolis", "vollis", "cuelis", "startlis", "endlis"})
    EXPECT_EQ(canvas().listView(control(hidden, 0)), nullptr) << hidden;
  EXPECT_EQ(canvas().listView(control("lstUse", 3)), nullptr);
}

}  // namespace
}  // namespace vx::test
