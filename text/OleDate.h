#pragma once
// OLE automation dates: days since 30 December 1899 as a double, the fraction being the time of
// day (negative values count days back, the fraction still adding time).
#include <optional>
#include <string>

struct DateParts {
  int year = 0;
  int month = 0;
  int dayOfWeek = 0;  // 0 Sunday .. 6 Saturday
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The broken-down time of an automation date, rounded to the millisecond; empty when out of the
// range 1 January 100 .. 31 December 9999.
std::optional<DateParts> OleDateToParts(double date);
// The automation date of a broken-down time (day of week ignored); empty when a part is out of
// range.
std::optional<double> PartsToOleDate(const DateParts& parts);

// ISO-like texts: "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS[.fff]", "HH:MM:SS[.fff]"; they read back
// with ParseIsoDateTime (text/DateScan.h).
std::string FormatIsoDate(double date);
std::string FormatIsoDateTime(double date);  // fraction shown only when non-zero
std::string FormatIsoTime(double date);
