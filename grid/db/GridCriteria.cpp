#include "grid/db/GridCriteria.h"

#include <cstdlib>
#include <vector>

#include "grid/GridColumnDef.h"
#include "text/DateScan.h"
#include "text/NumberFormat.h"
#include "text/StringFormat.h"
#include "text/TextUtil.h"

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
  // A date of the filter row: a day and month alone mean this year; a year has two or four
  // digits; a time has no place here.
  const std::optional<ScannedDate> scanned = ScanDate(token);
  if (!scanned || scanned->hasTime || scanned->form == DateForm::TimeOnly) return false;
  if (scanned->form == DateForm::DayFirst && scanned->yearDigits != 2 && scanned->yearDigits != 4) return false;
  year = scanned->parts.year;
  month = scanned->parts.month;
  day = scanned->parts.day;
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
