#include "data/ado/odbc/OdbcParameters.h"

#include <charconv>
#include <cmath>

#include "data/ado/AdoEnums.h"
#include "data/ado/OleDate.h"
#include "data/ado/odbc/OdbcText.h"
#include "data/ado/odbc/OdbcTypes.h"

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
  const SQLSMALLINT columnSql = SqlTypeForColumn(parameter.columnType);
  SQLLEN& indicator = indicators_.emplace_back(0);
  SQLSMALLINT cType = SQL_C_CHAR;
  SQLSMALLINT sqlType = columnSql;
  SQLULEN size = 1;
  SQLSMALLINT digits = 0;
  SQLPOINTER data = nullptr;
  SQLLEN bufferLength = 0;

  auto text = [&](std::string value, SQLSMALLINT fallbackSql) {
    std::string& buffer = buffers_.emplace_back(std::move(value));
    cType = SQL_C_CHAR;
    if (!sqlType) sqlType = fallbackSql;
    size = std::max<SQLULEN>(buffer.size(), 1);
    data = buffer.data();
    bufferLength = static_cast<SQLLEN>(buffer.size());
    indicator = static_cast<SQLLEN>(buffer.size());
  };
  auto fixed = [&](const void* bytes, std::size_t length, SQLSMALLINT c, SQLSMALLINT fallbackSql) {
    std::string& buffer = buffers_.emplace_back(static_cast<const char*>(bytes), length);
    cType = c;
    if (!sqlType) sqlType = fallbackSql;
    data = buffer.data();
    bufferLength = static_cast<SQLLEN>(length);
    indicator = static_cast<SQLLEN>(length);
  };

  switch (v.vt()) {
    case VT_EMPTY:
    case VT_NULL:
      if (!sqlType) sqlType = SQL_WVARCHAR;
      NullSizes(sqlType, size, digits);
      cType = SQL_C_CHAR;
      indicator = SQL_NULL_DATA;
      break;
    case VT_BOOL: {
      SQLCHAR bit = v.Bool() ? 1 : 0;
      fixed(&bit, 1, SQL_C_BIT, SQL_BIT);
      break;
    }
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8: {
      SQLBIGINT n = v.Int();
      fixed(&n, sizeof n, SQL_C_SBIGINT, SQL_BIGINT);
      size = 19;
      break;
    }
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8: {
      SQLUBIGINT n = v.UInt();
      fixed(&n, sizeof n, SQL_C_UBIGINT, SQL_BIGINT);
      size = 20;
      break;
    }
    case VT_R4:
      text(ShortestText(static_cast<float>(v.Real())), SQL_REAL);
      break;
    case VT_R8:
      text(ShortestText(v.Real()), SQL_DOUBLE);
      break;
    case VT_CY:
    case VT_DECIMAL: {
      Decimal d = v.ToDecimal();
      std::string digitsText = d.ToString('.');
      text(digitsText, SQL_NUMERIC);
      if (sqlType == SQL_NUMERIC) {
        std::size_t count = 0;
        for (char c : digitsText) count += (c >= '0' && c <= '9') ? 1 : 0;
        size = std::max<SQLULEN>(count, 1);
        digits = static_cast<SQLSMALLINT>(d.scale);
      }
      break;
    }
    case VT_DATE: {
      std::optional<DateParts> parts = OleDateToParts(v.Real());
      if (!parts)
        throw ComError(DB_E_CANTCONVERTVALUE, "The date value is outside the range 1 January 100 to 31 December 9999.",
                       kSource);
      bool hasTime = parts->hour || parts->minute || parts->second || parts->millisecond;
      if (parameter.columnType == adDBTime) {
        std::string t = TwoDigits(parts->hour) + ":" + TwoDigits(parts->minute) + ":" + TwoDigits(parts->second);
        if (parts->millisecond) {
          std::string ms = std::to_string(1000 + parts->millisecond).substr(1);
          t += "." + ms;
        }
        text(t, SQL_TYPE_TIME);
        size = 12;
        digits = 3;
      } else if (parameter.columnType == adDBDate && !hasTime) {
        SQL_DATE_STRUCT& date = dates_.emplace_back();
        date.year = static_cast<SQLSMALLINT>(parts->year);
        date.month = static_cast<SQLUSMALLINT>(parts->month);
        date.day = static_cast<SQLUSMALLINT>(parts->day);
        cType = SQL_C_TYPE_DATE;
        sqlType = SQL_TYPE_DATE;
        size = 10;
        data = &date;
        bufferLength = sizeof date;
        indicator = sizeof date;
      } else {
        SQL_TIMESTAMP_STRUCT& stamp = timestamps_.emplace_back();
        stamp.year = static_cast<SQLSMALLINT>(parts->year);
        stamp.month = static_cast<SQLUSMALLINT>(parts->month);
        stamp.day = static_cast<SQLUSMALLINT>(parts->day);
        stamp.hour = static_cast<SQLUSMALLINT>(parts->hour);
        stamp.minute = static_cast<SQLUSMALLINT>(parts->minute);
        stamp.second = static_cast<SQLUSMALLINT>(parts->second);
        stamp.fraction = static_cast<SQLUINTEGER>(parts->millisecond) * 1000000u;
        cType = SQL_C_TYPE_TIMESTAMP;
        if (!sqlType || sqlType == SQL_TYPE_DATE || sqlType == SQL_TYPE_TIME) sqlType = SQL_TYPE_TIMESTAMP;
        size = 23;
        digits = 3;
        data = &stamp;
        bufferLength = sizeof stamp;
        indicator = sizeof stamp;
      }
      break;
    }
    case VT_ARRAY | VT_UI1: {
      const std::string& bytes = v.Str();
      if (!IsBinarySql(sqlType)) sqlType = bytes.size() > kLongThreshold ? SQL_LONGVARBINARY : SQL_VARBINARY;
      fixed(bytes.data(), bytes.size(), SQL_C_BINARY, SQL_VARBINARY);
      size = std::max<SQLULEN>(bytes.size(), 1);
      break;
    }
    default: {
      // Texts, and whatever else only has a text form.
      std::string utf8 = v.vt() == VT_BSTR ? v.Str() : v.ToText();
      WideString wide = ToWide(utf8);
      if (!sqlType || IsCharacterSql(sqlType))
        sqlType = wide.size() > kLongThreshold / 2 ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
      // As UTF-8 where the connection says so: MariaDB's driver writes some UTF-16 texts with a
      // stray NUL at the end (or refuses them as too long).
      if (connection.TextAsUtf8())
        fixed(utf8.data(), utf8.size(), SQL_C_CHAR, SQL_WVARCHAR);
      else
        fixed(wide.data(), wide.size() * sizeof(char16_t), SQL_C_WCHAR, SQL_WVARCHAR);
      size = std::max<SQLULEN>(wide.size(), 1);
      break;
    }
  }
  SQLRETURN rc =
      SQLBindParameter(stmt, number, SQL_PARAM_INPUT, cType, sqlType, size, digits, data, bufferLength, &indicator);
  connection.CheckStatement(rc, stmt);
}

}  // namespace ado::odbc
