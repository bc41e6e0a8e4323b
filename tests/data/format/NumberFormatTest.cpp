#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "data/ValueFormat.h"
#include "text/NumberFormat.h"
#include "text/UserLocale.h"

namespace {
class NumberFormatTest : public ::testing::Test {
 protected:
  void Use(const char* locale) { ASSERT_TRUE(SetUserNumericLocale(locale)) << locale; }
  void TearDown() override { SetUserNumericLocale(""); }
};

TEST_F(NumberFormatTest, SeparatorsOfEachLocale) {
  Use("it_IT.UTF-8");
  EXPECT_EQ(ThousandsSeparator(), '.');
  EXPECT_EQ(DecimalSeparator(), ',');
  Use("de_DE.UTF-8");
  EXPECT_EQ(ThousandsSeparator(), '.');
  EXPECT_EQ(DecimalSeparator(), ',');
  Use("C.UTF-8");
  EXPECT_EQ(ThousandsSeparator(), '\0');
  EXPECT_EQ(DecimalSeparator(), '.');
  EXPECT_EQ(ThousandsSeparatorText(), "");
}

TEST_F(NumberFormatTest, MultibyteSeparatorHasAPlainLookAlike) {
  Use("de_CH.UTF-8");
  EXPECT_EQ(ThousandsSeparatorText(), "\u2019");
  EXPECT_EQ(ThousandsSeparator(), '\'');
  EXPECT_EQ(DecimalSeparator(), '.');
}

TEST_F(NumberFormatTest, IntegersGroupedByTheLocale) {
  Use("it_IT.UTF-8");
  EXPECT_EQ(FormatIntegerGrouped(1234567), "1.234.567");
  EXPECT_EQ(FormatIntegerGrouped(0), "0");
  EXPECT_EQ(FormatIntegerGrouped(999), "999");
  EXPECT_EQ(FormatIntegerGrouped(1000), "1.000");
  EXPECT_EQ(FormatIntegerGrouped(-1000), "-1.000");
  EXPECT_EQ(FormatIntegerGrouped(-999), "-999");
  Use("de_CH.UTF-8");
  EXPECT_EQ(FormatIntegerGrouped(1234567), "1\u2019234\u2019567");
  Use("C.UTF-8");
  EXPECT_EQ(FormatIntegerGrouped(1234567), "1234567");
}

TEST_F(NumberFormatTest, IntegersAtThe64BitLimits) {
  Use("de_DE.UTF-8");
  EXPECT_EQ(FormatIntegerGrouped(std::numeric_limits<std::int64_t>::max()), "9.223.372.036.854.775.807");
  EXPECT_EQ(FormatIntegerGrouped(std::numeric_limits<std::int64_t>::min()), "-9.223.372.036.854.775.808");
  EXPECT_EQ(FormatIntegerGrouped(4294967296LL), "4.294.967.296");
}

TEST_F(NumberFormatTest, DoublesGroupedWithTheLocalesDecimalPoint) {
  Use("it_IT.UTF-8");
  EXPECT_EQ(FormatDoubleGrouped(1234.5, 2), "1.234,50");
  EXPECT_EQ(FormatDoubleGrouped(1234567.891, 2), "1.234.567,89");
  EXPECT_EQ(FormatDoubleGrouped(-1234.5, 1), "-1.234,5");
  EXPECT_EQ(FormatDoubleGrouped(1234.5, 0), "1.235");
  EXPECT_EQ(FormatDoubleGrouped(0.125, 3), "0,125");
  Use("de_CH.UTF-8");
  EXPECT_EQ(FormatDoubleGrouped(1234.5, 2), "1\u2019234.50");
  Use("C.UTF-8");
  EXPECT_EQ(FormatDoubleGrouped(1234.5, 2), "1234.50");
}

TEST_F(NumberFormatTest, DoublesBeyond32BitsAndSmallNegatives) {
  Use("it_IT.UTF-8");
  EXPECT_EQ(FormatDoubleGrouped(12345678901.25, 2), "12.345.678.901,25");
  EXPECT_EQ(FormatDoubleGrouped(-3000000000.5, 1), "-3.000.000.000,5");
  EXPECT_EQ(FormatDoubleGrouped(-0.5, 2), "-0,50");
  EXPECT_EQ(FormatDoubleGrouped(-0.001, 2), "0,00");
  EXPECT_EQ(FormatDoubleGrouped(-0.0, 2), "0,00");
  EXPECT_EQ(FormatDoubleGrouped(1e20, 0), "100.000.000.000.000.000.000");
}

TEST_F(NumberFormatTest, DoublesRoundHalfAwayFromZero) {
  Use("de_DE.UTF-8");
  EXPECT_EQ(FormatDoubleGrouped(0.125, 2), "0,13");
  EXPECT_EQ(FormatDoubleGrouped(2.675, 2), "2,68");
  EXPECT_EQ(FormatDoubleGrouped(-2.5, 0), "-3");
  EXPECT_EQ(FormatDoubleGrouped(999.995, 2), "1.000,00");
  EXPECT_EQ(FormatDoubleGrouped(1.5, -3), "2");
}

TEST_F(NumberFormatTest, DoublesBeyondAnExactDecimal) {
  Use("it_IT.UTF-8");
  const std::string text = FormatDoubleGrouped(1e40, 2);
  EXPECT_EQ(text.substr(0, 6), "10.000");
  EXPECT_EQ(text.substr(text.size() - 3), ",00");
  EXPECT_EQ(FormatDoubleGrouped(0.5, 45), "0," + std::string("5") + std::string(44, '0'));
}

TEST_F(NumberFormatTest, GroupingAgreesWithTheCLibrary) {
  for (const char* locale : {"it_IT.UTF-8", "de_DE.UTF-8", "de_CH.UTF-8", "C.UTF-8"}) {
    Use(locale);
    for (std::int64_t n : {std::int64_t{0}, std::int64_t{12}, std::int64_t{123}, std::int64_t{1234},
                           std::int64_t{-12345}, std::int64_t{123456}, std::int64_t{-1234567890123}}) {
      EXPECT_EQ(FormatIntegerGrouped(n), FormatStringUserLocale("%'lld", static_cast<long long>(n))) << locale;
    }
  }
}

TEST_F(NumberFormatTest, DoublesWithoutAValue) {
  Use("it_IT.UTF-8");
  EXPECT_EQ(FormatDoubleGrouped(std::numeric_limits<double>::quiet_NaN(), 2), "NaN");
  EXPECT_EQ(FormatDoubleGrouped(-std::numeric_limits<double>::infinity(), 2), "-Infinity");
  EXPECT_EQ(FormatDoubleGrouped(std::numeric_limits<double>::infinity(), 2), "Infinity");
}

TEST_F(NumberFormatTest, RemoveThousandsSeparator) {
  Use("it_IT.UTF-8");
  EXPECT_EQ(RemoveThousandsSeparator("1.234.567,5"), "1234567,5");
  Use("de_CH.UTF-8");
  EXPECT_EQ(RemoveThousandsSeparator("1\u2019234\u2019567.5"), "1234567.5");
  EXPECT_EQ(RemoveThousandsSeparator("1'234.5"), "1234.5");
  // Other characters of the multibyte separator's bytes are left whole.
  EXPECT_EQ(RemoveThousandsSeparator("\u2018x\u2019"), "\u2018x");
  Use("C.UTF-8");
  EXPECT_EQ(RemoveThousandsSeparator("1,234.5"), "1,234.5");
}

TEST_F(NumberFormatTest, FormattedRoundTripsThroughRemoval) {
  for (const char* locale : {"it_IT.UTF-8", "de_DE.UTF-8", "de_CH.UTF-8", "C.UTF-8"}) {
    Use(locale);
    EXPECT_EQ(RemoveThousandsSeparator(FormatIntegerGrouped(-9876543210LL)), "-9876543210") << locale;
  }
}

TEST_F(NumberFormatTest, FormatStringStaysInTheCLocale) {
  Use("it_IT.UTF-8");
  EXPECT_EQ(FormatString("%.2f", 1.5), "1.50");
  EXPECT_EQ(FormatStringUserLocale("%.2f", 1.5), "1,50");
  // And the user's locale does not leak into this thread afterwards.
  EXPECT_EQ(FormatString("%.1f", 2.5), "2.5");
}

TEST(FormatString, CutAt16383Characters) {
  const std::string longText(20000, 'y');
  EXPECT_EQ(FormatString("%s", longText.c_str()), std::string(16383, 'y'));
  EXPECT_EQ(FormatString("%d-%s", 7, "x"), "7-x");
  EXPECT_EQ(FormatString("%s", ""), "");
}
}  // namespace
