#include "data/VariantText.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "data/ado/ComError.h"
#include "text/OleDate.h"
#include "text/UserLocale.h"

namespace {
double OleDate(int year, int month, int day, int hour, int minute, int second) {
  DateParts parts;
  parts.year = year;
  parts.month = month;
  parts.day = day;
  parts.hour = hour;
  parts.minute = minute;
  parts.second = second;
  return PartsToOleDate(parts).value();
}

class VariantTextTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetUserNumericLocale("C.UTF-8")); }
  void TearDown() override { SetUserNumericLocale(""); }
};

TEST_F(VariantTextTest, ValuesByType) {
  EXPECT_EQ(VariantToText(ado::Variant()), "NULL");
  EXPECT_EQ(VariantToText(ado::Variant::Null()), "NULL");
  EXPECT_EQ(VariantToText(ado::Variant(std::int16_t{-32768})), "-32768");
  EXPECT_EQ(VariantToText(ado::Variant(std::int32_t{-2147483647 - 1})), "-2147483648");
  EXPECT_EQ(VariantToText(ado::Variant(1.5)), "1.500000e+00");
  EXPECT_EQ(VariantToText(ado::Variant(-0.25f)), "-2.500000e-01");
  EXPECT_EQ(VariantToText(ado::Variant("Grüße")), "Grüße");
  EXPECT_EQ(VariantToText(ado::Variant(std::string())), "");
  EXPECT_EQ(VariantToText(ado::Variant(true)), "TRUE");
  EXPECT_EQ(VariantToText(ado::Variant(false)), "FALSE");
  EXPECT_EQ(VariantToText(ado::Variant(std::uint8_t{10})), "0x0A");
  EXPECT_EQ(VariantToText(ado::Variant(std::uint8_t{255})), "0xFF");
}

TEST_F(VariantTextTest, WiderIntegersShowTheirValue) {
  EXPECT_EQ(VariantToText(ado::Variant::SignedInt(ado::VT_I1, -128)), "-128");
  EXPECT_EQ(VariantToText(ado::Variant(std::int64_t{INT64_MIN})), "-9223372036854775808");
  EXPECT_EQ(VariantToText(ado::Variant::SignedInt(ado::VT_I8, INT64_MAX)), "9223372036854775807");
  EXPECT_EQ(VariantToText(ado::Variant::UnsignedInt(ado::VT_UI2, 65535)), "65535");
  EXPECT_EQ(VariantToText(ado::Variant::UnsignedInt(ado::VT_UI4, 4294967295u)), "4294967295");
  EXPECT_EQ(VariantToText(ado::Variant::UnsignedInt(ado::VT_UI8, UINT64_MAX)), "18446744073709551615");
}

TEST_F(VariantTextTest, CurrencyGoesThroughSinglePrecision) {
  EXPECT_EQ(VariantToText(ado::Variant::Currency(123400)), "1.234000e+01");
  // 16777217 has no single-precision form: it becomes 16777216.
  EXPECT_EQ(VariantToText(ado::Variant::Currency(167772170000)), "1.677722e+07");
}

TEST_F(VariantTextTest, DecimalIsShownAsA32BitInteger) {
  EXPECT_EQ(VariantToText(ado::Variant(*ado::Decimal::Parse("-42"))), "-42");
  EXPECT_EQ(VariantToText(ado::Variant(*ado::Decimal::Parse("2147483647"))), "2147483647");
  try {
    VariantToText(ado::Variant(*ado::Decimal::Parse("2147483648")));
    FAIL() << "a decimal beyond 32 bits must raise";
  } catch (const ado::ComError& e) {
    EXPECT_EQ(e.Error(), ado::DISP_E_OVERFLOW);
  }
}

TEST_F(VariantTextTest, FloatingValuesFollowTheUserLocale) {
  ASSERT_TRUE(SetUserNumericLocale("it_IT.UTF-8"));
  EXPECT_EQ(VariantToText(ado::Variant(1.5)), "1,500000e+00");
}

TEST_F(VariantTextTest, DateAsIsoText) {
  const ado::Variant date = ado::Variant::Date(OleDate(2001, 2, 3, 4, 5, 6));
  EXPECT_EQ(VariantToText(date), "20010203T040506");
  EXPECT_EQ(VariantDateToIsoText(date), "20010203T040506");
  EXPECT_EQ(VariantDateToIsoText(ado::Variant::Date(0.0)), "18991230T000000");
  EXPECT_EQ(VariantDateToIsoText(ado::Variant::Date(-1.5)), "18991229T120000");
  EXPECT_EQ(VariantDateToIsoText(ado::Variant::Date(1e12)), "");
  EXPECT_EQ(VariantDateToIsoText(ado::Variant(2.0)), "");
}

TEST_F(VariantTextTest, TypesWithoutAValueShowTheirName) {
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_DISPATCH)), "VT_DISPATCH");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_ERROR)), "VT_ERROR");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_UNKNOWN)), "VT_UNKNOWN");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_INT)), "VT_INT");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_HRESULT)), "VT_HRESULT");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_LPWSTR)), "VT_LPWSTR");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_FILETIME)), "VT_FILETIME");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_CLSID)), "VT_CLSID");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(15)), "<Unknown>");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(32)), "<Unknown>");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(73)), "<Unknown>");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(0x1003)), "<Unknown>");  // a vector of VT_I4
}

TEST_F(VariantTextTest, FlagsNameTheBaseType) {
  EXPECT_EQ(VariantToText(ado::Variant::Bytes(std::string("\x01\x02", 2))), "Array of VT_UI1");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_ARRAY | ado::VT_VARIANT)), "Array of VT_VARIANT");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_ARRAY | ado::VT_EMPTY)), "Array of VT_EMPTY");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_BYREF | ado::VT_I4)), "Pointer to VT_I4");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_ARRAY | ado::VT_BYREF | ado::VT_BSTR)),
            "Array of Pointer to VT_BSTR");
  // VT_DECIMAL and undefined base types add no name.
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_ARRAY | ado::VT_DECIMAL)), "Array of ");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_BYREF | 15)), "Pointer to ");
  EXPECT_EQ(VariantToText(ado::Variant::OfType(ado::VT_ARRAY | ado::VT_CLSID)), "Array of VT_CLSID");
}
}  // namespace
