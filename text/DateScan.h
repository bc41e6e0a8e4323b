#pragma once
// The one reader of dates and times written as text: typed by a user (grid cells, the grid's
// filter row, filter criteria, values converted to dates) or kept by a database as text. It
// reads every form below and says which one it found; each caller takes the forms that make
// sense where it reads.
#include <cstdint>
#include <optional>
#include <string_view>

#include "text/OleDate.h"

enum class DateForm : std::uint8_t {
  Iso,       // yyyy-m[m]-d[d]
  DayFirst,  // d[d]/m[m]/y[yyy], with '/', '.' or '-' (the same one twice)
  DayMonth,  // d[d]/m[m] with no year: the current year
  TimeOnly,  // a time of day alone, on 30 December 1899 (automation date 0)
};

// The finest unit written: a date alone stands for its whole day, "10:30" for a minute.
enum class DatePrecision : std::uint8_t { Day, Minute, Second, Millisecond };

struct ScannedDate {
  DateParts parts;  // day of week not set
  DateForm form = DateForm::Iso;
  int yearDigits = 0;  // as written; 0 for DayMonth and TimeOnly
  bool hasTime = false;
  DatePrecision precision = DatePrecision::Day;
};

// Blanks around the text are ignored. A date may be followed by a time after blanks or a 'T'.
// A time is h[h]:m[m], then optionally :s[s], then optionally '.' or ',' and fraction digits
// (kept to the millisecond, finer digits dropped). A year of one or two digits is in the window
// 1930..2029; three or four digits are the year as written. Refused: any other form, a year
// outside 100..9999, a day the month does not have, a time of day past 23:59:59.
std::optional<ScannedDate> ScanDate(std::string_view text);

// The automation date of a scanned date.
double ScannedOleDate(const ScannedDate& date);

// Dates as databases keep them in text columns: the ISO form or a time alone.
std::optional<double> ParseIsoDateTime(std::string_view text);
