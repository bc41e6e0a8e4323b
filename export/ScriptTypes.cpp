#include "export/ScriptTypes.h"

#include "data/ado/AdoEnums.h"

using namespace ado;

bool IsStringType(int t) {
  return t == adBSTR || t == adChar || t == adVarChar || t == adLongVarChar || t == adWChar || t == adVarWChar ||
         t == adLongVarWChar;
}

bool IsDateType(int t) {
  return t == adDate || t == adDBDate || t == adDBTime || t == adDBTimeStamp;
}

bool IsBooleanType(int t) {
  return t == adBoolean;
}

bool IsNumericType(int t) {
  switch (t) {
    case adTinyInt:
    case adSmallInt:
    case adInteger:
    case adBigInt:
    case adUnsignedTinyInt:
    case adUnsignedSmallInt:
    case adUnsignedInt:
    case adUnsignedBigInt:
    case adSingle:
    case adDouble:
    case adDecimal:
    case adNumeric:
    case adVarNumeric:
      return true;
    default:
      return false;
  }
}

bool IsBinaryType(int t) {
  return t == adBinary || t == adVarBinary || t == adLongVarBinary;
}
