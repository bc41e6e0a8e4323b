#pragma once
// An exact decimal number: a 128-bit magnitude with a decimal scale, enough for numeric(38,s).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ado {

struct Decimal {
  unsigned __int128 magnitude = 0;
  std::uint8_t scale = 0;  // digits after the decimal point, 0..38
  bool negative = false;

  static constexpr int kMaxDigits = 38;

  // Parses [+-]digits[.digits][e[+-]digits] with the given decimal point; blanks around are
  // allowed. Empty when the text is not a number or needs more than 38 significant digits.
  static std::optional<Decimal> Parse(std::string_view text, char point = '.');
  static Decimal FromInt64(std::int64_t value);
  static Decimal FromUInt64(std::uint64_t value);
  // The shortest decimal text that reads back as the same double; empty for NaN and infinities
  // and for values whose digits do not fit.
  static std::optional<Decimal> FromDouble(double value);

  // Plain digits, never an exponent: "-12.50" keeps its trailing zero (the scale is kept).
  std::string ToString(char point = '.') const;
  double ToDouble() const;
  // The integer part when it fits (fractions are rounded half away from zero).
  std::optional<std::int64_t> ToInt64() const;
  // Rounds (half away from zero) or extends to the given scale; empty on overflow.
  std::optional<Decimal> Rescaled(int newScale) const;
  bool IsZero() const { return magnitude == 0; }
  int Compare(const Decimal& other) const;  // by value: 1.50 equals 1.5
  bool operator==(const Decimal& other) const { return Compare(other) == 0; }
};

}  // namespace ado
