#include <cstdio>

#include "data/DateFormat.h"

namespace {
bool LocalParts(std::time_t time, std::tm& parts) {
  return time != 0 && localtime_r(&time, &parts) != nullptr;
}

std::string TimeText(const std::tm& parts, bool withSeconds) {
  char buffer[48];
  if (withSeconds)
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", parts.tm_hour, parts.tm_min, parts.tm_sec);
  else
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", parts.tm_hour, parts.tm_min);
  return buffer;
}
}  // namespace

std::string FormatTime(std::time_t time, bool withSeconds) {
  std::tm parts{};
  if (!LocalParts(time, parts)) return {};
  return TimeText(parts, withSeconds);
}

std::string FormatDate(std::time_t time, bool withYear, bool withTime, bool fourDigitYear) {
  std::tm parts{};
  if (!LocalParts(time, parts)) return {};
  const long year = 1900L + parts.tm_year;
  char buffer[64];
  if (!withYear)
    std::snprintf(buffer, sizeof buffer, "%02d/%02d", parts.tm_mday, parts.tm_mon + 1);
  else if (fourDigitYear)
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04ld", parts.tm_mday, parts.tm_mon + 1, year);
  else
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02ld", parts.tm_mday, parts.tm_mon + 1, (year % 100 + 100) % 100);
  std::string text = buffer;
  if (withTime) text += " " + TimeText(parts, true);
  return text;
}

std::time_t VariantDateToTime(const ado::Variant& v) {
  if (v.vt() != ado::VT_DATE) return 0;
  const std::optional<ado::DateParts> date = ado::OleDateToParts(v.Real());
  if (!date) return 0;
  std::tm parts{};
  parts.tm_year = date->year - 1900;
  parts.tm_mon = date->month - 1;
  parts.tm_mday = date->day;
  parts.tm_hour = date->hour;
  parts.tm_min = date->minute;
  parts.tm_sec = date->second;
  parts.tm_isdst = -1;
  // -1 is also a real second; mktime fills in the day of the week only when it succeeds.
  parts.tm_wday = -1;
  const std::time_t time = mktime(&parts);
  if (time == static_cast<std::time_t>(-1) && parts.tm_wday == -1) return 0;
  return time;
}

SystemTime VariantToSystemTime(const ado::Variant& v) {
  if (v.vt() != ado::VT_DATE) return {};
  return ado::OleDateToParts(v.Real()).value_or(SystemTime{});
}

ado::Variant SystemTimeToVariant(const SystemTime& st) {
  // A time that cannot be converted still gives a date, 1.0, as callers expect a date variant.
  return ado::Variant::Date(ado::PartsToOleDate(st).value_or(1.0));
}
