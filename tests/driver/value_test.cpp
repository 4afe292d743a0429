// How values print and compare, and how item names are read.
#include <gtest/gtest.h>

#include "control/items.h"
#include "script/script.h"
#include "script/value.h"

namespace vx::driver {
using namespace vx::control;  // NOLINT
using namespace vx::script;   // NOLINT
namespace {

TEST(ValuePrint, EachKindAsScenariosSeeIt) {
  EXPECT_EQ(Value::text("CUE").print(), "\"CUE\"");
  EXPECT_EQ(Value::text("").print(), "\"\"");
  EXPECT_EQ(Value::boolean(true).print(), "True");
  EXPECT_EQ(Value::boolean(false).print(), "False");
  EXPECT_EQ(Value::integer(-10000).print(), "-10000");
  EXPECT_EQ(Value::unavailable().print(), "not available");
}

TEST(ValuePrint, RealsHaveFifteenDigitsAndNoTrailingZeros) {
  EXPECT_EQ(formatReal(2400), "2400");
  EXPECT_EQ(formatReal(1323.0 / 44100), "0.03");
  EXPECT_EQ(formatReal(0.1 + 0.2), "0.3");
  EXPECT_EQ(formatReal(205.4), "205.4");
  EXPECT_EQ(formatReal(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(formatReal(-0.0), "0");
  EXPECT_EQ(formatReal(-1), "-1");
  EXPECT_EQ(formatReal(0.00001), "1e-05");
}

TEST(ValuePrint, QuotingKeepsOneLine) {
  EXPECT_EQ(quote("say \"hi\""), R"("say \"hi\"")");
  EXPECT_EQ(quote("a\\b"), R"("a\\b")");
  EXPECT_EQ(quote("l1\r\nl2\t"), R"("l1\r\nl2\t")");
}

TEST(ValueMatch, TextAndBooleansAsPrinted) {
  EXPECT_TRUE(matches(Value::text("sine.wav"), {"sine.wav", false}));
  EXPECT_TRUE(matches(Value::text("CUE STAND BY!"), {"CUE STAND BY!", true}));
  EXPECT_FALSE(matches(Value::text("sine.wav"), {"Sine.wav", false}));
  EXPECT_FALSE(matches(Value::text(" 1.5"), {"1.5", false}));  // Str's blank counts
  EXPECT_TRUE(matches(Value::text(""), {"", true}));
  EXPECT_TRUE(matches(Value::boolean(true), {"True", false}));
  EXPECT_TRUE(matches(Value::boolean(false), {"false", false}));
  EXPECT_FALSE(matches(Value::boolean(true), {"-1", false}));
  EXPECT_FALSE(matches(Value::boolean(false), {"True", false}));
}

TEST(ValueMatch, NumbersWithinTolerance) {
  EXPECT_TRUE(matches(Value::real(1323.0 / 44100 * 100), {"3", false}));
  EXPECT_TRUE(matches(Value::real(0.1 + 0.2), {"0.3", false}));
  EXPECT_TRUE(matches(Value::integer(2), {"2", false}));
  EXPECT_TRUE(matches(Value::integer(2), {"2.0", false}));
  EXPECT_TRUE(matches(Value::real(1e12 + 1), {"1e12", false}));   // relative for large values
  EXPECT_FALSE(matches(Value::real(3.001), {"3", false}));
  EXPECT_FALSE(matches(Value::real(0), {"0.000001", false}));
  EXPECT_FALSE(matches(Value::real(-1), {"1", false}));
  EXPECT_FALSE(matches(Value::integer(2), {"2x", false}));
  EXPECT_FALSE(matches(Value::integer(0), {"", true}));
  EXPECT_FALSE(matches(Value::integer(0), {"zero", false}));
}

TEST(ValueMatch, UnavailableOnlyMatchesItsWords) {
  EXPECT_TRUE(matches(Value::unavailable(), {"not available", true}));
  EXPECT_FALSE(matches(Value::unavailable(), {"0", false}));
}

TEST(ItemNames, ControlsWindowsAndListEntries) {
  ItemRef i = parseItem("title1(0).list(2)");
  EXPECT_EQ(i.kind, ItemRef::Kind::Control);
  EXPECT_EQ(i.control.name, "title1");
  EXPECT_EQ(i.control.index, 0);
  EXPECT_EQ(i.property, "list");
  EXPECT_EQ(i.element, 2);

  i = parseItem("config.gyap.value");
  EXPECT_EQ(i.control.form, "config");
  EXPECT_EQ(i.control.name, "gyap");
  EXPECT_EQ(i.property, "value");

  i = parseItem("sampcfg.volume(3).value");
  EXPECT_EQ(i.control.form, "sampcfg");
  EXPECT_EQ(i.control.index, 3);

  i = parseItem("MainForm.caption");
  EXPECT_EQ(i.control.name, "MainForm");
  EXPECT_EQ(i.property, "caption");
}

TEST(ItemNames, ProgramPartsByName) {
  ItemRef i = parseItem("@faderCurve(3)");
  EXPECT_EQ(i.kind, ItemRef::Kind::Variable);
  EXPECT_EQ(i.name, "faderCurve");
  EXPECT_EQ(i.index, 3);
  EXPECT_EQ(parseItem("@gapTime").index, -1);

  i = parseItem("player(1).selstart");
  EXPECT_EQ(i.kind, ItemRef::Kind::Player);
  EXPECT_EQ(i.index, 1);
  EXPECT_EQ(i.property, "selstart");
  EXPECT_EQ(parseItem("monitor.samplerate").kind, ItemRef::Kind::Monitor);
  EXPECT_EQ(parseItem("slot(7).status").kind, ItemRef::Kind::Slot);
  EXPECT_EQ(parseItem("recorder.commands").kind, ItemRef::Kind::Recorder);
  EXPECT_EQ(parseItem("settings.path").kind, ItemRef::Kind::Settings);
}

TEST(ItemNames, MalformedItemsAreScriptErrors) {
  for (const char* bad : {"Pause(0)", "@", "@x(", "@x(a)", ".caption", "Pause(0).", "Pause(0.caption",
                          "a.b.c.d", "title1(0).list(x)", "text2(0).caption extra"}) {
    EXPECT_THROW(parseItem(bad), ScriptError) << bad;
  }
}

}  // namespace
}  // namespace vx::driver
