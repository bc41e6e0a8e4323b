#pragma once
// Variant: a tagged value with the VT codes of COM. Texts are UTF-8; byte
// arrays (VT_ARRAY | VT_UI1) keep their bytes in a string; dates are automation dates;
// currency is a 64-bit integer scaled by 10,000; decimals are exact.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/ado/Decimal.h"

namespace ado {

using VARTYPE = std::uint16_t;

enum : VARTYPE {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_VOID = 24,
  VT_HRESULT = 25,
  VT_PTR = 26,
  VT_SAFEARRAY = 27,
  VT_CARRAY = 28,
  VT_USERDEFINED = 29,
  VT_LPSTR = 30,
  VT_LPWSTR = 31,
  VT_FILETIME = 64,
  VT_BLOB = 65,
  VT_STREAM = 66,
  VT_STORAGE = 67,
  VT_STREAMED_OBJECT = 68,
  VT_STORED_OBJECT = 69,
  VT_BLOB_OBJECT = 70,
  VT_CF = 71,
  VT_CLSID = 72,
  VT_ARRAY = 0x2000,
  VT_BYREF = 0x4000,
  VT_TYPEMASK = 0x0FFF
};

class Variant {
 public:
  Variant() = default;  // VT_EMPTY
  explicit Variant(std::int16_t v) : vt_(VT_I2) { u_.i = v; }
  explicit Variant(std::int32_t v) : vt_(VT_I4) { u_.i = v; }
  explicit Variant(std::int64_t v) : vt_(VT_I8) { u_.i = v; }
  explicit Variant(std::uint8_t v) : vt_(VT_UI1) { u_.u = v; }
  explicit Variant(float v) : vt_(VT_R4) { u_.d = v; }
  explicit Variant(double v) : vt_(VT_R8) { u_.d = v; }
  explicit Variant(bool v) : vt_(VT_BOOL) { u_.b = v; }
  explicit Variant(std::string v) : vt_(VT_BSTR), s_(std::move(v)) {}
  explicit Variant(const char* v) : vt_(VT_BSTR), s_(v ? v : "") {}
  explicit Variant(const Decimal& v) : vt_(VT_DECIMAL) { dec_ = v; }

  static Variant Null() { return OfType(VT_NULL); }
  static Variant Date(double oleDate);
  static Variant Currency(std::int64_t scaledBy10000);
  static Variant Bytes(std::string bytes);                  // VT_ARRAY | VT_UI1
  static Variant UnsignedInt(VARTYPE vt, std::uint64_t v);  // VT_UI1, VT_UI2, VT_UI4, VT_UI8
  static Variant SignedInt(VARTYPE vt, std::int64_t v);     // VT_I1, VT_I2, VT_I4, VT_I8
  // A variant that carries only a type code (for the types the stand-in never fills).
  static Variant OfType(VARTYPE vt);

  VARTYPE vt() const { return vt_; }
  bool IsEmpty() const { return vt_ == VT_EMPTY; }
  bool IsNull() const { return vt_ == VT_NULL; }
  bool HasValue() const { return vt_ != VT_EMPTY && vt_ != VT_NULL; }
  bool IsByteArray() const { return vt_ == (VT_ARRAY | VT_UI1); }

  // Raw members; valid for the matching types only.
  std::int64_t Int() const { return u_.i; }      // VT_I1, VT_I2, VT_I4, VT_I8, VT_CY
  std::uint64_t UInt() const { return u_.u; }    // VT_UI1, VT_UI2, VT_UI4, VT_UI8
  double Real() const { return u_.d; }           // VT_R4, VT_R8, VT_DATE
  bool Bool() const { return u_.b; }             // VT_BOOL
  const std::string& Str() const { return s_; }  // VT_BSTR and byte arrays
  const Decimal& Dec() const { return dec_; }    // VT_DECIMAL

  // The platform's conversions (VariantChangeType): raise ComError DISP_E_TYPEMISMATCH when the
  // value has no such form and DISP_E_OVERFLOW when it does not fit.
  std::string ToText() const;  // see Variant.cpp for the forms
  double ToDouble() const;
  std::int64_t ToInt64() const;
  std::int32_t ToInt32() const;
  bool ToBool() const;
  Decimal ToDecimal() const;
  double ToDate() const;
  Variant ChangeType(VARTYPE target) const;

  // Same type and same value (texts and bytes compared exactly).
  bool operator==(const Variant& other) const;
  bool operator!=(const Variant& other) const { return !(*this == other); }

 private:
  VARTYPE vt_ = VT_EMPTY;
  union {
    std::int64_t i;
    std::uint64_t u;
    double d;
    bool b;
  } u_{};
  Decimal dec_{};
  std::string s_;
};

// Texts of numbers in the user's numeric locale (see UserLocale.h) and back.
std::string ShortestDoubleText(double value, char point = '.');

}  // namespace ado
