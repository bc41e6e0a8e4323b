#include "grid/db/GridCriteria.h"

#include <QDate>
#include <cstdlib>
#include <vector>

#include "data/NumberFormat.h"
#include "data/TextUtil.h"
#include "data/ValueFormat.h"
#include "grid/GridColumnDef.h"

namespace {

bool IsPlainIdentifier(const std::string& name) {
  if (name.empty()) return false;
  for (char c : name) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!plain) return false;
  }
  return true;
}

std::string Bracketed(const std::string& name) {
  std::string inner = name;
  ReplaceAll(inner, "]", "]]");
  return "[" + inner + "]";
}

// Reads 1..maxDigits digits at `pos`.
bool ReadNumber(const std::string& text, std::size_t& pos, std::size_t maxDigits, int& value, std::size_t& digits) {
  value = 0;
  digits = 0;
  while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++digits;
  }
  return digits > 0;
}

bool IsDateSeparator(char c) {
  return c == '/' || c == '.' || c == '-';
}

std::string IsoDate(int y, int m, int d) {
  return FormatString("%04d-%02d-%02d", y, m, d);
}
std::string DisplayDate(int y, int m, int d) {
  return FormatString("%02d/%02d/%04d", d, m, y);
}

std::string DateCondition(const std::string& name, const std::string& text, std::string& displayText) {
  std::vector<std::string> tokens;
  SplitTokens(text, " ,;", tokens);
  int y1 = 0, m1 = 0, d1 = 0, y2 = 0, m2 = 0, d2 = 0;
  const bool from = !tokens.empty() && ParseFilterDate(tokens[0], y1, m1, d1);
  const bool to = tokens.size() >= 2 && ParseFilterDate(tokens[1], y2, m2, d2);
  if (!from) {
    displayText.clear();
    return {};
  }
  if (to) {
    displayText = DisplayDate(y1, m1, d1) + " " + DisplayDate(y2, m2, d2);
    return FormatString("%s >= '%s' AND %s <= '%s 23:59:59'", name.c_str(), IsoDate(y1, m1, d1).c_str(), name.c_str(),
                        IsoDate(y2, m2, d2).c_str());
  }
  displayText = DisplayDate(y1, m1, d1);
  return FormatString("%s = '%s'", name.c_str(), IsoDate(y1, m1, d1).c_str());
}

}  // namespace

std::string FilterFieldName(const std::string& name) {
  return IsPlainIdentifier(name) ? name : Bracketed(name);
}

std::string SortCriteria(const std::string& fieldName, bool ascending) {
  return FormatString("%s %s", Bracketed(fieldName).c_str(), ascending ? "ASC" : "DESC");
}

bool ParseFilterDate(const std::string& token, int& year, int& month, int& day) {
  std::size_t pos = 0, digits = 0;
  int first = 0;
  if (!ReadNumber(token, pos, 4, first, digits)) return false;
  if (digits == 4) {
    // ISO: year-month-day.
    int y = first, m = 0, d = 0;
    if (pos >= token.size() || token[pos] != '-') return false;
    ++pos;
    if (!ReadNumber(token, pos, 2, m, digits) || pos >= token.size() || token[pos] != '-') return false;
    ++pos;
    if (!ReadNumber(token, pos, 2, d, digits) || pos != token.size()) return false;
    if (!QDate::isValid(y, m, d)) return false;
    year = y, month = m, day = d;
    return true;
  }
  if (digits > 2 || pos >= token.size() || !IsDateSeparator(token[pos])) return false;
  const char separator = token[pos++];
  int d = first, m = 0, y = QDate::currentDate().year();
  if (!ReadNumber(token, pos, 2, m, digits)) return false;
  if (pos < token.size()) {
    if (token[pos] != separator) return false;
    ++pos;
    if (!ReadNumber(token, pos, 4, y, digits) || pos != token.size()) return false;
    if (digits == 2)
      y += y < 30 ? 2000 : 1900;
    else if (digits != 4)
      return false;
  }
  if (y < 100 || !QDate::isValid(y, m, d)) return false;
  year = y, month = m, day = d;
  return true;
}

std::string FilterCondition(int kind, const std::string& fieldName, const std::string& text, std::string& displayText) {
  displayText = text;
  const std::string name = FilterFieldName(fieldName);
  switch (kind) {
    case gctText:
      return FormatString("%s like '%s%%'", name.c_str(), DoubleSingleQuotes(text).c_str());
    case gctInteger:
    case gctNumericEx:
      return name + "=" + RemoveThousandsSeparator(text);
    case gctCheckbox:
      return FormatString("%s%s0", name.c_str(), std::atol(text.c_str()) != 0 ? "<>" : "=");
    case gctDate:
      return DateCondition(name, text, displayText);
    default:
      return {};
  }
}
