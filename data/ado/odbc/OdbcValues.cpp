#include "data/ado/odbc/OdbcValues.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "data/ado/AdoEnums.h"
#include "data/ado/Decimal.h"
#include "data/ado/GuidText.h"
#include "data/ado/IntegerValues.h"
#include "data/ado/odbc/OdbcText.h"
#include "text/DateScan.h"
#include "text/OleDate.h"
#include "text/TextUtil.h"

namespace ado::odbc {
namespace {

template <typename T>
T Load(const char* data) {
  T value;
  std::memcpy(&value, data, sizeof value);
  return value;
}

std::string DateText(int year, int month, int day) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
  return buffer;
}

void AppendTimestamp(RowStore::Builder& row, const SQL_TIMESTAMP_STRUCT& t) {
  DateParts parts{t.year, t.month, 0, t.day, t.hour, t.minute, t.second, static_cast<int>(t.fraction / 1000000u)};
  if (std::optional<double> date = PartsToOleDate(parts)) return row.Real(VT_DATE, *date);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%s %02u:%02u:%02u", DateText(t.year, t.month, t.day).c_str(), t.hour, t.minute,
                t.second);
  std::string text = buffer;
  if (t.fraction) {
    std::snprintf(buffer, sizeof buffer, ".%09u", static_cast<unsigned>(t.fraction));
    std::string fraction = buffer;
    while (fraction.back() == '0') fraction.pop_back();
    text += fraction;
  }
  row.Text(text);
}

}  // namespace

void AppendValue(RowStore::Builder& row, ValueKind kind, int adoType, const char* data, std::size_t length) {
  switch (kind) {
    case ValueKind::Integer:
      return AppendSignedAs(row, adoType, Load<SQLBIGINT>(data));
    case ValueKind::Unsigned:
      return AppendUnsignedAs(row, adoType, Load<SQLUBIGINT>(data));
    case ValueKind::Bit:
      return row.Bool(data[0] != 0);
    case ValueKind::Single:
      return row.Real(VT_R4, Load<SQLREAL>(data));
    case ValueKind::Double:
      return row.Real(VT_R8, Load<SQLDOUBLE>(data));
    case ValueKind::Decimal: {
      std::string_view text(data, length);
      if (std::optional<Decimal> d = Decimal::Parse(text)) return row.Dec(*d);
      return row.Text(text);  // NaN, or more digits than a decimal holds
    }
    case ValueKind::Date: {
      auto d = Load<SQL_DATE_STRUCT>(data);
      if (std::optional<double> date = PartsToOleDate(DateParts{d.year, d.month, 0, d.day, 0, 0, 0, 0}))
        return row.Real(VT_DATE, *date);
      return row.Text(DateText(d.year, d.month, d.day));
    }
    case ValueKind::Timestamp:
      return AppendTimestamp(row, Load<SQL_TIMESTAMP_STRUCT>(data));
    case ValueKind::DateTimeText: {
      std::string_view text(data, length);
      if (std::optional<double> time = ParseIsoDateTime(text)) return row.Real(VT_DATE, *time);
      return row.Text(text);
    }
    case ValueKind::Guid:
      return row.Text(GuidText(std::string_view(data, length)));
    case ValueKind::Text: {
      thread_local std::string utf8;
      utf8.clear();
      AppendUtf8(utf8, reinterpret_cast<const char16_t*>(data), length / sizeof(char16_t));
      return row.Text(utf8);
    }
    case ValueKind::Utf8Text: {
      // Bytes that are no UTF-8 (a binary string cast to text) become U+FFFD, as through UTF-16.
      const std::string_view text(data, length);
      if (IsUtf8(text)) return row.Text(text);
      return row.Text(ToUtf8(ToWide(text)));
    }
    case ValueKind::Binary:
      return row.Bytes(std::string_view(data, length));
  }
}

}  // namespace ado::odbc
