#include <langinfo.h>

#include <climits>
#include <cmath>
#include <optional>
#include <vector>

#include "data/NumberFormat.h"
#include "data/TextUtil.h"
#include "data/ValueFormat.h"
#include "data/ado/Decimal.h"
#include "data/ado/UserLocale.h"

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
  const std::string grouping = ado::UserGrouping();
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
}  // namespace

std::string ThousandsSeparatorText() {
  const char* text = nl_langinfo_l(THOUSEP, ado::UserNumericLocale());
  return text ? text : "";
}

std::string DecimalSeparatorText() {
  const char* text = nl_langinfo_l(RADIXCHAR, ado::UserNumericLocale());
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
  const std::optional<ado::Decimal> exact = ado::Decimal::FromDouble(value);
  const std::optional<ado::Decimal> rounded = exact ? exact->Rescaled(decimals) : std::nullopt;
  if (!rounded) {
    // More digits than an exact decimal holds: the C library rounds and groups.
    std::string text = FormatStringUserLocale("%'.*f", decimals, value);
    if (!text.empty() && text[0] == '-' && text.find_first_of("123456789") == std::string::npos) text.erase(0, 1);
    return text;
  }
  const std::string digits = rounded->ToString('.');
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
