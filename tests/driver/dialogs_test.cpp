// Dialogs answered from the script: queues per kind, the answer that changes least, the
// line each dialog prints, and answers that do not fit.
#include <gtest/gtest.h>

#include <sstream>

#include "driver/scripted_dialogs.h"

namespace vx::driver {
namespace {

using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

Answer answer(DialogKind kind, std::string text = "", bool cancel = false) {
  Answer a;
  a.kind = kind;
  a.text = std::move(text);
  a.cancel = cancel;
  return a;
}

Answer msgbox(MsgResult r) {
  Answer a = answer(DialogKind::MsgBox);
  a.result = r;
  return a;
}

TEST(ScriptedDialogs, UnansweredBoxesTakeTheAnswerThatChangesLeast) {
  EXPECT_EQ(defaultAnswer(MsgButtons::OK), MsgResult::OK);
  EXPECT_EQ(defaultAnswer(MsgButtons::OKCancel), MsgResult::Cancel);
  EXPECT_EQ(defaultAnswer(MsgButtons::YesNoCancel), MsgResult::Cancel);
  EXPECT_EQ(defaultAnswer(MsgButtons::YesNo), MsgResult::No);
  EXPECT_EQ(defaultAnswer(MsgButtons::RetryCancel), MsgResult::Cancel);

  std::ostringstream out;
  ScriptedDialogs d(out);
  EXPECT_EQ(d.messageBox({"現在の状態を保存しますか？", "", MsgButtons::YesNo, MsgIcon::Question}), MsgResult::No);
  EXPECT_FALSE(d.openFile({}).has_value());
  EXPECT_FALSE(d.saveFile({}).has_value());
  EXPECT_FALSE(d.chooseColor(0).has_value());
  EXPECT_FALSE(d.popupMenu("mnuMove0", {"a"}).has_value());
}

TEST(ScriptedDialogs, EachKindHasItsOwnQueueInOrder) {
  std::ostringstream out;
  ScriptedDialogs d(out);
  d.queue(answer(DialogKind::Open, "/a.wav"), 1);
  d.queue(msgbox(MsgResult::Yes), 2);
  d.queue(answer(DialogKind::Open, "", true), 3);
  d.queue(answer(DialogKind::Save, "/list.lis"), 4);
  d.queue(answer(DialogKind::Open, "/b.wav"), 5);

  EXPECT_EQ(d.saveFile({}).value_or("?"), "/list.lis");
  EXPECT_EQ(d.openFile({}).value_or("?"), "/a.wav");
  EXPECT_FALSE(d.openFile({}).has_value());
  EXPECT_EQ(d.messageBox({"q", "t", MsgButtons::YesNoCancel, MsgIcon::Question}), MsgResult::Yes);
  EXPECT_EQ(d.openFile({}).value_or("?"), "/b.wav");
  EXPECT_TRUE(d.unusedAnswers().empty());
  EXPECT_TRUE(d.takeMisfits().empty());
}

TEST(ScriptedDialogs, EveryDialogPrintsOneLine) {
  std::ostringstream out;
  ScriptedDialogs d(out);
  d.messageBox({"このアプリケーションはすでに開かれています。", "APP Load Error", MsgButtons::OK, MsgIcon::Warning});
  d.queue(answer(DialogKind::Open, "/music/my song.mp3"), 1);
  platform::FileDialogSpec spec;
  spec.title = "Open music File ";
  spec.filter = "(*.mp3;)|*.mp3;";
  d.openFile(spec);
  d.saveFile(spec);
  Answer c = answer(DialogKind::Color);
  c.color = 0x0080FF;
  d.queue(c, 2);
  d.chooseColor(0xFFFFFF);
  d.queue(answer(DialogKind::Popup, "mnuDel"), 3);
  d.popupMenu("mnuMove0", {"mnuUp", "mnuDel"});
  d.messageBox({"line one\r\nline two", "", MsgButtons::YesNo, MsgIcon::Question});
  EXPECT_EQ(out.str(),
            "msgbox \"このアプリケーションはすでに開かれています。\" title=\"APP Load Error\" buttons=OK icon=warning -> ok\n"
            "open title=\"Open music File \" filter=\"(*.mp3;)|*.mp3;\" -> \"/music/my song.mp3\"\n"
            "save title=\"Open music File \" filter=\"(*.mp3;)|*.mp3;\" -> cancel\n"
            "color initial=&HFFFFFF -> &H0080FF\n"
            "popup mnuMove0 -> mnuDel\n"
            "msgbox \"line one\\r\\nline two\" title=\"\" buttons=YesNo icon=question -> no\n");
}

TEST(ScriptedDialogs, AnswersThatDoNotFitOrAreNeverUsedAreReported) {
  std::ostringstream out;
  ScriptedDialogs d(out);
  d.queue(msgbox(MsgResult::Yes), 7);
  // a box with only OK cannot be answered yes: it gets OK and the run is told
  EXPECT_EQ(d.messageBox({"x", "", MsgButtons::OK, MsgIcon::None}), MsgResult::OK);
  auto misfits = d.takeMisfits();
  ASSERT_EQ(misfits.size(), 1u);
  EXPECT_NE(misfits[0].find("line 7"), std::string::npos);
  EXPECT_TRUE(d.takeMisfits().empty());

  d.queue(answer(DialogKind::Popup, "mnuNope"), 8);
  EXPECT_FALSE(d.popupMenu("mnuMove1", {"mnuUp"}).has_value());
  EXPECT_EQ(d.takeMisfits().size(), 1u);

  d.queue(answer(DialogKind::Save, "/x.lis"), 9);
  auto unused = d.unusedAnswers();
  ASSERT_EQ(unused.size(), 1u);
  EXPECT_NE(unused[0].find("save"), std::string::npos);
  EXPECT_NE(unused[0].find("line 9"), std::string::npos);
}

}  // namespace
}  // namespace vx::driver
