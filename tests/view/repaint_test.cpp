// The window draws again only what changed in the models: an idle tick draws nothing, a changed
// label draws its own rectangle, a moved knob its old and new places.
#include <QApplication>
#include <QPaintEvent>

#include "tests/view/window_fixture.h"

namespace vx::test {
namespace {

// Records the regions the canvas paints.
class PaintLog : public QObject {
 public:
  QRegion painted;
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      painted += static_cast<QPaintEvent*>(e)->region();
      ++paints;
    }
    return false;
  }
};

class RepaintTest : public WindowFixture {
 protected:
  PaintLog log;
  void SetUp() override {
    WindowFixture::SetUp();
    showWith("orange");
    canvas().repaint();
    canvas().installEventFilter(&log);
    settle();
    log.painted = QRegion();
    log.paints = 0;
  }
  void TearDown() override {
    canvas().removeEventFilter(&log);
    WindowFixture::TearDown();
  }
  // Paints pending updates the way the event loop does.
  void paintPending() {
    settle();
    canvas().repaint(canvas().visibleRegion());
  }
};

TEST_F(RepaintTest, AnIdleTickDrawsNothing) {
  for (int i = 0; i < 5; ++i) {
    p.main.timer("Timer1").tick();
    settle();
  }
  EXPECT_EQ(log.paints, 0);
}

TEST_F(RepaintTest, AChangedLabelDrawsOnlyItsOwnRectangle) {
  form::Control& label = control("lbfilename", 1);
  QRect own = canvas().drawnRect(label).toAlignedRect().adjusted(-1, -1, 1, 1);
  p.main.label("lbfilename", 1).setCaption("CUE STAND BY!");
  settle();
  EXPECT_GT(log.paints, 0);
  EXPECT_TRUE(own.contains(log.painted.boundingRect())) << "painted " << log.painted.boundingRect().x() << ","
                                                         << log.painted.boundingRect().y();
}

TEST_F(RepaintTest, AMovedKnobDrawsItsOldAndNewPlaces) {
  form::Picture& knob = p.main.picture("pitchbtn", 0);
  QRect before = canvas().drawnRect(knob).toAlignedRect();
  knob.setTop(knob.top() + 300);
  settle();
  QRect after = canvas().drawnRect(knob).toAlignedRect();
  QRegion allowed = QRegion(before.adjusted(-1, -1, 1, 1)) + QRegion(after.adjusted(-1, -1, 1, 1));
  EXPECT_TRUE(log.painted.subtracted(allowed).isEmpty());
  EXPECT_TRUE(log.painted.contains(before.center()));
  EXPECT_TRUE(log.painted.contains(after.center()));
}

}  // namespace
}  // namespace vx::test
