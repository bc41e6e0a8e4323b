#include "data/ado/ValueView.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// What the row store hands out must come back as the variant it was made from.
TEST(ValueView, RoundTripsEveryStoredType) {
  const std::vector<Variant> values = {
      Variant(),
      Variant::Null(),
      Variant(std::int16_t{-7}),
      Variant(std::int32_t{123456}),
      Variant(std::int64_t{-9007199254740993}),
      Variant::SignedInt(VT_I1, -5),
      Variant(std::uint8_t{200}),
      Variant::UnsignedInt(VT_UI2, 65535),
      Variant::UnsignedInt(VT_UI4, 4000000000u),
      Variant::UnsignedInt(VT_UI8, 18446744073709551615ull),
      Variant(1.25f),
      Variant(-2.5e300),
      Variant::Date(37653.5),
      Variant::Currency(-123456789),
      Variant(true),
      Variant(*Decimal::Parse("-12345678901234567890.123")),
      Variant("Zoë"),
      Variant::Bytes(std::string("\0\x01\xff", 3)),
  };
  for (const Variant& v : values) EXPECT_EQ(ValueView::Of(v).ToVariant(), v) << "type " << v.vt();
}

TEST(ValueView, ViewsTheTextWithoutCopying) {
  const Variant text("hello");
  const ValueView view = ValueView::Of(text);
  EXPECT_EQ(view.s.data(), text.Str().data());
  EXPECT_FALSE(view.IsNull());
  EXPECT_TRUE(ValueView::Of(Variant()).IsNull());
}

}  // namespace
