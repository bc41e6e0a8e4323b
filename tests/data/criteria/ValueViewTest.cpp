#include "data/ado/ValueView.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// What the row store hands out must come back as the variant it was made from.
TEST(ValueView, RoundTripsEveryStoredType) {
  const std::vector<ado::Variant> values = {
      ado::Variant(),
      ado::Variant::Null(),
      ado::Variant(std::int16_t{-7}),
      ado::Variant(std::int32_t{123456}),
      ado::Variant(std::int64_t{-9007199254740993}),
      ado::Variant::SignedInt(ado::VT_I1, -5),
      ado::Variant(std::uint8_t{200}),
      ado::Variant::UnsignedInt(ado::VT_UI2, 65535),
      ado::Variant::UnsignedInt(ado::VT_UI4, 4000000000u),
      ado::Variant::UnsignedInt(ado::VT_UI8, 18446744073709551615ull),
      ado::Variant(1.25f),
      ado::Variant(-2.5e300),
      ado::Variant::Date(37653.5),
      ado::Variant::Currency(-123456789),
      ado::Variant(true),
      ado::Variant(*ado::Decimal::Parse("-12345678901234567890.123")),
      ado::Variant("Zoë"),
      ado::Variant::Bytes(std::string("\0\x01\xff", 3)),
  };
  for (const ado::Variant& v : values) EXPECT_EQ(ado::ValueView::Of(v).ToVariant(), v) << "type " << v.vt();
}

TEST(ValueView, ViewsTheTextWithoutCopying) {
  const ado::Variant text("hello");
  const ado::ValueView view = ado::ValueView::Of(text);
  EXPECT_EQ(view.s.data(), text.Str().data());
  EXPECT_FALSE(view.IsNull());
  EXPECT_TRUE(ado::ValueView::Of(ado::Variant()).IsNull());
}

}  // namespace
