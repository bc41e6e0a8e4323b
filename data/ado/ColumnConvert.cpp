#include "data/ado/ColumnConvert.h"

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"

namespace ado {
namespace {
VARTYPE VariantTypeOf(int adoType) {
  switch (adoType) {
    case adTinyInt:
      return VT_I1;
    case adSmallInt:
      return VT_I2;
    case adInteger:
      return VT_I4;
    case adBigInt:
      return VT_I8;
    case adUnsignedTinyInt:
      return VT_UI1;
    case adUnsignedSmallInt:
      return VT_UI2;
    case adUnsignedInt:
      return VT_UI4;
    case adUnsignedBigInt:
      return VT_UI8;
    case adSingle:
      return VT_R4;
    case adDouble:
      return VT_R8;
    case adCurrency:
      return VT_CY;
    case adDecimal:
    case adNumeric:
    case adVarNumeric:
      return VT_DECIMAL;
    case adDate:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
      return VT_DATE;
    case adBoolean:
      return VT_BOOL;
    case adChar:
    case adWChar:
    case adVarChar:
    case adVarWChar:
    case adLongVarChar:
    case adLongVarWChar:
    case adBSTR:
    case adGUID:
      return VT_BSTR;
    case adBinary:
    case adVarBinary:
    case adLongVarBinary:
      return VT_ARRAY | VT_UI1;
    default:
      return VT_EMPTY;
  }
}

bool IsIntegerType(VARTYPE vt) {
  return vt == VT_I1 || vt == VT_I2 || vt == VT_I4;
}
}  // namespace

Variant ConvertForColumn(const Variant& value, const ColumnInfo& column) {
  if (value.vt() == VT_EMPTY || value.vt() == VT_NULL) return Variant::Null();
  VARTYPE target = VariantTypeOf(column.type);
  if (target == VT_EMPTY || value.vt() == target) return value;
  try {
    if (IsIntegerType(target)) {
      // A database may hold wider integers than the declared type says (SQLite does): keep the
      // value whole rather than refuse it.
      Variant wide = value.ChangeType(VT_I8);
      try {
        return wide.ChangeType(target);
      } catch (const ComError&) {
        return wide;
      }
    }
    if (target == (VT_ARRAY | VT_UI1) && value.vt() != VT_BSTR) return Variant::Bytes(value.ToText());
    return value.ChangeType(target);
  } catch (const ComError& e) {
    std::string shown = value.vt() == VT_BSTR ? "\"" + value.Str() + "\"" : "the value";
    throw ComError(DB_E_ERRORSOCCURRED,
                   "Cannot convert " + shown + " to the type of field \"" + column.name + "\": " + e.what(),
                   "Qelvo ADO");
  }
}

}  // namespace ado
