#include "data/ado/odbc/OdbcParameters.h"

#include <charconv>
#include <cmath>

#include "data/ado/AdoEnums.h"
#include "data/ado/odbc/OdbcText.h"
#include "data/ado/odbc/OdbcTypes.h"
#include "text/OleDate.h"

namespace ado::odbc {
namespace {

template <typename Number>
std::string ShortestText(Number value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

bool IsCharacterSql(SQLSMALLINT t) {
  return t == SQL_CHAR || t == SQL_VARCHAR || t == SQL_LONGVARCHAR || t == SQL_WCHAR || t == SQL_WVARCHAR ||
         t == SQL_WLONGVARCHAR;
}

bool IsBinarySql(SQLSMALLINT t) {
  return t == SQL_BINARY || t == SQL_VARBINARY || t == SQL_LONGVARBINARY;
}

// The column size and decimal digits SQLBindParameter wants for a NULL of this SQL type.
void NullSizes(SQLSMALLINT sqlType, SQLULEN& size, SQLSMALLINT& digits) {
  digits = 0;
  switch (sqlType) {
    case SQL_NUMERIC:
      size = 38;
      return;
    case SQL_TYPE_TIMESTAMP:
      size = 23;
      digits = 3;
      return;
    case SQL_TYPE_DATE:
      size = 10;
      return;
    case SQL_TYPE_TIME:
      size = 12;
      digits = 3;
      return;
    case SQL_GUID:
      size = 36;
      return;
    default:
      size = 1;
  }
}

std::string TwoDigits(int v) {
  std::string s = std::to_string(v);
  return s.size() < 2 ? "0" + s : s;
}

}  // namespace

std::string DoubleText(double value) {
  return ShortestText(value);
}

BoundParameters::BoundParameters(const OdbcConnection& connection, SQLHSTMT stmt,
                                 const std::vector<Parameter>& parameters) {
  for (std::size_t i = 0; i < parameters.size(); ++i)
    Bind(connection, stmt, static_cast<SQLUSMALLINT>(i + 1), parameters[i]);
}

void BoundParameters::Bind(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT number,
                           const Parameter& parameter) {
  const Variant& v = parameter.value;
  Binding b;
  b.sqlType = SqlTypeForColumn(parameter.columnType);
  b.indicator = &indicators_.emplace_back(0);
  switch (v.vt()) {
    case VT_EMPTY:
    case VT_NULL:
      BindNull(b);
      break;
    case VT_BOOL:
      BindBool(b, v);
      break;
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
      BindSigned(b, v);
      break;
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      BindUnsigned(b, v);
      break;
    case VT_R4:
      BindText(b, ShortestText(static_cast<float>(v.Real())), SQL_REAL);
      break;
    case VT_R8:
      BindText(b, ShortestText(v.Real()), SQL_DOUBLE);
      break;
    case VT_CY:
    case VT_DECIMAL:
      BindDecimal(b, v);
      break;
    case VT_DATE:
      BindDate(b, v, parameter.columnType);
      break;
    case VT_ARRAY | VT_UI1:
      BindBytes(b, v);
      break;
    default:
      // Texts, and whatever else only has a text form.
      BindAsText(b, v, connection);
      break;
  }
  SQLRETURN rc = SQLBindParameter(stmt, number, SQL_PARAM_INPUT, b.cType, b.sqlType, b.size, b.digits, b.data,
                                  b.bufferLength, b.indicator);
  connection.CheckStatement(rc, stmt);
}

void BoundParameters::BindText(Binding& b, std::string value, SQLSMALLINT fallbackSql) {
  std::string& buffer = buffers_.emplace_back(std::move(value));
  b.cType = SQL_C_CHAR;
  if (!b.sqlType) b.sqlType = fallbackSql;
  b.size = std::max<SQLULEN>(buffer.size(), 1);
  b.data = buffer.data();
  b.bufferLength = static_cast<SQLLEN>(buffer.size());
  *b.indicator = static_cast<SQLLEN>(buffer.size());
}

void BoundParameters::BindFixed(Binding& b, const void* bytes, std::size_t length, SQLSMALLINT cType,
                                SQLSMALLINT fallbackSql) {
  std::string& buffer = buffers_.emplace_back(static_cast<const char*>(bytes), length);
  b.cType = cType;
  if (!b.sqlType) b.sqlType = fallbackSql;
  b.data = buffer.data();
  b.bufferLength = static_cast<SQLLEN>(length);
  *b.indicator = static_cast<SQLLEN>(length);
}

void BoundParameters::BindNull(Binding& b) {
  if (!b.sqlType) b.sqlType = SQL_WVARCHAR;
  NullSizes(b.sqlType, b.size, b.digits);
  b.cType = SQL_C_CHAR;
  *b.indicator = SQL_NULL_DATA;
}

void BoundParameters::BindBool(Binding& b, const Variant& v) {
  SQLCHAR bit = v.Bool() ? 1 : 0;
  BindFixed(b, &bit, 1, SQL_C_BIT, SQL_BIT);
}

void BoundParameters::BindSigned(Binding& b, const Variant& v) {
  SQLBIGINT n = v.Int();
  BindFixed(b, &n, sizeof n, SQL_C_SBIGINT, SQL_BIGINT);
  b.size = 19;
}

void BoundParameters::BindUnsigned(Binding& b, const Variant& v) {
  SQLUBIGINT n = v.UInt();
  BindFixed(b, &n, sizeof n, SQL_C_UBIGINT, SQL_BIGINT);
  b.size = 20;
}

void BoundParameters::BindDecimal(Binding& b, const Variant& v) {
  Decimal d = v.ToDecimal();
  std::string digitsText = d.ToString('.');
  BindText(b, digitsText, SQL_NUMERIC);
  if (b.sqlType == SQL_NUMERIC) {
    std::size_t count = 0;
    for (char c : digitsText) count += (c >= '0' && c <= '9') ? 1 : 0;
    b.size = std::max<SQLULEN>(count, 1);
    b.digits = static_cast<SQLSMALLINT>(d.scale);
  }
}

void BoundParameters::BindDate(Binding& b, const Variant& v, int columnType) {
  std::optional<DateParts> parts = OleDateToParts(v.Real());
  if (!parts)
    throw ComError(DB_E_CANTCONVERTVALUE, "The date value is outside the range 1 January 100 to 31 December 9999.",
                   kSource);
  bool hasTime = parts->hour || parts->minute || parts->second || parts->millisecond;
  if (columnType == adDBTime)
    BindTimeOfDay(b, *parts);
  else if (columnType == adDBDate && !hasTime)
    BindDay(b, *parts);
  else
    BindTimestamp(b, *parts);
}

void BoundParameters::BindTimeOfDay(Binding& b, const DateParts& parts) {
  std::string t = TwoDigits(parts.hour) + ":" + TwoDigits(parts.minute) + ":" + TwoDigits(parts.second);
  if (parts.millisecond) {
    std::string ms = std::to_string(1000 + parts.millisecond).substr(1);
    t += "." + ms;
  }
  BindText(b, t, SQL_TYPE_TIME);
  b.size = 12;
  b.digits = 3;
}

void BoundParameters::BindDay(Binding& b, const DateParts& parts) {
  SQL_DATE_STRUCT& date = dates_.emplace_back();
  date.year = static_cast<SQLSMALLINT>(parts.year);
  date.month = static_cast<SQLUSMALLINT>(parts.month);
  date.day = static_cast<SQLUSMALLINT>(parts.day);
  b.cType = SQL_C_TYPE_DATE;
  b.sqlType = SQL_TYPE_DATE;
  b.size = 10;
  b.data = &date;
  b.bufferLength = sizeof date;
  *b.indicator = sizeof date;
}

void BoundParameters::BindTimestamp(Binding& b, const DateParts& parts) {
  SQL_TIMESTAMP_STRUCT& stamp = timestamps_.emplace_back();
  stamp.year = static_cast<SQLSMALLINT>(parts.year);
  stamp.month = static_cast<SQLUSMALLINT>(parts.month);
  stamp.day = static_cast<SQLUSMALLINT>(parts.day);
  stamp.hour = static_cast<SQLUSMALLINT>(parts.hour);
  stamp.minute = static_cast<SQLUSMALLINT>(parts.minute);
  stamp.second = static_cast<SQLUSMALLINT>(parts.second);
  stamp.fraction = static_cast<SQLUINTEGER>(parts.millisecond) * 1000000u;
  b.cType = SQL_C_TYPE_TIMESTAMP;
  if (!b.sqlType || b.sqlType == SQL_TYPE_DATE || b.sqlType == SQL_TYPE_TIME) b.sqlType = SQL_TYPE_TIMESTAMP;
  b.size = 23;
  b.digits = 3;
  b.data = &stamp;
  b.bufferLength = sizeof stamp;
  *b.indicator = sizeof stamp;
}

void BoundParameters::BindBytes(Binding& b, const Variant& v) {
  const std::string& bytes = v.Str();
  if (!IsBinarySql(b.sqlType)) b.sqlType = bytes.size() > kLongThreshold ? SQL_LONGVARBINARY : SQL_VARBINARY;
  BindFixed(b, bytes.data(), bytes.size(), SQL_C_BINARY, SQL_VARBINARY);
  b.size = std::max<SQLULEN>(bytes.size(), 1);
}

void BoundParameters::BindAsText(Binding& b, const Variant& v, const OdbcConnection& connection) {
  std::string utf8 = v.vt() == VT_BSTR ? v.Str() : v.ToText();
  WideString wide = ToWide(utf8);
  if (!b.sqlType || IsCharacterSql(b.sqlType))
    b.sqlType = wide.size() > kLongThreshold / 2 ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
  // As UTF-8 where the connection says so: MariaDB's driver writes some UTF-16 texts with a
  // stray NUL at the end (or refuses them as too long).
  if (connection.TextAsUtf8())
    BindFixed(b, utf8.data(), utf8.size(), SQL_C_CHAR, SQL_WVARCHAR);
  else
    BindFixed(b, wide.data(), wide.size() * sizeof(char16_t), SQL_C_WCHAR, SQL_WVARCHAR);
  b.size = std::max<SQLULEN>(wide.size(), 1);
}

}  // namespace ado::odbc
