#include "data/ado/postgresql/PgTypes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "data/ado/AdoEnums.h"
#include "data/ado/Decimal.h"
#include "data/ado/GuidText.h"
#include "data/ado/IntegerValues.h"
#include "text/DateScan.h"
#include "text/OleDate.h"

namespace ado::postgresql {
namespace {

// The built-in type OIDs the provider reads as more than text.
enum : Oid {
  kBool = 16,
  kBytea = 17,
  kChar = 18,
  kName = 19,
  kInt8 = 20,
  kInt2 = 21,
  kInt4 = 23,
  kText = 25,
  kOid = 26,
  kXid = 28,
  kCidr = 650,
  kFloat4 = 700,
  kFloat8 = 701,
  kMoney = 790,
  kMacaddr = 829,
  kInet = 869,
  kBpchar = 1042,
  kVarchar = 1043,
  kDate = 1082,
  kTime = 1083,
  kTimestamp = 1114,
  kTimestampTz = 1184,
  kInterval = 1186,
  kBit = 1560,
  kVarbit = 1562,
  kNumeric = 1700,
  kUuid = 2950,
};

MappedType Fixed(int type, long size, int precision, ValueKind kind, int scale = 0) {
  return MappedType{type, size, precision, scale, adFldFixed, kind};
}

MappedType LongText() {
  return MappedType{adLongVarWChar, kLongDefinedSize, 0, 0, adFldLong | adFldMayDefer, ValueKind::Text};
}

// Digits after the second of a time type's modifier (-1: none declared, which is 6).
int FractionDigits(int modifier) {
  return modifier >= 0 ? modifier : 6;
}

template <typename T>
bool Number(const char* text, std::size_t length, T& value) {
  auto [end, ec] = std::from_chars(text, text + length, value);
  return ec == std::errc() && end == text + length;
}

}  // namespace

MappedType MapPgType(Oid type, int modifier) {
  switch (type) {
    case kBool:
      return Fixed(adBoolean, 2, 0, ValueKind::Bool);
    case kInt2:
      return Fixed(adSmallInt, 2, 5, ValueKind::Integer);
    case kInt4:
      return Fixed(adInteger, 4, 10, ValueKind::Integer);
    case kInt8:
      return Fixed(adBigInt, 8, 19, ValueKind::Integer);
    case kOid:
    case kXid:
      return Fixed(adUnsignedInt, 4, 10, ValueKind::Unsigned);
    case kFloat4:
      return Fixed(adSingle, 4, 7, ValueKind::Single);
    case kFloat8:
      return Fixed(adDouble, 8, 15, ValueKind::Double);
    case kNumeric: {
      // The modifier packs precision and scale; an unconstrained numeric has none.
      if (modifier < 4) return Fixed(adNumeric, 19, 28, ValueKind::Numeric, 6);
      const int precision = ((modifier - 4) >> 16) & 0xffff;
      const int scale = (modifier - 4) & 0xffff;
      return Fixed(adNumeric, 19, std::min(precision, 255), ValueKind::Numeric, std::min(scale, 255));
    }
    case kMoney:
      // Its text ("$1,234.56") is no number.
      return MappedType{adVarChar, 64, 0, 0, 0, ValueKind::Text};
    case kDate:
      return Fixed(adDBDate, 6, 10, ValueKind::Date);
    case kTime: {
      const int digits = FractionDigits(modifier);
      return Fixed(adDBTime, 6, 8, ValueKind::Date, digits);
    }
    case kTimestamp:
    case kTimestampTz: {
      const int digits = FractionDigits(modifier);
      return Fixed(adDBTimeStamp, 16, 19 + (digits ? digits + 1 : 0),
                   type == kTimestamp ? ValueKind::DateTime : ValueKind::DateTimeZone, digits);
    }
    case kUuid:
      return Fixed(adGUID, 16, 0, ValueKind::Guid);
    case kInet:
    case kCidr:
      return MappedType{adVarWChar, 50, 0, 0, 0, ValueKind::Text};
    case kMacaddr:
      return MappedType{adVarWChar, 17, 0, 0, 0, ValueKind::Text};
    case kInterval:
      return MappedType{adVarWChar, modifier < 0 ? 32 : 24, 0, 0, 0, ValueKind::Text};
    case kBit:
    case kVarbit:
      return MappedType{adLongVarChar, kLongDefinedSize, 0, 0, adFldLong | adFldMayDefer, ValueKind::Text};
    case kBytea:
      return MappedType{adLongVarBinary, kLongDefinedSize, 0, 0, adFldLong | adFldMayDefer, ValueKind::Bytes};
    case kChar:
      return MappedType{adWChar, 1, 0, 0, adFldFixed, ValueKind::Text};
    case kName:
      return MappedType{adVarWChar, 63, 0, 0, 0, ValueKind::Text};
    case kBpchar:
      if (modifier > 4) return MappedType{adWChar, modifier - 4, 0, 0, adFldFixed, ValueKind::Text};
      return LongText();
    case kVarchar:
      if (modifier > 4) return MappedType{adVarWChar, modifier - 4, 0, 0, 0, ValueKind::Text};
      return LongText();
    case kText:
    default:
      return LongText();
  }
}

bool IsUnconstrainedNumeric(Oid type, int modifier) {
  return type == kNumeric && modifier < 4;
}

int ScaleOfText(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point == std::string_view::npos) return 0;
  std::size_t end = point + 1;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  return static_cast<int>(end - point - 1);
}

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::string DecodeBytea(std::string_view text) {
  std::string bytes;
  if (text.size() >= 2 && text[0] == '\\' && text[1] == 'x') {
    bytes.resize((text.size() - 2) / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      int high = HexDigit(text[2 + 2 * i]), low = HexDigit(text[3 + 2 * i]);
      bytes[i] = static_cast<char>((high << 4) | low);
    }
    return bytes;
  }
  // The escape form (bytea_output = escape): "\\" and three octal digits.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
      bytes.push_back('\\');
      ++i;
    } else if (text[i] == '\\' && i + 3 < text.size()) {
      bytes.push_back(static_cast<char>(((text[i + 1] - '0') << 6) | ((text[i + 2] - '0') << 3) | (text[i + 3] - '0')));
      i += 3;
    } else {
      bytes.push_back(text[i]);
    }
  }
  return bytes;
}

std::optional<double> WallTimeOfZoned(std::string_view text) {
  // "YYYY-MM-DD HH:MM:SS[.f...]±HH[:MM[:SS]]": the offset follows the seconds.
  if (text.size() < 22) return std::nullopt;
  const std::size_t offset = text.find_first_of("+-", 19);
  if (offset == std::string_view::npos) return std::nullopt;
  for (std::size_t i = offset + 1; i < text.size(); ++i)
    if (text[i] != ':' && (text[i] < '0' || text[i] > '9')) return std::nullopt;  // " BC" keeps its text
  return ParseIsoDateTime(text.substr(0, offset));
}

void AppendValue(RowStore::Builder& row, const MappedType& column, const char* text, std::size_t length) {
  const std::string_view view(text, length);
  switch (column.kind) {
    case ValueKind::Integer: {
      std::int64_t v = 0;
      return Number(text, length, v) ? AppendSignedAs(row, column.type, v) : row.Text(view);
    }
    case ValueKind::Unsigned: {
      std::uint64_t v = 0;
      return Number(text, length, v) ? AppendUnsignedAs(row, column.type, v) : row.Text(view);
    }
    case ValueKind::Bool:
      return row.Bool(length > 0 && text[0] == 't');
    case ValueKind::Single:
    case ValueKind::Double: {
      double v = 0;
      // from_chars knows "inf" and "nan" but not the server's "Infinity" and "NaN" spelling.
      if (!Number(text, length, v)) {
        if (view == "Infinity")
          v = HUGE_VAL;
        else if (view == "-Infinity")
          v = -HUGE_VAL;
        else if (view == "NaN")
          v = std::numeric_limits<double>::quiet_NaN();
        else
          return row.Text(view);
      }
      if (column.kind == ValueKind::Single) return row.Real(VT_R4, static_cast<float>(v));
      return row.Real(VT_R8, v);
    }
    case ValueKind::Numeric:
      if (std::optional<Decimal> d = Decimal::Parse(view)) return row.Dec(*d);
      return row.Text(view);  // NaN, or more digits than a decimal holds
    case ValueKind::Date:
    case ValueKind::DateTime:
      if (std::optional<double> date = ParseIsoDateTime(view)) return row.Real(VT_DATE, *date);
      return row.Text(view);  // infinity, a year BC or beyond 9999
    case ValueKind::DateTimeZone:
      if (std::optional<double> date = WallTimeOfZoned(view)) return row.Real(VT_DATE, *date);
      return row.Text(view);
    case ValueKind::Guid:
      return row.Text(GuidText(view));
    case ValueKind::Bytes:
      return row.Bytes(DecodeBytea(view));
    case ValueKind::Text:
      return row.Text(view);
  }
}

std::string ParameterText(const Parameter& parameter, bool& binary) {
  const Variant& v = parameter.value;
  binary = false;
  switch (v.vt()) {
    case VT_BOOL:
      return v.Bool() ? "t" : "f";
    case VT_R4:
    case VT_R8:
      return ShortestDoubleText(v.Real(), '.');
    case VT_CY:
    case VT_DECIMAL:
      return v.ToDecimal().ToString('.');
    case VT_DATE:
      if (parameter.columnType == adDBDate) return FormatIsoDate(v.Real());
      if (parameter.columnType == adDBTime) return FormatIsoTime(v.Real());
      return FormatIsoDateTime(v.Real());
    case VT_BSTR:
      return v.Str();
    default:
      if (v.IsByteArray()) {
        binary = true;
        return v.Str();
      }
      return v.ToText();
  }
}

}  // namespace ado::postgresql
