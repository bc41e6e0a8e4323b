#pragma once
// PostgreSQL types (by type OID and modifier) as the ADO types the ODBC provider gives them over
// psqlODBC, and their values, which travel as the server's text, appended to a row as the same
// Variants: integers of the column's width, exact numerics, dates as automation dates, bytea as
// bytes, everything else (arrays, json, ranges, network addresses...) as its text.
#include <libpq-fe.h>

#include <optional>
#include <string>
#include <string_view>

#include "data/ado/Provider.h"
#include "data/ado/RowStore.h"

namespace ado::postgresql {

// How a column's text becomes a value.
enum class ValueKind {
  Integer,
  Unsigned,
  Bool,
  Single,
  Double,
  Numeric,
  Date,
  DateTime,
  DateTimeZone,
  Guid,
  Bytes,
  Text
};

struct MappedType {
  int type = 0;
  long definedSize = 0;
  int precision = 0;
  int scale = 0;
  long attributes = 0;
  ValueKind kind = ValueKind::Text;
};

inline constexpr long kLongDefinedSize = 2147483647;

MappedType MapPgType(Oid type, int modifier);

// A numeric declared without precision and scale: its scale is that of its values.
bool IsUnconstrainedNumeric(Oid type, int modifier);
// Digits after the point of a number's text.
int ScaleOfText(std::string_view text);

// One value of the server's text form (never null).
void AppendValue(RowStore::Builder& row, const MappedType& column, const char* text, std::size_t length);

// The server's hex form of bytea ("\x0aff") as bytes; the old escape form is read too.
std::string DecodeBytea(std::string_view text);

// A timestamp with a time-zone offset ("2024-03-01 10:00:00.5+01" or "...+05:30") as the wall
// time the server wrote, which is in the session's time zone (as psql and psqlODBC show it);
// empty when it is no such text.
std::optional<double> WallTimeOfZoned(std::string_view text);

// A parameter's value as the text the server reads for a column of `columnType` (0: unknown);
// `binary` is set for bytes, which go as they are.
std::string ParameterText(const Parameter& parameter, bool& binary);

}  // namespace ado::postgresql
