#include <gtest/gtest.h>

#include "form/layout.h"
#include "form/mainform.h"

using namespace vx::form;

TEST(ControlRef, ParsesFormNameAndIndex) {
  ControlRef r;
  ASSERT_TRUE(parseControlRef("Pause(0)", r));
  EXPECT_EQ(r.form, "");
  EXPECT_EQ(r.name, "Pause");
  EXPECT_EQ(r.index, 0);
  ASSERT_TRUE(parseControlRef("frmEcho.sldFeedback", r));
  EXPECT_EQ(r.form, "frmEcho");
  EXPECT_EQ(r.name, "sldFeedback");
  EXPECT_EQ(r.index, -1);
  ASSERT_TRUE(parseControlRef("sampcfg.volume(12)", r));
  EXPECT_EQ(r.form, "sampcfg");
  EXPECT_EQ(r.index, 12);
  for (const char* bad : {"", "Pause(", "Pause()", "Pause(x)", "Pa use", "(1)", "a.b("})
    EXPECT_FALSE(parseControlRef(bad, r)) << bad;
}

TEST(ListBox, SelectionFollowsInsertAndRemove) {
  ListBox l("x", -1);
  for (auto s : {"a", "b", "c"}) l.addItem(s);
  EXPECT_EQ(l.listIndex(), -1);
  ASSERT_TRUE(l.setListIndex(1));
  EXPECT_FALSE(l.setListIndex(3));
  EXPECT_FALSE(l.setListIndex(-2));
  EXPECT_EQ(l.listIndex(), 1);
  l.insertItem(0, "z");  // above the selection: the same entry stays selected
  EXPECT_EQ(l.item(l.listIndex()), "b");
  l.removeItem(0);
  EXPECT_EQ(l.item(l.listIndex()), "b");
  l.removeItem(1);  // the selected entry itself
  EXPECT_EQ(l.listIndex(), -1);
  EXPECT_EQ(l.item(7), "");
  EXPECT_FALSE(l.setItem(7, "q"));
}

TEST(Control, EveryChangeBumpsTheRevisionOnlyWhenTheValueChanges) {
  Picture p("Pause", 0);
  auto r0 = p.revision();
  p.setPicture("play1.bmp");
  auto r1 = p.revision();
  EXPECT_GT(r1, r0);
  p.setPicture("play1.bmp");
  EXPECT_EQ(p.revision(), r1);
  p.setTop(p.top() + 10);
  EXPECT_GT(p.revision(), r1);
}

TEST(Form, ListsEachChangedControlOnceUntilTheWindowTakesThem) {
  Form f("test");
  Label& a = f.add<Label>("a");
  Picture& b = f.add<Picture>("b", 0);
  f.add<Label>("c");
  std::vector<Control*> taken{&a};  // what the window held before is dropped
  f.changes().take(taken);
  EXPECT_TRUE(taken.empty());

  uint64_t count = f.changes().count();
  b.setPicture("play2.bmp");
  a.setCaption("00'01''500");
  b.setTop(10);
  a.setCaption("00'01''500");  // no change, nothing listed
  EXPECT_EQ(f.changes().count(), count + 3);
  f.changes().take(taken);
  EXPECT_EQ(taken, (std::vector<Control*>{&b, &a}));
  EXPECT_TRUE(f.changes().empty());

  // Taken, a control is listed again at its next change.
  a.setCaption("00'01''530");
  f.changes().take(taken);
  EXPECT_EQ(taken, (std::vector<Control*>{&a}));
}

TEST(Layout, MainFormHoldsBothDecksAndTheDesignedState) {
  MainForm f;
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(f.picture("Pause", d).picture(), "play1.bmp");
    EXPECT_EQ(f.picture("Play", d).picture(), "cue1.bmp");
    EXPECT_EQ(f.label("modelabel", d).caption(), "CUE");
    EXPECT_EQ(f.label("text2", d).caption(), "- Velvox -");
    EXPECT_FALSE(f.listBox("List1", d).visible());
    EXPECT_TRUE(f.listBox("title1", d).visible());
  }
  EXPECT_EQ(f.picture("pitchbtn", 0).top(), 2400);
  EXPECT_EQ(f.picture("pitchbase", 1).left(), 9900);
  EXPECT_EQ(f.timer("Timer1").interval, 30);
  EXPECT_TRUE(f.menu("autoplay2").checked());
  EXPECT_FALSE(f.menu("temae").checked());
  EXPECT_EQ(f.menu("openplayerb").parent, "openfile1");
  EXPECT_EQ(f.find("Pause", 2), nullptr);
  EXPECT_THROW(f.label("Pause", 0), std::logic_error);  // a picture asked for as a label
}

TEST(Layout, MalformedLinesNameTheLine) {
  Form f("t");
  try {
    loadLayout(f, "# comment\nlabel a - 0 0 10 10 \"x\"\npicture b -\n");
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
  }
  Form g("t");
  EXPECT_THROW(loadLayout(g, "label a - 0 0 1 1\nlabel a - 0 0 1 1\n"), std::runtime_error);
  Form h("t");
  EXPECT_THROW(loadLayout(h, "label a - 0 0 1 1 \"unterminated\n"), std::runtime_error);
}
