// The window draws again only what changed in the models: an idle tick draws nothing, a changed
// label draws its own rectangle, a moved knob its old and new places, and a tick of a playing
// deck visits only the few controls it changed.
#include <QApplication>
#include <QPaintEvent>
#include <QScreen>
#include <algorithm>

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

TEST_F(RepaintTest, ATickOfAPlayingDeckVisitsOnlyTheControlsItChanged) {
  t.addSong(0, "/music/Deep Current.mp3");
  form::Picture& play = p.main.picture("Pause", 0);
  gui->run([&] {
    play.events.mouseDown({});
    play.events.mouseUp({});
  });
  t.player(0).state = platform::Playing;
  int most = 0, changedSome = 0;
  for (int i = 0; i < 40; ++i) {
    t.player(0).position += 0.03;
    gui->run([&] { p.main.timer("Timer1").tick(); });
    if (i < 3) continue;  // the press's own changes settle
    most = std::max(most, canvas().visited());
    changedSome += canvas().visited() > 0;
  }
  EXPECT_GT(changedSome, 0) << "the time display did not move";
  // The time display, the title that scrolls, a lamp: never the form's hundreds of controls.
  EXPECT_LE(most, 6);
  EXPECT_GT(static_cast<int>(p.main.controls().size()), 100);
}

// A time display's new digits go straight into the window's backing store: what reaches the
// screen there is what a whole repaint of the canvas draws, at the canvas's place in its window.
TEST_F(RepaintTest, DigitsPaintedStraightIntoTheWindowMatchAWholeRepaint) {
  QWidget& window = *canvas().window();
  const QPoint at = canvas().mapTo(&window, QPoint(0, 0));
  for (const char* time : {"00'01''500", "00'01''530", "00'01''560", "00'02''090"}) {
    p.main.label("text2", 0).setCaption(time);
    p.main.label("text2", 1).setCaption(time);
    settle();
  }
  EXPECT_GT(canvas().directPaints(), 0) << "the digits went through Qt's repaint";
  EXPECT_GT(log.paints, 0) << "the canvas's paint event was not sent";
  const QImage shown = window.screen()->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
  const QImage whole = grabCanvas();
  ASSERT_FALSE(shown.isNull());
  EXPECT_EQ(shown.copy(QRect(at, whole.size())), whole);
}

// The learning frames are looked for only when their serial moves: a frame lit later is drawn,
// and one put out is drawn away.
TEST_F(RepaintTest, ALearningFrameLitLaterIsDrawnAndPutOutAgain) {
  form::Control& lit = p.main.picture("Pause", 0);
  bool on = false;
  uint64_t serial = 0;
  canvas().setFrames({[&](const form::Control& c) { return on && &c == &lit ? 2 : 0; }, [&] { return serial; }});
  settle();
  const QRect r = canvas().drawnRect(lit).toAlignedRect();
  const QPoint edge(r.left() + 1, r.center().y());
  const QColor unlit = grabCanvas().pixelColor(edge);
  on = true;
  ++serial;
  settle();
  const QColor shown = grabCanvas().pixelColor(edge);
  EXPECT_GT(shown.red(), unlit.red() + 40) << "the frame was not drawn";
  on = false;
  ++serial;
  settle();
  EXPECT_EQ(grabCanvas().pixelColor(edge), unlit);
}

}  // namespace
}  // namespace vx::test
