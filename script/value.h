#pragma once
// A value read from the running program, printed and compared the way scenarios see it:
// strings in double quotes, Booleans as True and False, numbers as the program holds them.
#include <string>

namespace vx::script {

class Value {
 public:
  enum class Kind { Text, Boolean, Integer, Real, Unavailable };

  static Value text(std::string s);
  static Value boolean(bool b);
  static Value integer(long long i);
  static Value real(double d);
  // An item the program cannot answer yet (a facility that is not present).
  static Value unavailable();

  Kind kind() const { return kind_; }
  const std::string& textValue() const { return text_; }
  bool booleanValue() const { return boolean_; }
  double number() const { return kind_ == Kind::Integer ? static_cast<double>(integer_) : real_; }

  // The value as `print` shows it.
  std::string print() const;

 private:
  explicit Value(Kind kind) : kind_(kind) {}

  Kind kind_;
  std::string text_;
  bool boolean_ = false;
  long long integer_ = 0;
  double real_ = 0;
};

// A double with up to 15 significant digits and no trailing zeros ("0.03", "2400", "1e-05").
std::string formatReal(double d);

// Text in double quotes, on one line: a quote or backslash inside gets a backslash before it,
// line feeds, returns and tabs are written \n, \r and \t.
std::string quote(const std::string& s);

// The expected side of an `expect`: the script's word and whether it was written in quotes.
struct Expected {
  std::string text;
  bool quoted = false;
};

// True when the value equals what the script expects. Text and Booleans compare as printed
// (quotes optional; True and False in any case); numbers compare numerically, equal within
// 1e-9 of the larger magnitude (or of 1 for magnitudes below 1), so that 0.03 matches a
// position of 1323 frames / 44100 however the division rounded.
bool matches(const Value& actual, const Expected& expected);

}  // namespace vx::script
