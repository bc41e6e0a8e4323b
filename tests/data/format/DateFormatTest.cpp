#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "data/VariantDate.h"

namespace {
// Dates are local; the tests pin the zone so that they mean the same everywhere.
class DateFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    hadTz_ = tz != nullptr;
    if (tz) oldTz_ = tz;
    setenv("TZ", "Europe/Rome", 1);
    tzset();
  }
  void TearDown() override {
    if (hadTz_)
      setenv("TZ", oldTz_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }
  static std::time_t Local(int year, int month, int day, int hour, int minute, int second) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    return mktime(&parts);
  }
  static ado::Variant Date(int year, int month, int day, int hour, int minute, int second) {
    SystemTime st;
    st.year = year;
    st.month = month;
    st.day = day;
    st.hour = hour;
    st.minute = minute;
    st.second = second;
    return SystemTimeToVariant(st);
  }

 private:
  bool hadTz_ = false;
  std::string oldTz_;
};

TEST_F(DateFormatTest, DayFirstDates) {
  const std::time_t t = Local(2007, 3, 5, 14, 7, 9);
  EXPECT_EQ(FormatDate(t, true, true, false), "05/03/07 14:07:09");
  EXPECT_EQ(FormatDate(t, true, false, true), "05/03/2007");
  EXPECT_EQ(FormatDate(t, true, true, true), "05/03/2007 14:07:09");
  EXPECT_EQ(FormatDate(t, false, false, true), "05/03");
  EXPECT_EQ(FormatDate(t, false, true, false), "05/03 14:07:09");
  EXPECT_EQ(FormatDate(Local(2000, 12, 31, 0, 0, 0), true, false, false), "31/12/00");
}

TEST_F(DateFormatTest, Times) {
  const std::time_t t = Local(2007, 3, 5, 4, 7, 9);
  EXPECT_EQ(FormatTime(t, true), "04:07:09");
  EXPECT_EQ(FormatTime(t, false), "04:07");
}

TEST_F(DateFormatTest, NoTimeGivesEmptyText) {
  EXPECT_EQ(FormatDate(0, true, true, true), "");
  EXPECT_EQ(FormatTime(0, true), "");
  // Beyond what a broken-down time can hold.
  EXPECT_EQ(FormatDate(std::numeric_limits<std::time_t>::max(), true, false, true), "");
}

TEST_F(DateFormatTest, VariantDateToLocalTime) {
  EXPECT_EQ(VariantDateToTime(Date(2007, 3, 5, 14, 7, 9)), Local(2007, 3, 5, 14, 7, 9));
  // Summer time is the runtime's to decide.
  EXPECT_EQ(VariantDateToTime(Date(2007, 7, 5, 14, 7, 9)), Local(2007, 7, 5, 14, 7, 9));
  EXPECT_EQ(FormatDate(VariantDateToTime(Date(2007, 7, 5, 14, 7, 9)), true, true, true), "05/07/2007 14:07:09");
  // Before 1970 is a date as well.
  EXPECT_EQ(FormatDate(VariantDateToTime(Date(1955, 11, 12, 22, 4, 0)), true, true, true), "12/11/1955 22:04:00");
}

TEST_F(DateFormatTest, NonDatesGiveNoTime) {
  EXPECT_EQ(VariantDateToTime(ado::Variant(39146.5)), 0);
  EXPECT_EQ(VariantDateToTime(ado::Variant::Null()), 0);
  EXPECT_EQ(VariantDateToTime(ado::Variant::Date(1e12)), 0);
}

TEST_F(DateFormatTest, SystemTimeRoundTrip) {
  const ado::Variant date = Date(2001, 2, 3, 4, 5, 6);
  EXPECT_EQ(date.vt(), ado::VT_DATE);
  const SystemTime st = VariantToSystemTime(date);
  EXPECT_EQ(st.year, 2001);
  EXPECT_EQ(st.month, 2);
  EXPECT_EQ(st.day, 3);
  EXPECT_EQ(st.dayOfWeek, 6);  // a Saturday
  EXPECT_EQ(st.hour, 4);
  EXPECT_EQ(st.minute, 5);
  EXPECT_EQ(st.second, 6);
  EXPECT_EQ(st.millisecond, 0);
}

TEST_F(DateFormatTest, SystemTimeOfNonDatesIsAllZero) {
  const SystemTime st = VariantToSystemTime(ado::Variant(std::int32_t{5}));
  EXPECT_EQ(st.year, 0);
  EXPECT_EQ(st.month, 0);
  EXPECT_EQ(st.day, 0);
  EXPECT_EQ(VariantToSystemTime(ado::Variant::Date(-1e9)).year, 0);
}

TEST_F(DateFormatTest, UnconvertibleSystemTimeGivesDayOne) {
  SystemTime bad;
  bad.year = 2001;
  bad.month = 13;
  bad.day = 1;
  const ado::Variant v = SystemTimeToVariant(bad);
  EXPECT_EQ(v.vt(), ado::VT_DATE);
  EXPECT_EQ(v.Real(), 1.0);
}
}  // namespace
