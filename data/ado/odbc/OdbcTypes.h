#pragma once
// ODBC SQL types as ADO types (the codes ADO's ODBC provider gives them), the C type each is
// fetched as, and the SQL type a parameter for a column of an ADO type is bound as.
#include <sql.h>
#include <sqlext.h>

#include <string>

namespace ado::odbc {

// What a driver says about a result column.
struct SqlColumnType {
  SQLSMALLINT sqlType = SQL_UNKNOWN_TYPE;
  SQLULEN columnSize = 0;
  SQLSMALLINT decimalDigits = 0;
  bool isUnsigned = false;
};

struct MappedType {
  int type = 0;
  long definedSize = 0;
  int precision = 0;
  int scale = 0;
  long attributes = 0;  // adFldFixed, adFldLong | adFldMayDefer as the type implies
};

// Character and binary columns longer than this are read in pieces rather than bound.
inline constexpr SQLULEN kLongThreshold = 8000;
inline constexpr long kLongDefinedSize = 2147483647;

MappedType MapSqlType(const SqlColumnType& column);
bool IsLongType(int adoType);
bool IsCharacterType(int adoType);
bool IsBinaryType(int adoType);

// How the values of a column travel from the driver.
enum class ValueKind {
  Integer,       // SQL_C_SBIGINT, stored as the ADO type's signed VT
  Unsigned,      // SQL_C_UBIGINT
  Bit,           // SQL_C_BIT
  Single,        // SQL_C_FLOAT
  Double,        // SQL_C_DOUBLE
  Decimal,       // SQL_C_CHAR digits, exact
  Date,          // SQL_C_TYPE_DATE
  Timestamp,     // SQL_C_TYPE_TIMESTAMP
  DateTimeText,  // SQL_C_CHAR in ISO form, parsed here: times (fractions and durations survive),
                 // and dates and timestamps of drivers known to write that form
  Guid,          // SQL_C_CHAR
  Text,          // SQL_C_WCHAR
  Utf8Text,      // SQL_C_CHAR in UTF-8, for drivers whose UTF-16 lengths are wrong
  Binary,        // SQL_C_BINARY
};

struct FetchPlan {
  ValueKind kind = ValueKind::Text;
  SQLSMALLINT cType = SQL_C_WCHAR;
  SQLLEN elementBytes = 0;  // bytes of one bound value (with its terminator); 0 for long data
};

FetchPlan PlanFetch(const SqlColumnType& column, const MappedType& mapped);
// A text plan read as UTF-8 instead (the buffer of the UTF-16 plan holds the UTF-8 too).
FetchPlan Utf8TextPlan(const FetchPlan& text);
// Dates and timestamps as ISO text parsed here rather than as the driver's structures: psqlODBC
// scans every timestamp with sscanf, which costs more than the rest of a row together.
FetchPlan IsoTextPlan();

// The SQL type a parameter for a column of this ADO type is declared as (0: take it from the
// value).
SQLSMALLINT SqlTypeForColumn(int adoType);

}  // namespace ado::odbc
