// The one date scanner: every form it reads, what it makes of each, and what it refuses.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <tuple>

#include "text/DateScan.h"

namespace {

struct Accepted {
  const char* text;
  DateForm form;
  int year, month, day, hour, minute, second, millisecond;
  DatePrecision precision;
};

std::string Describe(const ScannedDate& d) {
  const DateParts& p = d.parts;
  return std::to_string(p.year) + "-" + std::to_string(p.month) + "-" + std::to_string(p.day) + " " +
         std::to_string(p.hour) + ":" + std::to_string(p.minute) + ":" + std::to_string(p.second) + "." +
         std::to_string(p.millisecond) + " form " + std::to_string(static_cast<int>(d.form)) + " precision " +
         std::to_string(static_cast<int>(d.precision));
}

int ThisYear() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return 1900 + parts.tm_year;
}

}  // namespace

TEST(DateScan, ReadsEveryForm) {
  using F = DateForm;
  using P = DatePrecision;
  const Accepted cases[] = {
      // ISO, with one- or two-digit month and day, a time after a blank or a 'T'.
      {"2003-02-01", F::Iso, 2003, 2, 1, 0, 0, 0, 0, P::Day},
      {"2003-2-1", F::Iso, 2003, 2, 1, 0, 0, 0, 0, P::Day},
      {"  2024-02-29\t", F::Iso, 2024, 2, 29, 0, 0, 0, 0, P::Day},
      {"2003-02-01 10:30", F::Iso, 2003, 2, 1, 10, 30, 0, 0, P::Minute},
      {"2003-02-01T10:30:05", F::Iso, 2003, 2, 1, 10, 30, 5, 0, P::Second},
      {"2003-02-01  T 10:30:05", F::Iso, 2003, 2, 1, 10, 30, 5, 0, P::Second},
      {"2003-02-01 23:59:59.2", F::Iso, 2003, 2, 1, 23, 59, 59, 200, P::Millisecond},
      {"2003-02-01 07:08:09,25", F::Iso, 2003, 2, 1, 7, 8, 9, 250, P::Millisecond},
      {"2003-02-01 07:08:09.123456789", F::Iso, 2003, 2, 1, 7, 8, 9, 123, P::Millisecond},
      {"0100-01-01", F::Iso, 100, 1, 1, 0, 0, 0, 0, P::Day},
      {"9999-12-31 23:59:59", F::Iso, 9999, 12, 31, 23, 59, 59, 0, P::Second},
      // Day first: '/', '.' or '-', the year of four, three, two or one digits.
      {"01/02/2003", F::DayFirst, 2003, 2, 1, 0, 0, 0, 0, P::Day},
      {"1.2.2003", F::DayFirst, 2003, 2, 1, 0, 0, 0, 0, P::Day},
      {"5-2-2003", F::DayFirst, 2003, 2, 5, 0, 0, 0, 0, P::Day},
      {"21/04/0753", F::DayFirst, 753, 4, 21, 0, 0, 0, 0, P::Day},
      {"1/2/203", F::DayFirst, 203, 2, 1, 0, 0, 0, 0, P::Day},
      {"1/1/29", F::DayFirst, 2029, 1, 1, 0, 0, 0, 0, P::Day},
      {"1/1/30", F::DayFirst, 1930, 1, 1, 0, 0, 0, 0, P::Day},
      {"1/1/5", F::DayFirst, 2005, 1, 1, 0, 0, 0, 0, P::Day},
      {"01/02/2003 1:2:3", F::DayFirst, 2003, 2, 1, 1, 2, 3, 0, P::Second},
      {"01/02/2003   10:00", F::DayFirst, 2003, 2, 1, 10, 0, 0, 0, P::Minute},
      // Day and month alone: this year.
      {"3/4", F::DayMonth, ThisYear(), 4, 3, 0, 0, 0, 0, P::Day},
      // A time alone, on day 0 of the automation dates.
      {"10:30", F::TimeOnly, 1899, 12, 30, 10, 30, 0, 0, P::Minute},
      {"9:5:7", F::TimeOnly, 1899, 12, 30, 9, 5, 7, 0, P::Second},
      {"07:08:09.25", F::TimeOnly, 1899, 12, 30, 7, 8, 9, 250, P::Millisecond},
  };
  for (const Accepted& c : cases) {
    const std::optional<ScannedDate> d = ScanDate(c.text);
    ASSERT_TRUE(d.has_value()) << c.text;
    const DateParts& p = d->parts;
    EXPECT_EQ(std::tie(p.year, p.month, p.day, p.hour, p.minute, p.second, p.millisecond),
              std::tie(c.year, c.month, c.day, c.hour, c.minute, c.second, c.millisecond))
        << c.text << " read as " << Describe(*d);
    EXPECT_EQ(d->form, c.form) << c.text;
    EXPECT_EQ(d->precision, c.precision) << c.text;
    EXPECT_EQ(d->hasTime, c.precision != P::Day) << c.text;
  }
  EXPECT_EQ(ScanDate("1/2/203")->yearDigits, 3);
  EXPECT_EQ(ScanDate("1/2/03")->yearDigits, 2);
  EXPECT_EQ(ScanDate("2003-02-01")->yearDigits, 4);
}

TEST(DateScan, RefusesWhatIsNotARealDateOrTime) {
  for (const char* text : {"",
                           "   ",
                           "12",
                           "2003",
                           "2003-02",
                           "2003-02-",
                           "2003/02/01",
                           "2003.02.01",
                           "20031-02-01",
                           "2003-2-1x",
                           "1/2-2003",
                           "1/2/",
                           "1/2/20031",
                           "123/4/2003",
                           "1//2003",
                           "29/02/2003",
                           "31/04/2003",
                           "2003-13-01",
                           "2003-00-10",
                           "0/1/2003",
                           "1/2/0050",
                           "2003-02-01 ",
                           "2003-02-01 24:00",
                           "2003-02-01 10:60",
                           "2003-02-01 10:00:60",
                           "2003-02-01 10",
                           "2003-02-01 10:",
                           "2003-02-01 10:00:",
                           "2003-02-01 10:00:00.",
                           "2003-02-0110:00",
                           "2003-02-01 10:00 PM",
                           "10",
                           "10:",
                           ":30",
                           "123:45",
                           "25:00",
                           "10:30 x",
                           "+1/2/2003",
                           "1/ 2/2003",
                           "01/02/2003 10:00:00.5x",
                           "10000-01-01"}) {
    const std::string shown = std::string("'") + text + "'";
    if (std::string(text) == "2003-02-01 ") {
      EXPECT_TRUE(ScanDate(text).has_value()) << "trailing blanks are trimmed";
      continue;
    }
    EXPECT_FALSE(ScanDate(text).has_value()) << shown << " read as " << Describe(*ScanDate(text));
  }
}

TEST(DateScan, AutomationDatesAndStoredText) {
  EXPECT_DOUBLE_EQ(ScannedOleDate(*ScanDate("1899-12-30")), 0.0);
  EXPECT_DOUBLE_EQ(ScannedOleDate(*ScanDate("31/12/1899 12:00")), 1.5);
  EXPECT_DOUBLE_EQ(ScannedOleDate(*ScanDate("18:00")), 0.75);
  // Before 1900 the fraction still adds time to a negative day.
  EXPECT_DOUBLE_EQ(ScannedOleDate(*ScanDate("1899-12-29 12:00")), -1.5);
  // Stored text: ISO and a time alone only; day-first text stays text.
  EXPECT_DOUBLE_EQ(ParseIsoDateTime("2003-02-01 06:00").value(), 37653.25);
  EXPECT_DOUBLE_EQ(ParseIsoDateTime("06:00").value(), 0.25);
  EXPECT_FALSE(ParseIsoDateTime("01/02/2003").has_value());
  EXPECT_FALSE(ParseIsoDateTime("1/2").has_value());
}
