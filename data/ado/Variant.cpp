#include "data/ado/Variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "data/ado/ComError.h"
#include "text/DateScan.h"
#include "text/OleDate.h"
#include "text/UserLocale.h"

namespace ado {

namespace {
[[noreturn]] void Mismatch() {
  throw ComError(DISP_E_TYPEMISMATCH);
}
[[noreturn]] void Overflow() {
  throw ComError(DISP_E_OVERFLOW);
}

bool IsSignedInt(VARTYPE vt) {
  return vt == VT_I1 || vt == VT_I2 || vt == VT_I4 || vt == VT_I8;
}
bool IsUnsignedInt(VARTYPE vt) {
  return vt == VT_UI1 || vt == VT_UI2 || vt == VT_UI4 || vt == VT_UI8;
}

std::string_view TrimBlanks(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}

// A number typed by a user: the user's decimal point or '.', no grouping.
std::optional<Decimal> ParseNumberText(std::string_view text) {
  text = TrimBlanks(text);
  char point = UserDecimalPoint();
  if (auto d = Decimal::Parse(text, point)) return d;
  if (point != '.') return Decimal::Parse(text, '.');
  return std::nullopt;
}

std::optional<double> ParseDoubleText(std::string_view text) {
  text = TrimBlanks(text);
  std::string copy(text);
  char point = UserDecimalPoint();
  if (point != '.') {
    for (char& c : copy)
      if (c == point) c = '.';
  }
  double d = 0;
  auto [ptr, ec] = std::from_chars(copy.data(), copy.data() + copy.size(), d);
  if (ec == std::errc::result_out_of_range) Overflow();
  if (ec != std::errc() || ptr != copy.data() + copy.size() || copy.empty()) return std::nullopt;
  return d;
}

// Dates as the user types them (day first, with or without a time), ISO texts and times alone;
// a day and month without a year is refused, as a converted value should not guess it.
std::optional<double> ParseDateText(std::string_view text) {
  const std::optional<ScannedDate> date = ScanDate(text);
  if (!date || date->form == DateForm::DayMonth) return std::nullopt;
  return ScannedOleDate(*date);
}

std::string DateText(double date) {
  auto p = OleDateToParts(date);
  if (!p) Overflow();
  char buffer[40];
  bool hasTime = p->hour || p->minute || p->second || p->millisecond;
  if (std::trunc(date) == 0 && hasTime) {
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", p->hour, p->minute, p->second);
  } else if (hasTime) {
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d:%02d", p->day, p->month, p->year, p->hour, p->minute,
                  p->second);
  } else {
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d", p->day, p->month, p->year);
  }
  return buffer;
}

std::string CurrencyText(std::int64_t scaled, char point) {
  Decimal d = Decimal::FromInt64(scaled);
  d.scale = 4;
  std::string text = d.ToString(point);
  while (text.back() == '0') text.pop_back();
  if (text.back() == point) text.pop_back();
  return text;
}

template <class T>
T Checked(std::int64_t v) {
  if (v < static_cast<std::int64_t>(std::numeric_limits<T>::min()) ||
      v > static_cast<std::int64_t>(std::numeric_limits<T>::max()))
    Overflow();
  return static_cast<T>(v);
}
}  // namespace

std::string ShortestDoubleText(double value, char point) {
  char buffer[64];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  std::string text(buffer, ec == std::errc() ? static_cast<size_t>(ptr - buffer) : 0);
  if (point != '.') {
    for (char& c : text)
      if (c == '.') c = point;
  }
  return text;
}

Variant Variant::Date(double oleDate) {
  Variant v;
  v.vt_ = VT_DATE;
  v.u_.d = oleDate;
  return v;
}

Variant Variant::Currency(std::int64_t scaled) {
  Variant v;
  v.vt_ = VT_CY;
  v.u_.i = scaled;
  return v;
}

Variant Variant::Bytes(std::string bytes) {
  Variant v;
  v.vt_ = VT_ARRAY | VT_UI1;
  v.s_ = std::move(bytes);
  return v;
}

Variant Variant::UnsignedInt(VARTYPE vt, std::uint64_t value) {
  Variant v;
  v.vt_ = vt;
  v.u_.u = value;
  return v;
}

Variant Variant::SignedInt(VARTYPE vt, std::int64_t value) {
  Variant v;
  v.vt_ = vt;
  v.u_.i = value;
  return v;
}

Variant Variant::OfType(VARTYPE vt) {
  Variant v;
  v.vt_ = vt;
  return v;
}

std::string Variant::ToText() const {
  const char point = UserDecimalPoint();
  switch (vt_) {
    case VT_EMPTY:
      return {};
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
      return std::to_string(u_.i);
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      return std::to_string(u_.u);
    case VT_R4: {
      char buffer[32];
      auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(u_.d));
      std::string text(buffer, static_cast<size_t>(ptr - buffer));
      (void)ec;
      if (point != '.')
        for (char& c : text)
          if (c == '.') c = point;
      return text;
    }
    case VT_R8:
      return ShortestDoubleText(u_.d, point);
    case VT_CY:
      return CurrencyText(u_.i, point);
    case VT_DATE:
      return DateText(u_.d);
    case VT_BSTR:
      return s_;
    case VT_BOOL:
      return u_.b ? "-1" : "0";
    case VT_DECIMAL:
      return dec_.ToString(point);
    default:
      Mismatch();
  }
}

double Variant::ToDouble() const {
  switch (vt_) {
    case VT_EMPTY:
      return 0;
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
      return static_cast<double>(u_.i);
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      return static_cast<double>(u_.u);
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      return u_.d;
    case VT_CY:
      return static_cast<double>(u_.i) / 10000.0;
    case VT_BOOL:
      return u_.b ? -1 : 0;
    case VT_DECIMAL:
      return dec_.ToDouble();
    case VT_BSTR:
      if (auto d = ParseDoubleText(s_)) return *d;
      Mismatch();
    default:
      Mismatch();
  }
}

std::int64_t Variant::ToInt64() const {
  switch (vt_) {
    case VT_EMPTY:
      return 0;
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_CY:
      if (vt_ == VT_CY) {
        // Banker's rounding of the scaled value, as the platform rounds currency.
        std::int64_t q = u_.i / 10000, r = u_.i % 10000;
        if (r > 5000 || (r == 5000 && (q & 1))) ++q;
        if (r < -5000 || (r == -5000 && (q & 1))) --q;
        return q;
      }
      return u_.i;
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      if (u_.u > static_cast<std::uint64_t>(INT64_MAX)) Overflow();
      return static_cast<std::int64_t>(u_.u);
    case VT_R4:
    case VT_R8:
    case VT_DATE: {
      double r = std::nearbyint(u_.d);
      if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) Overflow();
      return static_cast<std::int64_t>(r);
    }
    case VT_BOOL:
      return u_.b ? -1 : 0;
    case VT_DECIMAL: {
      auto i = dec_.ToInt64();
      if (!i) Overflow();
      return *i;
    }
    case VT_BSTR: {
      auto d = ParseNumberText(s_);
      if (!d) Mismatch();
      auto i = d->ToInt64();
      if (!i) Overflow();
      return *i;
    }
    default:
      Mismatch();
  }
}

std::int32_t Variant::ToInt32() const {
  return Checked<std::int32_t>(ToInt64());
}

bool Variant::ToBool() const {
  switch (vt_) {
    case VT_BOOL:
      return u_.b;
    case VT_BSTR: {
      std::string_view t = TrimBlanks(s_);
      auto eq = [&](const char* word) {
        std::string_view w(word);
        if (t.size() != w.size()) return false;
        for (size_t i = 0; i < t.size(); ++i)
          if (std::tolower(static_cast<unsigned char>(t[i])) != w[i]) return false;
        return true;
      };
      if (eq("true")) return true;
      if (eq("false")) return false;
      return ToDouble() != 0;
    }
    case VT_DECIMAL:
      return !dec_.IsZero();
    default:
      return ToDouble() != 0;
  }
}

Decimal Variant::ToDecimal() const {
  switch (vt_) {
    case VT_DECIMAL:
      return dec_;
    case VT_EMPTY:
      return Decimal{};
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
      return Decimal::FromInt64(u_.i);
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      return Decimal::FromUInt64(u_.u);
    case VT_CY: {
      Decimal d = Decimal::FromInt64(u_.i);
      d.scale = 4;
      return d;
    }
    case VT_BOOL:
      return Decimal::FromInt64(u_.b ? -1 : 0);
    case VT_R4:
    case VT_R8:
    case VT_DATE: {
      auto d = Decimal::FromDouble(vt_ == VT_R4 ? static_cast<double>(static_cast<float>(u_.d)) : u_.d);
      if (!d) Overflow();
      return *d;
    }
    case VT_BSTR: {
      auto d = ParseNumberText(s_);
      if (!d) Mismatch();
      return *d;
    }
    default:
      Mismatch();
  }
}

double Variant::ToDate() const {
  switch (vt_) {
    case VT_DATE:
      return u_.d;
    case VT_BSTR:
      if (auto d = ParseDateText(s_)) return *d;
      Mismatch();
    case VT_NULL:
    default:
      if (vt_ & (VT_ARRAY | VT_BYREF) || vt_ == VT_NULL) Mismatch();
      {
        double d = ToDouble();
        if (!OleDateToParts(d)) Overflow();
        return d;
      }
  }
}

Variant Variant::ChangeType(VARTYPE target) const {
  if (target == vt_) return *this;
  if (vt_ == VT_NULL) {
    if (target == VT_NULL) return *this;
    Mismatch();
  }
  switch (target) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Null();
    case VT_I1:
      return SignedInt(VT_I1, Checked<std::int8_t>(ToInt64()));
    case VT_I2:
      return Variant(Checked<std::int16_t>(ToInt64()));
    case VT_I4:
      return Variant(Checked<std::int32_t>(ToInt64()));
    case VT_I8:
      return Variant(ToInt64());
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8: {
      std::uint64_t u;
      if (IsUnsignedInt(vt_)) {
        u = u_.u;
      } else {
        std::int64_t i = ToInt64();
        if (i < 0) Overflow();
        u = static_cast<std::uint64_t>(i);
      }
      std::uint64_t max = target == VT_UI1 ? 0xFF : target == VT_UI2 ? 0xFFFF : target == VT_UI4 ? 0xFFFFFFFF : ~0ULL;
      if (u > max) Overflow();
      return UnsignedInt(target, u);
    }
    case VT_R4: {
      double d = ToDouble();
      if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) Overflow();
      return Variant(static_cast<float>(d));
    }
    case VT_R8:
      return Variant(ToDouble());
    case VT_CY: {
      auto scaled = ToDecimal().Rescaled(4);
      if (!scaled) Overflow();
      Decimal d = *scaled;
      d.scale = 0;
      auto i = d.ToInt64();
      if (!i) Overflow();
      return Currency(*i);
    }
    case VT_DATE:
      return Date(ToDate());
    case VT_BSTR:
      if (IsByteArray()) Mismatch();
      return Variant(ToText());
    case VT_BOOL:
      return Variant(ToBool());
    case VT_DECIMAL:
      return Variant(ToDecimal());
    case VT_ARRAY | VT_UI1:
      if (vt_ == VT_BSTR) return Bytes(s_);
      Mismatch();
    default:
      Mismatch();
  }
}

bool Variant::operator==(const Variant& o) const {
  if (vt_ != o.vt_) return false;
  switch (vt_) {
    case VT_EMPTY:
    case VT_NULL:
      return true;
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      return u_.d == o.u_.d;
    case VT_BOOL:
      return u_.b == o.u_.b;
    case VT_DECIMAL:
      return dec_ == o.dec_;
    case VT_BSTR:
    case VT_ARRAY | VT_UI1:
      return s_ == o.s_;
    default:
      if (IsSignedInt(vt_) || vt_ == VT_CY) return u_.i == o.u_.i;
      if (IsUnsignedInt(vt_)) return u_.u == o.u_.u;
      return true;
  }
}

}  // namespace ado
