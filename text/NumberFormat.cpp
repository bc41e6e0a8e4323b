#include "text/NumberFormat.h"

#include <langinfo.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <optional>
#include <vector>

#include "text/StringFormat.h"
#include "text/TextUtil.h"
#include "text/UserLocale.h"

namespace {
char LookAlike(const std::string& separator) {
  if (separator.size() == 1) return separator[0];
  if (separator == "\u2019" || separator == "\u2018" || separator == "\u02BC") return '\'';
  if (separator == "\u00A0" || separator == "\u202F" || separator == "\u2009") return ' ';
  return '\0';
}

// Inserts the locale's separator into a run of digits by its grouping rules: group sizes from
// the right, the last one repeated, CHAR_MAX or a negative size ending the grouping.
std::string GroupDigits(const std::string& digits) {
  const std::string separator = ThousandsSeparatorText();
  const std::string grouping = UserGrouping();
  if (separator.empty()) return digits;
  std::vector<std::string> groups;
  std::size_t remaining = digits.size();
  std::size_t index = 0;
  int size = 0;
  for (;;) {
    if (index < grouping.size()) {
      const auto element = static_cast<signed char>(grouping[index++]);
      if (element == 0)
        index = grouping.size();  // the previous size repeats
      else if (element < 0 || element == CHAR_MAX)
        size = 0;
      else
        size = element;
    }
    if (size <= 0 || remaining <= static_cast<std::size_t>(size)) break;
    groups.push_back(digits.substr(remaining - static_cast<std::size_t>(size), static_cast<std::size_t>(size)));
    remaining -= static_cast<std::size_t>(size);
  }
  std::string text = digits.substr(0, remaining);
  for (auto group = groups.rbegin(); group != groups.rend(); ++group) text += separator + *group;
  return text;
}

// The value's shortest decimal text as digits and a count of them after the point, rounded half
// away from zero to `decimals`, as "-1234.50" (no grouping); empty when the digits would pass the
// 38 that an exact decimal of the database layer holds.
constexpr std::size_t kMaxExactDigits = 38;

std::optional<std::string> RoundShortest(double value, int decimals) {
  if (decimals > static_cast<int>(kMaxExactDigits)) return std::nullopt;
  char buffer[64];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value));
  if (ec != std::errc()) return std::nullopt;
  const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  const std::size_t e = text.find('e');
  const std::string_view mantissa = text.substr(0, e);
  int exponent = 0;
  if (e != std::string_view::npos) {
    const std::string_view power = text.substr(e + 1);
    std::from_chars(power.data() + (power[0] == '+' ? 1 : 0), power.data() + power.size(), exponent);
  }
  std::string digits;
  long scale = 0;
  const std::size_t point = mantissa.find('.');
  for (std::size_t i = 0; i < mantissa.size(); ++i) {
    if (i == point) continue;
    digits += mantissa[i];
    if (point != std::string_view::npos && i > point) ++scale;
  }
  scale -= exponent;
  if (scale < 0) {
    digits.append(static_cast<std::size_t>(-scale), '0');
    scale = 0;
  }
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.size() > kMaxExactDigits || scale > static_cast<long>(kMaxExactDigits)) return std::nullopt;
  if (scale < decimals) {
    digits.append(static_cast<std::size_t>(decimals - scale), '0');
  } else if (scale > decimals) {
    const std::size_t cut = static_cast<std::size_t>(scale - decimals);
    const bool up = cut <= digits.size() && digits[digits.size() - cut] >= '5';
    digits.resize(digits.size() > cut ? digits.size() - cut : 0);
    if (up) {
      std::size_t i = digits.size();
      while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
      if (i == 0)
        digits.insert(digits.begin(), '1');
      else
        ++digits[i - 1];
    }
  }
  if (digits.size() > kMaxExactDigits) return std::nullopt;
  const auto fraction = static_cast<std::size_t>(decimals);
  if (digits.size() <= fraction) digits.insert(0, fraction + 1 - digits.size(), '0');
  const bool zero = digits.find_first_not_of('0') == std::string::npos;
  std::string result = value < 0 && !zero ? "-" : "";
  result += digits.substr(0, digits.size() - fraction);
  if (fraction > 0) result += "." + digits.substr(digits.size() - fraction);
  return result;
}
}  // namespace

std::string ThousandsSeparatorText() {
  const char* text = nl_langinfo_l(THOUSEP, UserNumericLocale());
  return text ? text : "";
}

std::string DecimalSeparatorText() {
  const char* text = nl_langinfo_l(RADIXCHAR, UserNumericLocale());
  return text && *text ? text : ".";
}

char ThousandsSeparator() {
  return LookAlike(ThousandsSeparatorText());
}

char DecimalSeparator() {
  const char point = LookAlike(DecimalSeparatorText());
  return point ? point : '.';
}

std::string FormatIntegerGrouped(std::int64_t n) {
  // The magnitude as unsigned keeps the most negative value.
  const std::uint64_t magnitude = n < 0 ? 0u - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
  return (n < 0 ? "-" : "") + GroupDigits(std::to_string(magnitude));
}

std::string FormatDoubleGrouped(double value, int decimals) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (decimals < 0) decimals = 0;
  // Rounding the shortest decimal text of the value, half away from zero, shows 2.675 as 2.68
  // and 0.125 as 0.13, as a reader of the digits expects; the whole value is kept, beyond 32 bits
  // and with the sign of values between -1 and 0.
  const std::optional<std::string> rounded = RoundShortest(value, decimals);
  if (!rounded) {
    // More digits than an exact decimal holds: the C library rounds and groups.
    std::string text = FormatStringUserLocale("%'.*f", decimals, value);
    if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);
    return text;
  }
  const std::string& digits = *rounded;
  const bool negative = !digits.empty() && digits[0] == '-';
  const std::size_t start = negative ? 1 : 0;
  const std::size_t point = digits.find('.');
  std::string text = negative ? "-" : "";
  text += GroupDigits(digits.substr(start, point == std::string::npos ? std::string::npos : point - start));
  if (point != std::string::npos) text += DecimalSeparatorText() + digits.substr(point + 1);
  return text;
}

std::string RemoveThousandsSeparator(const std::string& text) {
  std::string result = text;
  const std::string separator = ThousandsSeparatorText();
  if (!separator.empty()) ReplaceAll(result, separator, "");
  const char lookAlike = ThousandsSeparator();
  if (lookAlike != '\0' && separator != std::string(1, lookAlike)) ReplaceAll(result, std::string(1, lookAlike), "");
  return result;
}
