#include "text/DateScan.h"

#include <ctime>

#include "text/TextUtil.h"

namespace {
// Reads minDigits..maxDigits digits at `i`; `count` is how many there were.
bool ReadDigits(std::string_view t, std::size_t& i, int minDigits, int maxDigits, int& out, int& count) {
  int v = 0;
  count = 0;
  while (i < t.size() && count < maxDigits && t[i] >= '0' && t[i] <= '9') {
    v = v * 10 + (t[i] - '0');
    ++i;
    ++count;
  }
  out = v;
  return count >= minDigits;
}

bool ReadDigits(std::string_view t, std::size_t& i, int minDigits, int maxDigits, int& out) {
  int count = 0;
  return ReadDigits(t, i, minDigits, maxDigits, out, count);
}

bool Expect(std::string_view t, std::size_t& i, char c) {
  if (i >= t.size() || t[i] != c) return false;
  ++i;
  return true;
}

// "h[h]:m[m][:s[s][.f...]]" at `i`, which must reach the end of the text.
bool ReadTime(std::string_view t, std::size_t& i, ScannedDate& d) {
  DateParts& p = d.parts;
  if (!ReadDigits(t, i, 1, 2, p.hour) || !Expect(t, i, ':') || !ReadDigits(t, i, 1, 2, p.minute)) return false;
  d.hasTime = true;
  d.precision = DatePrecision::Minute;
  if (Expect(t, i, ':')) {
    if (!ReadDigits(t, i, 1, 2, p.second)) return false;
    d.precision = DatePrecision::Second;
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
      ++i;
      int ms = 0, count = 0;
      if (!ReadDigits(t, i, 1, 3, ms, count)) return false;
      for (; count < 3; ++count) ms *= 10;
      while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;  // finer digits are dropped
      p.millisecond = ms;
      d.precision = DatePrecision::Millisecond;
    }
  }
  return i == t.size();
}

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  return localtime_r(&now, &parts) ? 1900 + parts.tm_year : 2000;
}

// The date part at the start of `t`; `i` is left after it.
bool ReadDate(std::string_view t, std::size_t& i, ScannedDate& d) {
  DateParts& p = d.parts;
  int first = 0, digits = 0;
  if (!ReadDigits(t, i, 1, 4, first, digits)) return false;
  if (digits == 4) {
    d.form = DateForm::Iso;
    d.yearDigits = 4;
    p.year = first;
    return Expect(t, i, '-') && ReadDigits(t, i, 1, 2, p.month) && Expect(t, i, '-') && ReadDigits(t, i, 1, 2, p.day);
  }
  if (digits > 2 || i >= t.size()) return false;
  const char separator = t[i++];
  if (separator != '/' && separator != '.' && separator != '-') return false;
  p.day = first;
  if (!ReadDigits(t, i, 1, 2, p.month)) return false;
  if (!Expect(t, i, separator)) {
    d.form = DateForm::DayMonth;
    p.year = CurrentYear();
    return true;
  }
  d.form = DateForm::DayFirst;
  if (!ReadDigits(t, i, 1, 4, p.year, digits)) return false;
  d.yearDigits = digits;
  if (digits <= 2) p.year += p.year < 30 ? 2000 : 1900;
  return true;
}
}  // namespace

std::optional<ScannedDate> ScanDate(std::string_view text) {
  text = TrimBlanks(text);
  ScannedDate d;
  std::size_t i = 0;
  while (i < text.size() && i < 3 && text[i] >= '0' && text[i] <= '9') ++i;
  if (i > 0 && i < text.size() && text[i] == ':') {
    d.form = DateForm::TimeOnly;
    d.parts.year = 1899;
    d.parts.month = 12;
    d.parts.day = 30;
    i = 0;
    if (!ReadTime(text, i, d)) return std::nullopt;
  } else {
    i = 0;
    if (!ReadDate(text, i, d)) return std::nullopt;
    if (i < text.size()) {
      const std::size_t start = i;
      while (i < text.size() && (IsBlank(text[i]) || text[i] == 'T')) ++i;
      if (i == start || !ReadTime(text, i, d)) return std::nullopt;
    }
  }
  if (!PartsToOleDate(d.parts)) return std::nullopt;
  return d;
}

double ScannedOleDate(const ScannedDate& date) {
  return PartsToOleDate(date.parts).value_or(0.0);
}

std::optional<double> ParseIsoDateTime(std::string_view text) {
  const std::optional<ScannedDate> date = ScanDate(text);
  if (!date || (date->form != DateForm::Iso && date->form != DateForm::TimeOnly)) return std::nullopt;
  return ScannedOleDate(*date);
}
