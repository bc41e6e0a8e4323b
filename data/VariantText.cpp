#include "data/VariantText.h"

#include <cstdio>

#include "data/ValueFormat.h"
#include "text/OleDate.h"

namespace {
// The published names of the variant types; null for undefined codes and for VT_DECIMAL, whose
// name the flag texts leave out.
const char* TypeName(VARTYPE vt) {
  switch (vt) {
    case VT_EMPTY:
      return "VT_EMPTY";
    case VT_NULL:
      return "VT_NULL";
    case VT_I2:
      return "VT_I2";
    case VT_I4:
      return "VT_I4";
    case VT_R4:
      return "VT_R4";
    case VT_R8:
      return "VT_R8";
    case VT_CY:
      return "VT_CY";
    case VT_DATE:
      return "VT_DATE";
    case VT_BSTR:
      return "VT_BSTR";
    case VT_DISPATCH:
      return "VT_DISPATCH";
    case VT_ERROR:
      return "VT_ERROR";
    case VT_BOOL:
      return "VT_BOOL";
    case VT_VARIANT:
      return "VT_VARIANT";
    case VT_UNKNOWN:
      return "VT_UNKNOWN";
    case VT_I1:
      return "VT_I1";
    case VT_UI1:
      return "VT_UI1";
    case VT_UI2:
      return "VT_UI2";
    case VT_UI4:
      return "VT_UI4";
    case VT_I8:
      return "VT_I8";
    case VT_UI8:
      return "VT_UI8";
    case VT_INT:
      return "VT_INT";
    case VT_UINT:
      return "VT_UINT";
    case VT_VOID:
      return "VT_VOID";
    case VT_HRESULT:
      return "VT_HRESULT";
    case VT_PTR:
      return "VT_PTR";
    case VT_SAFEARRAY:
      return "VT_SAFEARRAY";
    case VT_CARRAY:
      return "VT_CARRAY";
    case VT_USERDEFINED:
      return "VT_USERDEFINED";
    case VT_LPSTR:
      return "VT_LPSTR";
    case VT_LPWSTR:
      return "VT_LPWSTR";
    case VT_FILETIME:
      return "VT_FILETIME";
    case VT_BLOB:
      return "VT_BLOB";
    case VT_STREAM:
      return "VT_STREAM";
    case VT_STORAGE:
      return "VT_STORAGE";
    case VT_STREAMED_OBJECT:
      return "VT_STREAMED_OBJECT";
    case VT_STORED_OBJECT:
      return "VT_STORED_OBJECT";
    case VT_BLOB_OBJECT:
      return "VT_BLOB_OBJECT";
    case VT_CF:
      return "VT_CF";
    case VT_CLSID:
      return "VT_CLSID";
    default:
      return nullptr;
  }
}

std::string ValueText(const Variant& v) {
  char buffer[64];
  switch (v.vt()) {
    case VT_EMPTY:
    case VT_NULL:
      return "NULL";
    case VT_I2:
      std::snprintf(buffer, sizeof buffer, "%hd", static_cast<short>(v.Int()));
      return buffer;
    case VT_I4:
      std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(v.Int()));
      return buffer;
    case VT_R4:
    case VT_R8:
      return FormatStringUserLocale("%e", v.Real());
    case VT_CY:
      return FormatStringUserLocale("%e",
                                    static_cast<double>(static_cast<float>(static_cast<double>(v.Int()) / 10000.0)));
    case VT_DATE:
      return VariantDateToIsoText(v);
    case VT_BSTR:
      return v.Str();
    case VT_BOOL:
      return v.Bool() ? "TRUE" : "FALSE";
    case VT_DECIMAL:
      std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(v.ToInt32()));
      return buffer;
    // The integer types the stand-in fills (bigint columns among them) show their value: their
    // name alone would lose every value in exports.
    case VT_I1:
    case VT_I8:
      std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(v.Int()));
      return buffer;
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(v.UInt()));
      return buffer;
    case VT_UI1:
      std::snprintf(buffer, sizeof buffer, "0x%02hX", static_cast<unsigned short>(v.UInt() & 0xFFu));
      return buffer;
    default: {
      // The remaining named types carry nothing the stand-in can show: their name stands for them.
      const char* name = TypeName(v.vt());
      return name ? name : "<Unknown>";
    }
  }
}
}  // namespace

std::string VariantToText(const Variant& v) {
  const VARTYPE vt = v.vt();
  const bool isArray = (vt & VT_ARRAY) != 0;
  const bool isReference = (vt & VT_BYREF) != 0;
  // Arrays and references carry no value of their own to show, only what they hold.
  if (!isArray && !isReference) return ValueText(v);

  std::string text;
  if (isArray) text = "Array of ";
  if (isReference) text += "Pointer to ";
  const VARTYPE base = vt & VT_TYPEMASK;
  if (const char* name = TypeName(base)) text += name;
  return text;
}

std::string VariantDateToIsoText(const Variant& v) {
  if (v.vt() != VT_DATE) return {};
  const std::optional<DateParts> parts = OleDateToParts(v.Real());
  if (!parts) return {};
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02dT%02d%02d%02d", parts->year, parts->month, parts->day, parts->hour,
                parts->minute, parts->second);
  return buffer;
}
