#include "grid/db/DataTypeToColumnType.h"

#include "data/ado/AdoEnums.h"

GridColumnType DataTypeToColumnType(int adoType) {
  using namespace ado;
  switch (adoType) {
    case adBSTR:
    case adBinary:
    case adChar:
    case adWChar:
    case adChapter:
    case adVarChar:
    case adLongVarChar:
    case adVarWChar:
    case adLongVarWChar:
    case adVarBinary:
      return gctText;
    case adSmallInt:
    case adInteger:
    case adUnsignedTinyInt:
    case adUnsignedSmallInt:
    case adUnsignedInt:
    case adBigInt:
    case adUnsignedBigInt:
      return gctInteger;
    case adSingle:
    case adDouble:
    case adCurrency:
    case adDecimal:
    case adNumeric:
      return gctNumericEx;
    case adBoolean:
    case adTinyInt:
      return gctCheckbox;
    case adDate:
    case adFileTime:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
      return gctDate;
    default:
      return gctUnknown;
  }
}
