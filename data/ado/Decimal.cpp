#include "data/ado/Decimal.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace ado {

namespace {
using u128 = unsigned __int128;

u128 Pow10(int n) {
  u128 r = 1;
  for (int i = 0; i < n; ++i) r *= 10;
  return r;
}

// 10^38 - 1: the largest magnitude of 38 digits.
const u128 kMaxMagnitude = Pow10(38) - 1;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
}  // namespace

std::optional<Decimal> Decimal::Parse(std::string_view text, char point) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  text = text.substr(b, e - b);
  if (text.empty()) return std::nullopt;
  Decimal d;
  size_t i = 0;
  if (text[i] == '+' || text[i] == '-') {
    d.negative = text[i] == '-';
    ++i;
  }
  u128 mag = 0;
  int digits = 0, fraction = 0;
  bool any = false, inFraction = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      any = true;
      if (mag == 0 && c == '0' && !inFraction) continue;  // leading zeros carry no digits
      if (digits >= kMaxDigits) return std::nullopt;
      mag = mag * 10 + static_cast<unsigned>(c - '0');
      if (mag != 0) ++digits;
      if (inFraction) ++fraction;
    } else if (c == point && !inFraction) {
      inFraction = true;
    } else {
      break;
    }
  }
  if (!any) return std::nullopt;
  int exponent = 0;
  if (i < text.size()) {
    if (text[i] != 'e' && text[i] != 'E') return std::nullopt;
    ++i;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    if (first < last && *first == '+') ++first;
    auto [ptr, ec] = std::from_chars(first, last, exponent);
    if (ec != std::errc() || ptr != last) return std::nullopt;
    if (exponent > 76 || exponent < -76) return std::nullopt;
  }
  int scale = fraction - exponent;
  while (scale < 0) {
    if (mag > kMaxMagnitude / 10) return std::nullopt;
    mag *= 10;
    ++scale;
  }
  while (scale > kMaxDigits) {
    if (mag % 10 != 0) return std::nullopt;
    mag /= 10;
    --scale;
  }
  if (mag > kMaxMagnitude) return std::nullopt;
  d.magnitude = mag;
  d.scale = static_cast<std::uint8_t>(scale);
  if (mag == 0) d.negative = false;
  return d;
}

Decimal Decimal::FromInt64(std::int64_t value) {
  Decimal d;
  d.negative = value < 0;
  d.magnitude = value < 0 ? static_cast<u128>(-(value + 1)) + 1 : static_cast<u128>(value);
  return d;
}

Decimal Decimal::FromUInt64(std::uint64_t value) {
  Decimal d;
  d.magnitude = value;
  return d;
}

std::optional<Decimal> Decimal::FromDouble(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  char buffer[64];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec != std::errc()) return std::nullopt;
  return Parse(std::string_view(buffer, static_cast<size_t>(ptr - buffer)));
}

std::string Decimal::ToString(char point) const {
  char digits[48];
  int n = 0;
  u128 v = magnitude;
  do {
    digits[n++] = static_cast<char>('0' + static_cast<int>(v % 10));
    v /= 10;
  } while (v != 0);
  while (n <= scale) digits[n++] = '0';  // at least one digit before the point
  std::string out;
  out.reserve(static_cast<size_t>(n) + 2);
  if (negative && magnitude != 0) out.push_back('-');
  for (int k = n - 1; k >= 0; --k) {
    out.push_back(digits[k]);
    if (k == scale && k != 0) out.push_back(point);
  }
  return out;
}

double Decimal::ToDouble() const {
  // Digits that a double holds exactly over a power of ten that a double holds exactly divide into
  // the correctly rounded double at once (a result grid converts one per numeric cell); other
  // decimals go through their text, which the library reads correctly rounded.
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (magnitude < (static_cast<u128>(1) << 53) && scale <= 22) {
    const double value = static_cast<double>(static_cast<std::uint64_t>(magnitude)) / kPowersOfTen[scale];
    return negative && magnitude != 0 ? -value : value;  // a zero has no sign in its text
  }
  std::string text = ToString('.');
  double d = 0;
  std::from_chars(text.data(), text.data() + text.size(), d);
  return d;
}

std::optional<std::int64_t> Decimal::ToInt64() const {
  auto r = Rescaled(0);
  if (!r) return std::nullopt;
  u128 limit = r->negative ? static_cast<u128>(INT64_MAX) + 1 : static_cast<u128>(INT64_MAX);
  if (r->magnitude > limit) return std::nullopt;
  if (r->negative) return r->magnitude == limit ? INT64_MIN : -static_cast<std::int64_t>(r->magnitude);
  return static_cast<std::int64_t>(r->magnitude);
}

std::optional<Decimal> Decimal::Rescaled(int newScale) const {
  if (newScale < 0 || newScale > kMaxDigits) return std::nullopt;
  Decimal d = *this;
  while (d.scale < newScale) {
    if (d.magnitude > kMaxMagnitude / 10) return std::nullopt;
    d.magnitude *= 10;
    ++d.scale;
  }
  if (d.scale > newScale) {
    u128 divisor = Pow10(d.scale - newScale);
    u128 q = d.magnitude / divisor, rem = d.magnitude % divisor;
    if (rem * 2 >= divisor) ++q;  // half away from zero
    d.magnitude = q;
    d.scale = static_cast<std::uint8_t>(newScale);
  }
  if (d.magnitude == 0) d.negative = false;
  return d;
}

int Decimal::Compare(const Decimal& other) const {
  bool an = negative && magnitude != 0, bn = other.negative && other.magnitude != 0;
  if (an != bn) return an ? -1 : 1;
  // Compare magnitudes at a common scale; when widening would overflow, the wider number wins.
  u128 a = magnitude, b = other.magnitude;
  int sa = scale, sb = other.scale;
  int cmp = 0;
  auto widen = [](u128& v, int times) {
    for (int i = 0; i < times; ++i) {
      if (v > (~static_cast<u128>(0)) / 10) return false;
      v *= 10;
    }
    return true;
  };
  if (sa < sb) {
    if (!widen(a, sb - sa)) cmp = 1;
  } else if (sb < sa) {
    if (!widen(b, sa - sb)) cmp = -1;
  }
  if (cmp == 0) cmp = a < b ? -1 : (a > b ? 1 : 0);
  return an ? -cmp : cmp;
}

}  // namespace ado
