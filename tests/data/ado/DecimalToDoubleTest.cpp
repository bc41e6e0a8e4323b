// Decimal::ToDouble against the correctly rounded reading of the decimal's text, bit for bit.
#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>

#include "data/ado/Decimal.h"

namespace {

void ExpectSameDouble(const ado::Decimal& d) {
  const std::string text = d.ToString();
  double expected = 0;
  std::from_chars(text.data(), text.data() + text.size(), expected);
  EXPECT_EQ(std::bit_cast<std::uint64_t>(d.ToDouble()), std::bit_cast<std::uint64_t>(expected))
      << text << " gave " << d.ToDouble() << ", expected " << expected;
}

}  // namespace

TEST(DecimalToDouble, GivesTheCorrectlyRoundedDoubleForEdgesAndRandomDecimals) {
  for (const char* text : {"0", "-0.00", "0.1", "2.675", "-1234.50", "999.83", "9007199254740991", "9007199254740993",
                           "0.0000000000000000000001", "1.00000000000000000000001",
                           "123456789012345678901234567890.12345678", "-0.3", "4.35", "1e-30"}) {
    const auto d = ado::Decimal::Parse(text);
    ASSERT_TRUE(d) << text;
    ExpectSameDouble(*d);
  }
  std::mt19937_64 random(20240601);
  for (int i = 0; i < 200000; ++i) {
    ado::Decimal d;
    const int bits = static_cast<int>(random() % 64) + 1;
    d.magnitude = random() >> (64 - bits);
    d.scale = static_cast<std::uint8_t>(random() % 30);
    d.negative = (random() & 1) != 0;
    ExpectSameDouble(d);
    if (HasFailure()) break;
  }
}
