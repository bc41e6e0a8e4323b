#include "data/ValueFormat.h"

bool HasValue(const Variant& v) {
  return v.vt() != VT_EMPTY && v.vt() != VT_NULL;
}

bool IsByteArray(const Variant& v) {
  return v.IsByteArray();
}

std::string ByteArrayToText(Variant& v) {
  std::string text = IsByteArray(v) ? v.Str() : std::string();
  v = Variant();
  return text;
}
