#pragma once
// Number <-> text conversions with the classic BASIC semantics the settings file, the list
// files and the displays depend on. All of them use "." as the decimal point whatever the
// process locale is.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vx::basic {

// Raised where classic BASIC raises its "Overflow" run-time error.
class OverflowError : public std::overflow_error {
public:
    OverflowError() : std::overflow_error("Overflow") {}
};

// Classic Str$ of a Double: a blank before non-negative values, "-" before negative ones,
// at most 15 significant digits, no trailing zeros, no leading 0 before the point
// (" .5", "-.25"). E notation when the decimal exponent is below -4 or at least 15
// (" 1E+16", " 1.5E-07"). Non-finite values give " Inf", "-Inf", " NaN".
std::string Str(double v);

// The same for a Single: at most 7 significant digits, E notation from 1E+07 on.
std::string StrSingle(float v);

// Str without the blank before non-negative values.
std::string CStr(double v);

// The number at the start of the text, as classic Val reads it: blanks, tabs and line feeds
// are ignored wherever they stand; then an optional sign, digits with at most one ".", an
// optional exponent (E or D); or "&H" hex / "&O" (or just "&") octal digits, where values that
// fit 16 or 32 bits are taken as two's complement (Val("&HFFFF") = -1). Reading stops at the
// first character that does not fit; text without a number gives 0.
double Val(std::string_view s);

// Round to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
// OverflowError when the result does not fit the type (also for NaN).
int16_t CInt(double v);
int32_t CLng(double v);

// Largest integer not above v (Int(-2.5) = -3).
double Int(double v);
// Integer part, toward zero (Fix(-2.5) = -2).
double Fix(double v);

// Fixed-point display of v. The pattern is a run of '0' optionally followed by "." and a run
// of '0' ("00", "000", "00.0", ".00"): the integer part is zero-padded to the count of
// integer zeros (never cut), the fraction has exactly the count of fraction zeros, and the
// value is rounded halves away from zero (Format(2.5, "0") = "3"). A negative value that
// does not round to zero gets "-" in front: Format(-5.3, "00.0") = "-05.3".
// std::invalid_argument for any other pattern.
std::string Format(double v, std::string_view pattern);

// Text to Boolean as the settings reader needs it: "True" / "False" in any case, or a number
// (non-zero is True), surrounding blanks allowed. ok is false, and the result false, when
// the text is neither.
bool CBool(std::string_view s, bool& ok);

// "True" or "False", the words Booleans are written as.
std::string BoolText(bool b);

// Strict decimal integer: surrounding blanks and tabs, an optional sign and digits only.
// nullopt for empty text, anything else ("1x", "12.0") and values outside long long.
std::optional<long long> ParseInteger(std::string_view s);

}  // namespace vx::basic
