#include "text/DateFormat.h"

#include <cstdio>

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
