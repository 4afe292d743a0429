#include "basic/convert.h"
#include "basic/version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <limits>

namespace vx::basic {
namespace {

struct NumberText {
    double value;
    const char* text;
};

TEST(Str, PrintsLikeClassicStr)
{
    const NumberText cases[] = {
        {205.4, " 205.4"}, {-1, "-1"}, {0, " 0"}, {-0.0, " 0"}, {0.5, " .5"}, {-0.25, "-.25"},
        {100, " 100"}, {12.034, " 12.034"},
        // 15 significant digits, trailing zeros dropped.
        {0.1 + 0.2, " .3"}, {2.0 / 3.0, " .666666666666667"},
        {123456789012345.0, " 123456789012345"}, {999999999999999.9, " 1E+15"},
        // Exponent below -4 or from 15 on.
        {1e16, " 1E+16"}, {-2.5e20, "-2.5E+20"}, {1e100, " 1E+100"}, {0.0000001, " 1E-07"},
        {0.00000015, " 1.5E-07"}, {0.0001, " .0001"}, {0.00001, " 1E-05"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(Str(value), text);
    EXPECT_EQ(CStr(0.75), ".75");
    EXPECT_EQ(CStr(-4.5), "-4.5");
}

TEST(Str, SingleKeepsSevenDigits)
{
    EXPECT_EQ(StrSingle(121.16667f), " 121.1667");
    EXPECT_EQ(StrSingle(0.1f), " .1");
    EXPECT_EQ(StrSingle(1234567.0f), " 1234567");
    EXPECT_EQ(StrSingle(10000000.0f), " 1E+07");
    // A tempo code as the pitch knob stores it, knob top 2700.
    EXPECT_EQ(StrSingle(((2700.0f - 2400.0f) / 3000.0f + 1.0f) * 100.0f), " 110");
}

TEST(Str, IgnoresProcessLocale)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(Str(205.4), " 205.4");
    EXPECT_EQ(Format(5.3, "00.0"), "05.3");
    EXPECT_DOUBLE_EQ(Val("12.5"), 12.5);
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(Val, ReadsTheLeadingNumber)
{
    const std::pair<const char*, double> cases[] = {
        {"  1 2.5abc", 12.5}, {"  12 34", 1234}, {"-1", -1}, {"\t- 3", -3}, {".5", 0.5},
        {"1.2.3", 1.2}, {"7-1", 7}, {"", 0}, {"abc", 0}, {"-", 0}, {".", 0},
        // Exponents, complete or not.
        {"1E3", 1000}, {"2.5d-2", 0.025}, {"1.5E-07", 1.5e-7}, {"4E", 4}, {"4E+x", 4},
        {"1e-400", 0}, {"1e400", std::numeric_limits<double>::infinity()},
        // Radix prefixes; 16- and 32-bit values read as signed.
        {"&H1F", 31}, {"&h1fz", 31}, {"&O17", 15}, {"&17", 15}, {"&O19", 1}, {"&H", 0},
        {"&HFFFF", -1}, {"&H10000", 65536}, {"&HFFFFFFFF", -1}};
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(Val(text), value) << '"' << text << '"';
}

TEST(Val, ReadsBackWhatStrWrote)
{
    for (const double v : {0.0, 1.0, -1.0, 205.4, 0.001, 123.456789, -0.25, 1e16, 1.5e-7})
        EXPECT_DOUBLE_EQ(Val(Str(v)), v) << Str(v);
}

TEST(Rounding, CIntRoundsHalvesToEvenAndOverflows)
{
    const std::pair<double, int> cases[] = {{2.5, 2},     {3.5, 4},   {-2.5, -2},
                                            {-3.5, -4},   {0.5, 0},   {2.5000001, 3},
                                            {-0.4, 0},    {32767.4, 32767}, {-32768.5, -32768}};
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(CInt(value), rounded) << value;
    for (const double v : {32767.5, -32768.6, 1e10, std::nan("")})
        EXPECT_THROW(CInt(v), OverflowError) << v;
    try {
        CInt(40000);
        FAIL() << "no overflow";
    } catch (const std::overflow_error& e) {
        EXPECT_STREQ(e.what(), "Overflow");
    }
}

TEST(Rounding, CLngCoversThirtyTwoBits)
{
    EXPECT_EQ(CLng(44100.0 * 12.5), 551250);
    EXPECT_EQ(CLng(100.5), 100);
    EXPECT_EQ(CLng(101.5), 102);
    EXPECT_EQ(CLng(-2147483648.0), std::numeric_limits<int32_t>::min());
    EXPECT_THROW(CLng(2147483647.5), OverflowError);
    EXPECT_THROW(CLng(-2147483649.0), OverflowError);
}

TEST(Rounding, IntFloorsAndFixTruncates)
{
    EXPECT_EQ(Int(-0.5), -1);
    EXPECT_EQ(Int(-2.5), -3);
    EXPECT_EQ(Int(2.9), 2);
    EXPECT_EQ(Fix(-2.5), -2);
    EXPECT_EQ(Fix(2.9), 2);
}

TEST(Format, PadsAndRoundsHalvesAwayFromZero)
{
    const std::tuple<double, const char*, const char*> cases[] = {
        {5.3, "00.0", "05.3"}, {0, "00.0", "00.0"}, {-12, "00.0", "-12.0"},
        {-5.3, "00.0", "-05.3"}, {3, "00", "03"}, {7, "000", "007"}, {125, "00", "125"},
        {0.25, ".00", ".25"}, {1e20, "0", "100000000000000000000"},
        {2.5, "0", "3"}, {3.5, "0", "4"}, {-2.5, "0", "-3"}, {0.05, "0.0", "0.1"},
        {9.96, "00.0", "10.0"}, {99.95, "00.0", "100.0"}, {0.4, "0", "0"},
        // Stored just below .285: the 15-digit value decides, as on the display.
        {0.285, "0.00", "0.29"},
        // No sign when nothing but zeros is shown.
        {-0.04, "0.0", "0.0"}, {-0.0, "00", "00"}};
    for (const auto& [value, pattern, text] : cases)
        EXPECT_EQ(Format(value, pattern), text) << value << " " << pattern;
    for (const char* pattern : {"", "#0", "0.0.0"})
        EXPECT_THROW(Format(1, pattern), std::invalid_argument) << pattern;
}

TEST(Parse, CBoolAcceptsWordsAndNumbers)
{
    const std::pair<const char*, bool> cases[] = {{"True", true}, {"FALSE", false},
                                                  {" true ", true}, {"-1", true},
                                                  {"0.5", true}, {"0", false}};
    for (const auto& [text, value] : cases) {
        bool ok = false;
        EXPECT_EQ(CBool(text, ok), value) << text;
        EXPECT_TRUE(ok) << text;
    }
    for (const char* text : {"", "yes", "1x", "Truee", "nan", "inf", "+-1"}) {
        bool ok = true;
        EXPECT_FALSE(CBool(text, ok)) << text;
        EXPECT_FALSE(ok) << text;
    }
    EXPECT_EQ(BoolText(true), "True");
    EXPECT_EQ(BoolText(false), "False");
}

TEST(Parse, ParseIntegerIsStrict)
{
    EXPECT_EQ(ParseInteger("12"), 12);
    EXPECT_EQ(ParseInteger(" -3 "), -3);
    EXPECT_EQ(ParseInteger("+7"), 7);
    EXPECT_EQ(ParseInteger("-9223372036854775808"), std::numeric_limits<long long>::min());
    for (const char* text : {"", " ", "x", "1x", "12.0", "-", "+-3", "1 2", "99999999999999999999"})
        EXPECT_FALSE(ParseInteger(text).has_value()) << text;
}

TEST(Version, IsMajorMinorRevision)
{
    const std::string v = versionText();
    EXPECT_EQ(std::count(v.begin(), v.end(), '.'), 2) << v;
    EXPECT_EQ(v.find_first_not_of("0123456789."), std::string::npos) << v;
    EXPECT_EQ(v.find(".."), std::string::npos) << v;
    EXPECT_TRUE(v.front() != '.' && v.back() != '.') << v;
}

}  // namespace
}  // namespace vx::basic
