#include "text/OleDate.h"

#include <cmath>
#include <cstdio>

namespace {
constexpr long long kMsPerDay = 86400000LL;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, int& y, int& m, int& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long yy = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yy + (m <= 2));
}

const long long kOleEpoch = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

}  // namespace

std::optional<DateParts> OleDateToParts(double date) {
  if (!std::isfinite(date) || date < -657434.0 || date >= 2958466.0) return std::nullopt;
  double whole = std::trunc(date);
  long long days = static_cast<long long>(whole);
  long long ms = std::llround(std::fabs(date - whole) * kMsPerDay);
  if (ms >= kMsPerDay) {
    ms -= kMsPerDay;
    days += 1;
  }
  DateParts p;
  long long civil = days + kOleEpoch;
  CivilFromDays(civil, p.year, p.month, p.day);
  if (p.year < 100 || p.year > 9999) return std::nullopt;
  p.dayOfWeek = static_cast<int>(((civil % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
  p.hour = static_cast<int>(ms / 3600000);
  p.minute = static_cast<int>(ms / 60000 % 60);
  p.second = static_cast<int>(ms / 1000 % 60);
  p.millisecond = static_cast<int>(ms % 1000);
  return p;
}

std::optional<double> PartsToOleDate(const DateParts& p) {
  if (p.year < 100 || p.year > 9999 || p.month < 1 || p.month > 12 || p.day < 1 ||
      p.day > DaysInMonth(p.year, p.month) || p.hour < 0 || p.hour > 23 || p.minute < 0 || p.minute > 59 ||
      p.second < 0 || p.second > 59 || p.millisecond < 0 || p.millisecond > 999)
    return std::nullopt;
  long long days = DaysFromCivil(p.year, static_cast<unsigned>(p.month), static_cast<unsigned>(p.day)) - kOleEpoch;
  double fraction =
      static_cast<double>(((p.hour * 60LL + p.minute) * 60 + p.second) * 1000 + p.millisecond) / kMsPerDay;
  return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

std::string FormatIsoDate(double date) {
  auto p = OleDateToParts(date);
  if (!p) return {};
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", p->year, p->month, p->day);
  return buffer;
}

std::string FormatIsoTime(double date) {
  auto p = OleDateToParts(date);
  if (!p) return {};
  char buffer[24];
  if (p->millisecond)
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%03d", p->hour, p->minute, p->second, p->millisecond);
  else
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", p->hour, p->minute, p->second);
  return buffer;
}

std::string FormatIsoDateTime(double date) {
  std::string d = FormatIsoDate(date);
  if (d.empty()) return d;
  return d + " " + FormatIsoTime(date);
}
