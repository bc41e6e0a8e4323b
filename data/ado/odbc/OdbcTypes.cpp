#include "data/ado/odbc/OdbcTypes.h"

#include <algorithm>

#include "data/ado/AdoEnums.h"

namespace ado::odbc {
namespace {
MappedType Fixed(int type, long size, int precision, int scale = 0) {
  return MappedType{type, size, precision, scale, adFldFixed};
}

int Clamp255(SQLULEN v) {
  return static_cast<int>(std::min<SQLULEN>(v, 255));
}

long SizeOrLong(SQLULEN size) {
  return size > 0 && size < static_cast<SQLULEN>(kLongDefinedSize) ? static_cast<long>(size) : kLongDefinedSize;
}

MappedType Character(int fixedType, int varType, int longType, const SqlColumnType& c, bool isLong) {
  // A variable type of a stated size stays itself however large (VARCHAR(10000) is adVarChar, as
  // ADO has it); no size means no limit.
  if (isLong || c.columnSize == 0 || c.columnSize >= static_cast<SQLULEN>(kLongDefinedSize))
    return MappedType{longType, SizeOrLong(c.columnSize), 0, 0, adFldLong | adFldMayDefer};
  long size = static_cast<long>(c.columnSize);
  return fixedType ? MappedType{fixedType, size, 0, 0, adFldFixed} : MappedType{varType, size, 0, 0, 0};
}
}  // namespace

MappedType MapSqlType(const SqlColumnType& c) {
  switch (c.sqlType) {
    case SQL_TINYINT:
      return c.isUnsigned ? Fixed(adUnsignedTinyInt, 1, 3) : Fixed(adTinyInt, 1, 3);
    case SQL_SMALLINT:
      return c.isUnsigned ? Fixed(adUnsignedSmallInt, 2, 5) : Fixed(adSmallInt, 2, 5);
    case SQL_INTEGER:
      return c.isUnsigned ? Fixed(adUnsignedInt, 4, 10) : Fixed(adInteger, 4, 10);
    case SQL_BIGINT:
      return c.isUnsigned ? Fixed(adUnsignedBigInt, 8, 20) : Fixed(adBigInt, 8, 19);
    case SQL_BIT:
      return Fixed(adBoolean, 2, 0);
    case SQL_REAL:
      return Fixed(adSingle, 4, 7);
    case SQL_FLOAT:
    case SQL_DOUBLE:
      return Fixed(adDouble, 8, 15);
    case SQL_NUMERIC:
    case SQL_DECIMAL:
      return Fixed(adNumeric, 19, Clamp255(c.columnSize), std::max(0, std::min<int>(c.decimalDigits, 255)));
    case SQL_TYPE_DATE:
    case SQL_DATE:
      return Fixed(adDBDate, 6, 10);
    case SQL_TYPE_TIME:
    case SQL_TIME:
      return Fixed(adDBTime, 6, Clamp255(c.columnSize ? c.columnSize : 8), std::max<int>(c.decimalDigits, 0));
    case SQL_TYPE_TIMESTAMP:
    case SQL_TIMESTAMP:
      return Fixed(adDBTimeStamp, 16, Clamp255(c.columnSize ? c.columnSize : 19), std::max<int>(c.decimalDigits, 0));
    case SQL_GUID:
      return Fixed(adGUID, 16, 0);
    case SQL_CHAR:
      return Character(adChar, adVarChar, adLongVarChar, c, false);
    case SQL_VARCHAR:
      return Character(0, adVarChar, adLongVarChar, c, false);
    case SQL_LONGVARCHAR:
      return Character(0, adVarChar, adLongVarChar, c, true);
    case SQL_WCHAR:
      return Character(adWChar, adVarWChar, adLongVarWChar, c, false);
    case SQL_WVARCHAR:
      return Character(0, adVarWChar, adLongVarWChar, c, false);
    case SQL_WLONGVARCHAR:
      return Character(0, adVarWChar, adLongVarWChar, c, true);
    case SQL_BINARY:
      if (c.columnSize == 0 || c.columnSize >= static_cast<SQLULEN>(kLongDefinedSize))
        return MappedType{adLongVarBinary, SizeOrLong(c.columnSize), 0, 0, adFldLong | adFldMayDefer};
      return MappedType{adBinary, static_cast<long>(c.columnSize), 0, 0, adFldFixed};
    case SQL_VARBINARY:
      if (c.columnSize == 0 || c.columnSize >= static_cast<SQLULEN>(kLongDefinedSize))
        return MappedType{adLongVarBinary, SizeOrLong(c.columnSize), 0, 0, adFldLong | adFldMayDefer};
      return MappedType{adVarBinary, static_cast<long>(c.columnSize), 0, 0, 0};
    case SQL_LONGVARBINARY:
      return MappedType{adLongVarBinary, SizeOrLong(c.columnSize), 0, 0, adFldLong | adFldMayDefer};
    default:
      // Intervals and driver-specific types read as their text.
      return Character(0, adVarWChar, adLongVarWChar, c, false);
  }
}

bool IsLongType(int t) {
  return t == adLongVarChar || t == adLongVarWChar || t == adLongVarBinary;
}

bool IsCharacterType(int t) {
  return t == adChar || t == adVarChar || t == adLongVarChar || t == adWChar || t == adVarWChar || t == adLongVarWChar;
}

bool IsBinaryType(int t) {
  return t == adBinary || t == adVarBinary || t == adLongVarBinary;
}

FetchPlan PlanFetch(const SqlColumnType& column, const MappedType& mapped) {
  switch (mapped.type) {
    case adTinyInt:
    case adSmallInt:
    case adInteger:
    case adBigInt:
      return FetchPlan{ValueKind::Integer, SQL_C_SBIGINT, sizeof(SQLBIGINT)};
    case adUnsignedTinyInt:
    case adUnsignedSmallInt:
    case adUnsignedInt:
    case adUnsignedBigInt:
      return FetchPlan{ValueKind::Unsigned, SQL_C_UBIGINT, sizeof(SQLUBIGINT)};
    case adBoolean:
      return FetchPlan{ValueKind::Bit, SQL_C_BIT, sizeof(SQLCHAR)};
    case adSingle:
      return FetchPlan{ValueKind::Single, SQL_C_FLOAT, sizeof(SQLREAL)};
    case adDouble:
      return FetchPlan{ValueKind::Double, SQL_C_DOUBLE, sizeof(SQLDOUBLE)};
    case adNumeric:
      // Sign, point, a leading zero and the terminator around the digits; longer texts (an
      // unconstrained numeric) are read again whole.
      return FetchPlan{ValueKind::Decimal, SQL_C_CHAR,
                       static_cast<SQLLEN>(std::max<SQLULEN>(column.columnSize, 38) + 8)};
    case adDBDate:
      return FetchPlan{ValueKind::Date, SQL_C_TYPE_DATE, sizeof(SQL_DATE_STRUCT)};
    case adDBTimeStamp:
      return FetchPlan{ValueKind::Timestamp, SQL_C_TYPE_TIMESTAMP, sizeof(SQL_TIMESTAMP_STRUCT)};
    case adDBTime:
      return IsoTextPlan();
    case adGUID:
      return FetchPlan{ValueKind::Guid, SQL_C_CHAR, 48};
    case adBinary:
    case adVarBinary:
      if (mapped.definedSize > static_cast<long>(kLongThreshold)) return FetchPlan{ValueKind::Binary, SQL_C_BINARY, 0};
      return FetchPlan{ValueKind::Binary, SQL_C_BINARY, static_cast<SQLLEN>(mapped.definedSize)};
    case adLongVarBinary:
      return FetchPlan{ValueKind::Binary, SQL_C_BINARY, 0};
    default:
      if (IsLongType(mapped.type) || mapped.definedSize > static_cast<long>(kLongThreshold))
        return FetchPlan{ValueKind::Text, SQL_C_WCHAR, 0};
      // A character may take two UTF-16 units (outside the basic plane), plus the terminator.
      return FetchPlan{ValueKind::Text, SQL_C_WCHAR,
                       static_cast<SQLLEN>((2 * std::max<long>(mapped.definedSize, 1) + 1) * sizeof(SQLWCHAR))};
  }
}

FetchPlan Utf8TextPlan(const FetchPlan& text) {
  return FetchPlan{ValueKind::Utf8Text, SQL_C_CHAR, text.elementBytes};
}

FetchPlan IsoTextPlan() {
  return FetchPlan{ValueKind::DateTimeText, SQL_C_CHAR, 48};
}

SQLSMALLINT SqlTypeForColumn(int adoType) {
  switch (adoType) {
    case adTinyInt:
    case adUnsignedTinyInt:
      return SQL_TINYINT;
    case adSmallInt:
    case adUnsignedSmallInt:
      return SQL_SMALLINT;
    case adInteger:
    case adUnsignedInt:
      return SQL_INTEGER;
    case adBigInt:
    case adUnsignedBigInt:
      return SQL_BIGINT;
    case adBoolean:
      return SQL_BIT;
    case adSingle:
      return SQL_REAL;
    case adDouble:
      return SQL_DOUBLE;
    case adNumeric:
    case adDecimal:
    case adVarNumeric:
    case adCurrency:
      return SQL_NUMERIC;
    case adDBDate:
      return SQL_TYPE_DATE;
    case adDBTime:
      return SQL_TYPE_TIME;
    case adDBTimeStamp:
    case adDate:
      return SQL_TYPE_TIMESTAMP;
    case adGUID:
      return SQL_GUID;
    case adChar:
    case adVarChar:
    case adWChar:
    case adVarWChar:
      return SQL_WVARCHAR;
    case adLongVarChar:
    case adLongVarWChar:
      return SQL_WLONGVARCHAR;
    case adBinary:
    case adVarBinary:
      return SQL_VARBINARY;
    case adLongVarBinary:
      return SQL_LONGVARBINARY;
    default:
      return 0;
  }
}

}  // namespace ado::odbc
