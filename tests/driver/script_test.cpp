// The scenario language: words, quotes, environment variables and every command's arguments.
#include <gtest/gtest.h>

#include <map>

#include "script/script.h"

namespace vx::script {
namespace {

EnvLookup fakeEnv() {
  return [](const std::string& name) -> std::optional<std::string> {
    static const std::map<std::string, std::string> vars{{"MEDIA", "/m"}, {"EMPTY", ""}, {"SPACED", "a b"}};
    auto it = vars.find(name);
    if (it == vars.end()) return std::nullopt;
    return it->second;
  };
}

std::vector<std::string> texts(const std::string& line) {
  std::vector<std::string> out;
  for (const Word& w : splitWords(line, fakeEnv())) out.push_back(w.text);
  return out;
}

Command parse(const std::string& line) { return parseCommand(splitWords(line, fakeEnv())); }

TEST(ScriptWords, BlanksQuotesAndComments) {
  EXPECT_EQ(texts("  down\tPause(0)  "), (std::vector<std::string>{"down", "Pause(0)"}));
  EXPECT_EQ(texts("drop title1(0) \"/music/my song.mp3\" b.wav"),
            (std::vector<std::string>{"drop", "title1(0)", "/music/my song.mp3", "b.wav"}));
  EXPECT_TRUE(texts("# a comment").empty());
  EXPECT_TRUE(texts("   # indented comment").empty());
  EXPECT_TRUE(texts("").empty());
  // a # inside a line is text, not a comment
  EXPECT_EQ(texts("answer open /m/#1.wav"), (std::vector<std::string>{"answer", "open", "/m/#1.wav"}));
  auto words = splitWords("set x.text \"\"", fakeEnv());
  ASSERT_EQ(words.size(), 3u);
  EXPECT_TRUE(words[2].quoted);
  EXPECT_EQ(words[2].text, "");
}

TEST(ScriptWords, EscapesInsideQuotes) {
  EXPECT_EQ(texts(R"(x "say \"hi\"")")[1], "say \"hi\"");
  EXPECT_EQ(texts(R"(x "a\\b")")[1], "a\\b");
  EXPECT_EQ(texts(R"(x "l1\nl2\tt\r")")[1], "l1\nl2\tt\r");
  // an unknown escape keeps its backslash; outside quotes nothing is an escape
  EXPECT_EQ(texts(R"(x "C:\music")")[1], "C:\\music");
  EXPECT_EQ(texts(R"(x C:\n)")[1], "C:\\n");
}

TEST(ScriptWords, EnvironmentVariables) {
  EXPECT_EQ(texts("x $MEDIA/sine.wav")[1], "/m/sine.wav");
  EXPECT_EQ(texts("x ${MEDIA}x.wav")[1], "/mx.wav");
  EXPECT_EQ(texts("x \"$SPACED/c d\"")[1], "a b/c d");
  EXPECT_EQ(texts("x a$EMPTY.b")[1], "a.b");
  EXPECT_EQ(texts("x $$MEDIA")[1], "$MEDIA");
  EXPECT_EQ(texts("x 5$")[1], "5$");
  EXPECT_EQ(texts("x $-1")[1], "$-1");
  // an unquoted expansion stays one word even with blanks in it
  EXPECT_EQ(texts("x $SPACED").size(), 2u);
}

TEST(ScriptWords, MistakesAreReported) {
  for (const char* bad : {"x \"open", "x \"a\"b", "x $UNSET/a", "x ${MEDIA", "x ${}"})
    EXPECT_THROW(texts(bad), ScriptError) << bad;
}

TEST(ScriptCommands, MouseArguments) {
  Command c = parse("down Pause(0)");
  EXPECT_EQ(c.kind, CommandKind::Down);
  EXPECT_EQ(c.target, "Pause(0)");
  EXPECT_FALSE(c.mouse.x.has_value());
  EXPECT_EQ(c.mouse.button, form::MouseButton::Left);
  EXPECT_EQ(c.mouse.shift, 0);

  c = parse("up Volbtn(1) 120.5 -30 right shift ctrl");
  EXPECT_EQ(c.kind, CommandKind::Up);
  EXPECT_DOUBLE_EQ(*c.mouse.x, 120.5);
  EXPECT_DOUBLE_EQ(*c.mouse.y, -30);
  EXPECT_EQ(c.mouse.button, form::MouseButton::Right);
  EXPECT_EQ(c.mouse.shift, form::ShiftKey | form::CtrlKey);

  c = parse("down title1(0) shift middle");
  EXPECT_EQ(c.mouse.button, form::MouseButton::Middle);
  EXPECT_EQ(c.mouse.shift, form::ShiftKey);

  c = parse("move Faderbtn 10 20 none");
  EXPECT_EQ(c.mouse.button, form::MouseButton::None);

  // a move needs its point, X needs Y, one button at most, click takes no arguments
  for (const char* bad : {"move Faderbtn", "move Faderbtn 10", "down Pause(0) 10", "down Pause(0) left right",
                          "down Pause(0) sideways", "click", "click Pause(0) 10 10"})
    EXPECT_THROW(parse(bad), ScriptError) << bad;
}

TEST(ScriptCommands, KeysDropsAndMenus) {
  Command c = parse("key 49");
  EXPECT_EQ(c.kind, CommandKind::Key);
  EXPECT_EQ(c.key, 49);
  c = parse("keydown 16 shift alt");
  EXPECT_EQ(c.kind, CommandKind::KeyDown);
  EXPECT_EQ(c.shift, form::ShiftKey | form::AltKey);
  EXPECT_THROW(parse("key 256"), ScriptError);
  EXPECT_THROW(parse("key A"), ScriptError);
  EXPECT_THROW(parse("keyup 1.5"), ScriptError);

  c = parse("drop title1(1) shift /a.mp3 \"/b c.wav\"");
  EXPECT_EQ(c.kind, CommandKind::Drop);
  EXPECT_EQ(c.shift, form::ShiftKey);
  EXPECT_EQ(c.paths, (std::vector<std::string>{"/a.mp3", "/b c.wav"}));
  EXPECT_THROW(parse("drop title1(1) shift"), ScriptError);

  c = parse("menu openplayera");
  EXPECT_EQ(c.kind, CommandKind::Menu);
  EXPECT_EQ(c.target, "openplayera");
}

TEST(ScriptCommands, Answers) {
  Command c = parse("answer msgbox yes");
  EXPECT_EQ(c.answer.kind, DialogKind::MsgBox);
  EXPECT_EQ(c.answer.result, platform::MsgResult::Yes);
  EXPECT_THROW(parse("answer msgbox maybe"), ScriptError);

  c = parse("answer open cancel");
  EXPECT_TRUE(c.answer.cancel);
  // a file really named cancel is written in quotes
  c = parse("answer save \"cancel\"");
  EXPECT_FALSE(c.answer.cancel);
  EXPECT_EQ(c.answer.text, "cancel");

  c = parse("answer color &HFF8000");
  EXPECT_EQ(c.answer.color, 0xFF8000u);
  EXPECT_EQ(parse("answer color 255").answer.color, 255u);
  EXPECT_TRUE(parse("answer color cancel").answer.cancel);
  EXPECT_THROW(parse("answer color red"), ScriptError);
  EXPECT_THROW(parse("answer color 16777216"), ScriptError);

  EXPECT_TRUE(parse("answer popup none").answer.cancel);
  EXPECT_EQ(parse("answer popup mnuDelete0").answer.text, "mnuDelete0");
  EXPECT_THROW(parse("answer folder /x"), ScriptError);
  EXPECT_THROW(parse("answer open"), ScriptError);
}

TEST(ScriptCommands, SetTickPrintExpect) {
  Command c = parse("set config.gyap.text \"1 2\"");
  EXPECT_EQ(c.kind, CommandKind::Set);
  EXPECT_EQ(c.target, "config.gyap.text");
  EXPECT_EQ(c.value.text, "1 2");

  EXPECT_EQ(parse("tick").count, 1);
  EXPECT_EQ(parse("tick 250").count, 250);
  EXPECT_THROW(parse("tick -1"), ScriptError);
  EXPECT_THROW(parse("tick 2.5"), ScriptError);

  c = parse("expect text2(0).caption = \"CUE STAND BY!\"");
  EXPECT_EQ(c.kind, CommandKind::Expect);
  EXPECT_EQ(c.expected.text, "CUE STAND BY!");
  EXPECT_TRUE(c.expected.quoted);
  EXPECT_FALSE(parse("expect player(0).state = 2").expected.quoted);
  EXPECT_THROW(parse("expect lbfilename(0).caption = CUE STAND BY!"), ScriptError);
  EXPECT_THROW(parse("expect player(0).state 2"), ScriptError);
  EXPECT_THROW(parse("expect player(0).state == 2"), ScriptError);

  EXPECT_THROW(parse("print"), ScriptError);
  EXPECT_THROW(parse("press Pause(0)"), ScriptError);
  EXPECT_THROW(parse("\"tick\""), ScriptError);
}

}  // namespace
}  // namespace vx::script
