#include "data/ValueFormat.h"

bool HasValue(const ado::Variant& v) {
  return v.vt() != ado::VT_EMPTY && v.vt() != ado::VT_NULL;
}

bool IsByteArray(const ado::Variant& v) {
  return v.IsByteArray();
}

std::string ByteArrayToText(ado::Variant& v) {
  std::string text = IsByteArray(v) ? v.Str() : std::string();
  v = ado::Variant();
  return text;
}
