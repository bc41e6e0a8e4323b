#include "data/ado/mariadb/MariaTypes.h"

#include <mariadb_ctype.h>
#include <strings.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "data/ado/AdoEnums.h"
#include "data/ado/Decimal.h"
#include "data/ado/IntegerValues.h"
#include "text/DateScan.h"
#include "text/OleDate.h"
#include "text/TextUtil.h"

namespace ado::mariadb {
namespace {

constexpr unsigned kBinaryCharset = 63;

MappedType Fixed(int type, long size, int precision, ValueKind kind, int scale = 0) {
  return MappedType{type, size, precision, scale, adFldFixed, kind};
}

int Clamp255(unsigned long long v) {
  return static_cast<int>(std::min<unsigned long long>(v, 255));
}

long SizeOrLong(unsigned long long size) {
  return size > 0 && size < static_cast<unsigned long long>(kLongDefinedSize) ? static_cast<long>(size)
                                                                              : kLongDefinedSize;
}

MappedType LongText(const ColumnFacts& f) {
  if (f.isBinary)
    return MappedType{adLongVarBinary, SizeOrLong(f.length), 0, 0, adFldLong | adFldMayDefer, ValueKind::Binary};
  return MappedType{adLongVarWChar, SizeOrLong(f.length), 0, 0, adFldLong | adFldMayDefer, ValueKind::Text};
}

// Bytes that are no UTF-8 become U+FFFD, one per byte (a binary string shown as text).
std::string Repaired(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    if (i + length <= s.size() && IsUtf8(s.substr(i, length))) {
      out.append(s.substr(i, length));
      i += length;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

// A decimal as the server writes it, [-]digits[.digits]: up to 18 digits are gathered in 64 bits;
// anything else is read by the general parser, which gives the same value.
std::optional<Decimal> ServerDecimal(std::string_view text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) i = 1;
  std::uint64_t magnitude = 0;
  int digits = 0, fraction = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (++digits > 18) return Decimal::Parse(text);
      magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
      if (point) ++fraction;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return Decimal::Parse(text);
    }
  }
  if (digits == 0) return Decimal::Parse(text);
  Decimal d;
  d.magnitude = magnitude;
  d.scale = static_cast<std::uint8_t>(fraction);
  d.negative = negative && magnitude != 0;
  return d;
}

}  // namespace

ColumnFacts FactsOf(const MYSQL_FIELD& field) {
  ColumnFacts f;
  f.type = field.type;
  f.decimals = field.decimals;
  f.isUnsigned = (field.flags & UNSIGNED_FLAG) != 0;
  f.isBinary = field.charsetnr == kBinaryCharset;
  f.length = field.length;
  const bool character = field.type == MYSQL_TYPE_STRING || field.type == MYSQL_TYPE_VAR_STRING ||
                         field.type == MYSQL_TYPE_VARCHAR || field.type == MYSQL_TYPE_BLOB ||
                         field.type == MYSQL_TYPE_TINY_BLOB || field.type == MYSQL_TYPE_MEDIUM_BLOB ||
                         field.type == MYSQL_TYPE_LONG_BLOB || field.type == MYSQL_TYPE_JSON ||
                         field.type == MYSQL_TYPE_ENUM || field.type == MYSQL_TYPE_SET;
  if (character && !f.isBinary) {
    const MARIADB_CHARSET_INFO* charset = mariadb_get_charset_by_nr(field.charsetnr);
    const unsigned widest = charset && charset->char_maxlen > 0 ? charset->char_maxlen : 4;
    f.length = field.length / widest;
  }
  return f;
}

ColumnFacts CatalogueFacts(const std::string& dataType, const std::string& columnType, long long characters,
                           long long octets, long long precision, long long scale, long long datetimePrecision) {
  ColumnFacts f;
  const char* t = dataType.c_str();
  auto is = [&](const char* name) { return strcasecmp(t, name) == 0; };
  f.isUnsigned = columnType.find("unsigned") != std::string::npos;
  f.decimals = static_cast<unsigned>(std::max<long long>(0, scale >= 0 ? scale : datetimePrecision));
  if (is("tinyint")) {
    f.type = MYSQL_TYPE_TINY;
  } else if (is("smallint")) {
    f.type = MYSQL_TYPE_SHORT;
  } else if (is("year")) {
    f.type = MYSQL_TYPE_YEAR;
  } else if (is("mediumint")) {
    f.type = MYSQL_TYPE_INT24;
  } else if (is("int") || is("integer")) {
    f.type = MYSQL_TYPE_LONG;
  } else if (is("bigint")) {
    f.type = MYSQL_TYPE_LONGLONG;
  } else if (is("float")) {
    f.type = MYSQL_TYPE_FLOAT;
  } else if (is("double") || is("real")) {
    f.type = MYSQL_TYPE_DOUBLE;
  } else if (is("decimal") || is("numeric")) {
    f.type = MYSQL_TYPE_NEWDECIMAL;
    // A result's length counts sign and point; the catalogue gives the digits.
    f.length = static_cast<unsigned long long>(std::max<long long>(precision, 0)) + (f.decimals ? 1 : 0) +
               (f.isUnsigned ? 0 : 1);
    return f;
  } else if (is("date")) {
    f.type = MYSQL_TYPE_DATE;
    f.length = 10;
    return f;
  } else if (is("time")) {
    f.type = MYSQL_TYPE_TIME;
    f.decimals = static_cast<unsigned>(std::max<long long>(datetimePrecision, 0));
    f.length = 10 + (f.decimals ? f.decimals + 1 : 0);
    return f;
  } else if (is("datetime") || is("timestamp")) {
    f.type = MYSQL_TYPE_DATETIME;
    f.decimals = static_cast<unsigned>(std::max<long long>(datetimePrecision, 0));
    f.length = 19 + (f.decimals ? f.decimals + 1 : 0);
    return f;
  } else if (is("bit")) {
    f.type = MYSQL_TYPE_BIT;
    // The catalogue counts bytes where a result counts bits (BIT(1) stays a boolean).
    const auto bits = static_cast<unsigned long long>(std::max<long long>(precision, 1));
    f.length = bits == 1 ? 1 : std::max<unsigned long long>((bits + 7) / 8, 2);
    return f;
  } else if (is("char") || is("enum") || is("set")) {
    f.type = MYSQL_TYPE_STRING;
  } else if (is("binary")) {
    f.type = MYSQL_TYPE_STRING;
    f.isBinary = true;
  } else if (is("varchar")) {
    f.type = MYSQL_TYPE_VAR_STRING;
  } else if (is("varbinary")) {
    f.type = MYSQL_TYPE_VAR_STRING;
    f.isBinary = true;
  } else if (dataType.size() >= 4 && strcasecmp(t + dataType.size() - 4, "text") == 0) {
    f.type = MYSQL_TYPE_BLOB;
  } else if (is("json")) {
    f.type = MYSQL_TYPE_BLOB;
  } else {
    // Blobs, geometry and what else the server keeps as bytes.
    f.type = MYSQL_TYPE_BLOB;
    f.isBinary = true;
  }
  const long long size = f.isBinary ? (octets >= 0 ? octets : characters) : characters;
  f.length = size > 0 ? static_cast<unsigned long long>(size) : 0;
  if (f.type == MYSQL_TYPE_TINY || f.type == MYSQL_TYPE_SHORT || f.type == MYSQL_TYPE_INT24 ||
      f.type == MYSQL_TYPE_LONG || f.type == MYSQL_TYPE_LONGLONG || f.type == MYSQL_TYPE_YEAR ||
      f.type == MYSQL_TYPE_FLOAT || f.type == MYSQL_TYPE_DOUBLE)
    f.length = static_cast<unsigned long long>(std::max<long long>(precision, 0));
  return f;
}

MappedType MapColumn(const ColumnFacts& f) {
  switch (f.type) {
    case MYSQL_TYPE_BIT:
      // A result gives the number of bits as the size, as ODBC has it.
      if (f.length > 1) return Fixed(adBinary, static_cast<long>(f.length), 0, ValueKind::Binary);
      return Fixed(adBoolean, 2, 0, ValueKind::Bit);
    case MYSQL_TYPE_TINY:
      return f.isUnsigned ? Fixed(adUnsignedTinyInt, 1, 3, ValueKind::Unsigned)
                          : Fixed(adTinyInt, 1, 3, ValueKind::Signed);
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_YEAR:
      return f.isUnsigned ? Fixed(adUnsignedSmallInt, 2, 5, ValueKind::Unsigned)
                          : Fixed(adSmallInt, 2, 5, ValueKind::Signed);
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONG:
      return f.isUnsigned ? Fixed(adUnsignedInt, 4, 10, ValueKind::Unsigned)
                          : Fixed(adInteger, 4, 10, ValueKind::Signed);
    case MYSQL_TYPE_LONGLONG:
      return f.isUnsigned ? Fixed(adUnsignedBigInt, 8, 20, ValueKind::Unsigned)
                          : Fixed(adBigInt, 8, 19, ValueKind::Signed);
    case MYSQL_TYPE_FLOAT:
      return Fixed(adSingle, 4, 7, ValueKind::Single);
    case MYSQL_TYPE_DOUBLE:
      return Fixed(adDouble, 8, 15, ValueKind::Double);
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL: {
      // The result's length counts a sign (unless unsigned) and a point (when there are decimals).
      long long digits = static_cast<long long>(f.length) - (f.decimals ? 1 : 0) - (f.isUnsigned ? 0 : 1);
      return Fixed(adNumeric, 19, Clamp255(static_cast<unsigned long long>(std::max<long long>(digits, 1))),
                   ValueKind::Decimal, Clamp255(f.decimals));
    }
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
      return Fixed(adDBDate, 6, 10, ValueKind::DateTime);
    case MYSQL_TYPE_TIME:
    case MYSQL_TYPE_TIME2:
      // hh:mm:ss and the fraction: the server's length also counts a sign and a third hour digit.
      return Fixed(adDBTime, 6, 8 + (f.decimals > 0 && f.decimals <= 6 ? static_cast<int>(f.decimals) + 1 : 0),
                   ValueKind::DateTime, Clamp255(f.decimals));
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_DATETIME2:
    case MYSQL_TYPE_TIMESTAMP:
    case MYSQL_TYPE_TIMESTAMP2:
      return Fixed(adDBTimeStamp, 16, Clamp255(f.length ? f.length : 19), ValueKind::DateTime, Clamp255(f.decimals));
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_ENUM:
    case MYSQL_TYPE_SET:
      if (f.length == 0 || f.length >= static_cast<unsigned long long>(kLongDefinedSize)) return LongText(f);
      if (f.isBinary) return MappedType{adBinary, static_cast<long>(f.length), 0, 0, adFldFixed, ValueKind::Binary};
      return MappedType{adWChar, static_cast<long>(f.length), 0, 0, adFldFixed, ValueKind::Text};
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
    case MYSQL_TYPE_JSON:
    case MYSQL_TYPE_GEOMETRY:
      if (f.type == MYSQL_TYPE_GEOMETRY) return LongText(ColumnFacts{f.type, f.length, 0, false, true});
      return LongText(f);
    case MYSQL_TYPE_NULL:
      // NULL AS x: no type of its own, read as text (its character set is the binary one).
      return LongText(ColumnFacts{f.type, 0, 0, false, false});
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_VARCHAR:
    default:
      if (f.length == 0 || f.length >= static_cast<unsigned long long>(kLongDefinedSize)) return LongText(f);
      if (f.isBinary) return MappedType{adVarBinary, static_cast<long>(f.length), 0, 0, 0, ValueKind::Binary};
      return MappedType{adVarWChar, static_cast<long>(f.length), 0, 0, 0, ValueKind::Text};
  }
}

bool IsCharacterType(int t) {
  return t == adChar || t == adVarChar || t == adLongVarChar || t == adWChar || t == adVarWChar || t == adLongVarWChar;
}

bool IsBinaryType(int t) {
  return t == adBinary || t == adVarBinary || t == adLongVarBinary;
}

void AppendText(RowStore::Builder& row, ValueKind kind, int adoType, std::string_view text) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  switch (kind) {
    case ValueKind::Signed: {
      long long v = 0;
      if (auto r = std::from_chars(begin, end, v); r.ec == std::errc() && r.ptr == end)
        return AppendSignedAs(row, adoType, v);
      return row.Text(text);
    }
    case ValueKind::Unsigned: {
      unsigned long long v = 0;
      if (auto r = std::from_chars(begin, end, v); r.ec == std::errc() && r.ptr == end)
        return AppendUnsignedAs(row, adoType, v);
      return row.Text(text);
    }
    case ValueKind::Bit: {
      bool set = false;
      for (char c : text) set = set || c != 0;
      return row.Bool(set);
    }
    case ValueKind::Single: {
      float v = 0;
      if (auto r = std::from_chars(begin, end, v); r.ec == std::errc() && r.ptr == end) return row.Real(VT_R4, v);
      return row.Text(text);
    }
    case ValueKind::Double: {
      double v = 0;
      if (auto r = std::from_chars(begin, end, v); r.ec == std::errc() && r.ptr == end) return row.Real(VT_R8, v);
      return row.Text(text);
    }
    case ValueKind::Decimal:
      if (std::optional<Decimal> d = ServerDecimal(text)) return row.Dec(*d);
      return row.Text(text);
    case ValueKind::DateTime:
      if (std::optional<double> date = ParseIsoDateTime(text)) return row.Real(VT_DATE, *date);
      return row.Text(text);
    case ValueKind::Text:
      if (IsUtf8(text)) return row.Text(text);
      return row.Text(Repaired(text));
    case ValueKind::Binary:
      return row.Bytes(text);
  }
}

BoundParameters::BoundParameters(const std::vector<Parameter>& parameters) : binds_(parameters.size()) {
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    std::memset(&binds_[i], 0, sizeof(MYSQL_BIND));
    Bind(binds_[i], parameters[i]);
  }
}

void BoundParameters::BindText(MYSQL_BIND& b, enum_field_types type, std::string text) {
  std::string& kept = texts_.emplace_back(std::move(text));
  b.buffer_type = type;
  b.buffer = kept.data();
  b.buffer_length = kept.size();
  b.length = &lengths_.emplace_back(kept.size());
}

void BoundParameters::Bind(MYSQL_BIND& b, const Parameter& parameter) {
  const Variant& v = parameter.value;
  switch (v.vt()) {
    case VT_EMPTY:
    case VT_NULL:
      b.buffer_type = MYSQL_TYPE_NULL;
      return;
    case VT_BOOL:
      b.buffer_type = MYSQL_TYPE_TINY;
      b.buffer = &tiny_.emplace_back(static_cast<signed char>(v.Bool() ? 1 : 0));
      return;
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_INT:
      b.buffer_type = MYSQL_TYPE_LONGLONG;
      b.buffer = &integers_.emplace_back(static_cast<long long>(v.Int()));
      return;
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_UINT:
      b.buffer_type = MYSQL_TYPE_LONGLONG;
      b.is_unsigned = 1;
      b.buffer = &integers_.emplace_back(static_cast<long long>(v.UInt()));
      return;
    case VT_R4:
      // As a float, so that it equals the FLOAT column it was read from.
      b.buffer_type = MYSQL_TYPE_FLOAT;
      b.buffer = &floats_.emplace_back(static_cast<float>(v.Real()));
      return;
    case VT_R8:
      b.buffer_type = MYSQL_TYPE_DOUBLE;
      b.buffer = &doubles_.emplace_back(v.Real());
      return;
    case VT_CY:
    case VT_DECIMAL:
      return BindText(b, MYSQL_TYPE_NEWDECIMAL, v.ToDecimal().ToString());
    case VT_DATE: {
      std::optional<DateParts> parts = OleDateToParts(v.Real());
      if (!parts) return BindText(b, MYSQL_TYPE_STRING, v.ToText());
      MYSQL_TIME& t = times_.emplace_back();
      std::memset(&t, 0, sizeof t);
      const int column = parameter.columnType;
      if (column == adDBTime) {
        t.time_type = MYSQL_TIMESTAMP_TIME;
        b.buffer_type = MYSQL_TYPE_TIME;
      } else if (column == adDBDate) {
        t.time_type = MYSQL_TIMESTAMP_DATE;
        b.buffer_type = MYSQL_TYPE_DATE;
      } else {
        t.time_type = MYSQL_TIMESTAMP_DATETIME;
        b.buffer_type = MYSQL_TYPE_DATETIME;
      }
      if (column != adDBTime) {
        t.year = static_cast<unsigned>(parts->year);
        t.month = static_cast<unsigned>(parts->month);
        t.day = static_cast<unsigned>(parts->day);
      }
      if (column != adDBDate) {
        t.hour = static_cast<unsigned>(parts->hour);
        t.minute = static_cast<unsigned>(parts->minute);
        t.second = static_cast<unsigned>(parts->second);
        t.second_part = static_cast<unsigned long>(parts->millisecond) * 1000u;
      }
      b.buffer = &t;
      return;
    }
    case VT_BSTR:
      return BindText(b, MYSQL_TYPE_STRING, v.Str());
    default:
      if (v.IsByteArray()) return BindText(b, MYSQL_TYPE_BLOB, v.Str());
      return BindText(b, MYSQL_TYPE_STRING, v.ToText());
  }
}

}  // namespace ado::mariadb
