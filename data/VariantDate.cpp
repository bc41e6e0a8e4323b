#include "data/VariantDate.h"

#include <ctime>

std::time_t VariantDateToTime(const ado::Variant& v) {
  if (v.vt() != ado::VT_DATE) return 0;
  const std::optional<DateParts> date = OleDateToParts(v.Real());
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
  return OleDateToParts(v.Real()).value_or(SystemTime{});
}

ado::Variant SystemTimeToVariant(const SystemTime& st) {
  // A time that cannot be converted still gives a date, 1.0, as callers expect a date variant.
  return ado::Variant::Date(PartsToOleDate(st).value_or(1.0));
}
