#include "data/VariantText.h"

#include <cstdio>

#include "data/ValueFormat.h"
#include "text/OleDate.h"

namespace {
// The published names of the variant types; null for undefined codes and for VT_DECIMAL, whose
// name the flag texts leave out.
const char* TypeName(ado::VARTYPE vt) {
  switch (vt) {
    case ado::VT_EMPTY:
      return "VT_EMPTY";
    case ado::VT_NULL:
      return "VT_NULL";
    case ado::VT_I2:
      return "VT_I2";
    case ado::VT_I4:
      return "VT_I4";
    case ado::VT_R4:
      return "VT_R4";
    case ado::VT_R8:
      return "VT_R8";
    case ado::VT_CY:
      return "VT_CY";
    case ado::VT_DATE:
      return "VT_DATE";
    case ado::VT_BSTR:
      return "VT_BSTR";
    case ado::VT_DISPATCH:
      return "VT_DISPATCH";
    case ado::VT_ERROR:
      return "VT_ERROR";
    case ado::VT_BOOL:
      return "VT_BOOL";
    case ado::VT_VARIANT:
      return "VT_VARIANT";
    case ado::VT_UNKNOWN:
      return "VT_UNKNOWN";
    case ado::VT_I1:
      return "VT_I1";
    case ado::VT_UI1:
      return "VT_UI1";
    case ado::VT_UI2:
      return "VT_UI2";
    case ado::VT_UI4:
      return "VT_UI4";
    case ado::VT_I8:
      return "VT_I8";
    case ado::VT_UI8:
      return "VT_UI8";
    case ado::VT_INT:
      return "VT_INT";
    case ado::VT_UINT:
      return "VT_UINT";
    case ado::VT_VOID:
      return "VT_VOID";
    case ado::VT_HRESULT:
      return "VT_HRESULT";
    case ado::VT_PTR:
      return "VT_PTR";
    case ado::VT_SAFEARRAY:
      return "VT_SAFEARRAY";
    case ado::VT_CARRAY:
      return "VT_CARRAY";
    case ado::VT_USERDEFINED:
      return "VT_USERDEFINED";
    case ado::VT_LPSTR:
      return "VT_LPSTR";
    case ado::VT_LPWSTR:
      return "VT_LPWSTR";
    case ado::VT_FILETIME:
      return "VT_FILETIME";
    case ado::VT_BLOB:
      return "VT_BLOB";
    case ado::VT_STREAM:
      return "VT_STREAM";
    case ado::VT_STORAGE:
      return "VT_STORAGE";
    case ado::VT_STREAMED_OBJECT:
      return "VT_STREAMED_OBJECT";
    case ado::VT_STORED_OBJECT:
      return "VT_STORED_OBJECT";
    case ado::VT_BLOB_OBJECT:
      return "VT_BLOB_OBJECT";
    case ado::VT_CF:
      return "VT_CF";
    case ado::VT_CLSID:
      return "VT_CLSID";
    default:
      return nullptr;
  }
}

std::string ValueText(const ado::Variant& v) {
  char buffer[64];
  switch (v.vt()) {
    case ado::VT_EMPTY:
    case ado::VT_NULL:
      return "NULL";
    case ado::VT_I2:
      std::snprintf(buffer, sizeof buffer, "%hd", static_cast<short>(v.Int()));
      return buffer;
    case ado::VT_I4:
      std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(v.Int()));
      return buffer;
    case ado::VT_R4:
    case ado::VT_R8:
      return FormatStringUserLocale("%e", v.Real());
    case ado::VT_CY:
      return FormatStringUserLocale("%e",
                                    static_cast<double>(static_cast<float>(static_cast<double>(v.Int()) / 10000.0)));
    case ado::VT_DATE:
      return VariantDateToIsoText(v);
    case ado::VT_BSTR:
      return v.Str();
    case ado::VT_BOOL:
      return v.Bool() ? "TRUE" : "FALSE";
    case ado::VT_DECIMAL:
      std::snprintf(buffer, sizeof buffer, "%ld", static_cast<long>(v.ToInt32()));
      return buffer;
    // The integer types the stand-in fills (bigint columns among them) show their value: their
    // name alone would lose every value in exports.
    case ado::VT_I1:
    case ado::VT_I8:
      std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(v.Int()));
      return buffer;
    case ado::VT_UI2:
    case ado::VT_UI4:
    case ado::VT_UI8:
      std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(v.UInt()));
      return buffer;
    case ado::VT_UI1:
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

std::string VariantToText(const ado::Variant& v) {
  const ado::VARTYPE vt = v.vt();
  const bool isArray = (vt & ado::VT_ARRAY) != 0;
  const bool isReference = (vt & ado::VT_BYREF) != 0;
  // Arrays and references carry no value of their own to show, only what they hold.
  if (!isArray && !isReference) return ValueText(v);

  std::string text;
  if (isArray) text = "Array of ";
  if (isReference) text += "Pointer to ";
  const ado::VARTYPE base = vt & ado::VT_TYPEMASK;
  if (const char* name = TypeName(base)) text += name;
  return text;
}

std::string VariantDateToIsoText(const ado::Variant& v) {
  if (v.vt() != ado::VT_DATE) return {};
  const std::optional<DateParts> parts = OleDateToParts(v.Real());
  if (!parts) return {};
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02dT%02d%02d%02d", parts->year, parts->month, parts->day, parts->hour,
                parts->minute, parts->second);
  return buffer;
}
