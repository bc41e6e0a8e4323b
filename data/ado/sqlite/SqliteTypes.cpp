#include "data/ado/sqlite/SqliteTypes.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "data/ado/AdoEnums.h"
#include "data/ado/sqlite/SqliteCheck.h"
#include "text/DateScan.h"
#include "text/OleDate.h"

namespace ado::sqlite {
namespace {
constexpr long kLongSize = 2147483647;

std::string Upper(const std::string& s) {
  std::string u(s);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

// The numbers in "(p)" or "(p,s)".
void SizeArguments(const std::string& declared, int& first, int& second) {
  first = second = -1;
  auto open = declared.find('(');
  if (open == std::string::npos) return;
  const char* p = declared.c_str() + open + 1;
  char* end = nullptr;
  long a = std::strtol(p, &end, 10);
  if (end == p) return;
  first = static_cast<int>(a);
  while (*end == ' ') ++end;
  if (*end == ',') {
    const char* q = end + 1;
    long b = std::strtol(q, &end, 10);
    if (end != q) second = static_cast<int>(b);
  }
}

bool Has(const std::string& upper, const char* word) {
  return upper.find(word) != std::string::npos;
}

MappedType Fixed(int type, long size, int precision = 0, int scale = 0) {
  return MappedType{type, size, precision, scale, adFldFixed};
}
MappedType Long(int type) {
  return MappedType{type, kLongSize, 0, 0, adFldLong | adFldMayDefer};
}
}  // namespace

MappedType MapDeclaredType(const std::string& declared, int storage) {
  std::string u = Upper(declared);
  int n = -1, s = -1;
  SizeArguments(u, n, s);
  if (u.empty()) {
    switch (storage) {
      case SQLITE_INTEGER:
        return Fixed(adBigInt, 8, 19);
      case SQLITE_FLOAT:
        return Fixed(adDouble, 8, 15);
      case SQLITE_BLOB:
        return Long(adLongVarBinary);
      default:
        return Long(adLongVarChar);
    }
  }
  if (Has(u, "BIGINT")) return Fixed(adBigInt, 8, 19);
  if (Has(u, "SMALLINT")) return Fixed(adSmallInt, 2, 5);
  if (Has(u, "TINYINT")) return Fixed(adTinyInt, 1, 3);
  if (Has(u, "BOOL") || u == "BIT") return Fixed(adBoolean, 2);
  if (Has(u, "INT")) return Fixed(adInteger, 4, 10);
  if (Has(u, "MONEY") || Has(u, "CURRENCY")) return Fixed(adCurrency, 8, 19, 4);
  if (Has(u, "DEC") || Has(u, "NUMERIC")) {
    int precision = n > 0 ? std::min(n, 38) : 38;
    int scale = s >= 0 ? std::min(s, precision) : (n > 0 ? 0 : 10);
    return Fixed(adNumeric, 19, precision, scale);
  }
  if (Has(u, "DOUB") || Has(u, "FLOA") || Has(u, "REAL")) return Fixed(adDouble, 8, 15);
  if (Has(u, "TIMESTAMP") || Has(u, "DATETIME")) return Fixed(adDBTimeStamp, 16, 19);
  if (Has(u, "DATE")) return Fixed(adDBDate, 6, 10);
  if (Has(u, "TIME")) return Fixed(adDBTime, 6, 8);
  if (Has(u, "GUID") || Has(u, "UUID")) return Fixed(adGUID, 16);
  if (Has(u, "NTEXT")) return Long(adLongVarWChar);
  if (Has(u, "TEXT") || Has(u, "CLOB")) return Long(adLongVarChar);
  bool national = u.rfind("N", 0) == 0 || Has(u, "NATIONAL");
  if (Has(u, "VARCHAR") || Has(u, "VARYING")) {
    if (n <= 0) return Long(national ? adLongVarWChar : adLongVarChar);
    return MappedType{national ? adVarWChar : adVarChar, n, 0, 0, 0};
  }
  if (Has(u, "CHAR")) {
    if (n <= 0) n = 1;
    return MappedType{national ? adWChar : adChar, n, 0, 0, adFldFixed};
  }
  if (Has(u, "VARBINARY")) return n > 0 ? MappedType{adVarBinary, n, 0, 0, 0} : Long(adLongVarBinary);
  if (Has(u, "BINARY")) return n > 0 ? MappedType{adBinary, n, 0, 0, adFldFixed} : Long(adLongVarBinary);
  if (Has(u, "BLOB")) return Long(adLongVarBinary);
  // Any other name (JSON, STRING, ...): most such columns hold text.
  return Long(adLongVarChar);
}

namespace {
void AppendNatural(RowStore::Builder& row, sqlite3_stmt* stmt, int index, int storage) {
  switch (storage) {
    case SQLITE_INTEGER:
      return row.Int(VT_I8, sqlite3_column_int64(stmt, index));
    case SQLITE_FLOAT:
      return row.Real(VT_R8, sqlite3_column_double(stmt, index));
    case SQLITE_BLOB: {
      const void* data = sqlite3_column_blob(stmt, index);
      int size = sqlite3_column_bytes(stmt, index);
      return row.Bytes(std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size)));
    }
    case SQLITE_NULL:
      return row.Null();
    default: {
      const unsigned char* text = sqlite3_column_text(stmt, index);
      int size = sqlite3_column_bytes(stmt, index);
      return row.Text(std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size)));
    }
  }
}

std::string_view TextOf(sqlite3_stmt* stmt, int index) {
  const unsigned char* text = sqlite3_column_text(stmt, index);
  int size = sqlite3_column_bytes(stmt, index);
  return std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
}

void AppendInteger(RowStore::Builder& row, sqlite3_stmt* stmt, int index, int storage, VARTYPE vt, std::int64_t lo,
                   std::int64_t hi) {
  if (storage != SQLITE_INTEGER) return AppendNatural(row, stmt, index, storage);
  std::int64_t v = sqlite3_column_int64(stmt, index);
  row.Int(v >= lo && v <= hi ? vt : static_cast<VARTYPE>(VT_I8), v);
}
}  // namespace

void AppendValue(RowStore::Builder& row, sqlite3_stmt* stmt, int index, int adoType, int scale) {
  int storage = sqlite3_column_type(stmt, index);
  if (storage == SQLITE_NULL) return row.Null();
  switch (adoType) {
    case adTinyInt:
      return AppendInteger(row, stmt, index, storage, VT_I1, INT8_MIN, INT8_MAX);
    case adSmallInt:
      return AppendInteger(row, stmt, index, storage, VT_I2, INT16_MIN, INT16_MAX);
    case adInteger:
      return AppendInteger(row, stmt, index, storage, VT_I4, INT32_MIN, INT32_MAX);
    case adBigInt:
      return AppendInteger(row, stmt, index, storage, VT_I8, INT64_MIN, INT64_MAX);
    case adBoolean:
      if (storage == SQLITE_INTEGER) return row.Bool(sqlite3_column_int64(stmt, index) != 0);
      if (storage == SQLITE_TEXT) {
        std::string u = Upper(std::string(TextOf(stmt, index)));
        if (u == "TRUE" || u == "T") return row.Bool(true);
        if (u == "FALSE" || u == "F") return row.Bool(false);
      }
      return AppendNatural(row, stmt, index, storage);
    case adDouble:
      if (storage == SQLITE_FLOAT) return row.Real(VT_R8, sqlite3_column_double(stmt, index));
      if (storage == SQLITE_INTEGER) {
        std::int64_t v = sqlite3_column_int64(stmt, index);
        // Integers that a double cannot hold exactly stay integers.
        if (static_cast<std::int64_t>(static_cast<double>(v)) == v && std::llabs(v) < (1LL << 53))
          return row.Real(VT_R8, static_cast<double>(v));
      }
      return AppendNatural(row, stmt, index, storage);
    case adNumeric:
    case adCurrency: {
      std::optional<Decimal> d;
      if (storage == SQLITE_INTEGER)
        d = Decimal::FromInt64(sqlite3_column_int64(stmt, index));
      else if (storage == SQLITE_FLOAT)
        d = Decimal::FromDouble(sqlite3_column_double(stmt, index));
      else if (storage == SQLITE_TEXT)
        d = Decimal::Parse(TextOf(stmt, index));
      if (!d) return AppendNatural(row, stmt, index, storage);
      if (adoType == adCurrency) {
        if (auto scaled = d->Rescaled(4); scaled && *scaled == *d) {
          Decimal units = *scaled;
          units.scale = 0;
          if (auto i = units.ToInt64()) return row.Int(VT_CY, *i);
        }
        return row.Dec(*d);
      }
      if (d->scale < scale) {
        if (auto widened = d->Rescaled(scale)) d = widened;
      }
      return row.Dec(*d);
    }
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
    case adDate:
      if (storage == SQLITE_TEXT) {
        if (auto date = ParseIsoDateTime(TextOf(stmt, index))) return row.Real(VT_DATE, *date);
      }
      return AppendNatural(row, stmt, index, storage);
    case adLongVarBinary:
    case adVarBinary:
    case adBinary:
      if (storage == SQLITE_BLOB) return AppendNatural(row, stmt, index, storage);
      return AppendNatural(row, stmt, index, storage);
    default:
      if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) {
        // A number in a text column reads as its text, as SQLite itself would show it.
        return row.Text(TextOf(stmt, index));
      }
      return AppendNatural(row, stmt, index, storage);
  }
}

void BindParameter(sqlite3* db, sqlite3_stmt* stmt, int index, const Parameter& parameter) {
  const Variant& v = parameter.value;
  int rc = SQLITE_OK;
  switch (v.vt()) {
    case VT_EMPTY:
    case VT_NULL:
      rc = sqlite3_bind_null(stmt, index);
      break;
    case VT_BOOL:
      rc = sqlite3_bind_int(stmt, index, v.Bool() ? 1 : 0);
      break;
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
      rc = sqlite3_bind_int64(stmt, index, v.Int());
      break;
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      if (v.UInt() <= static_cast<std::uint64_t>(INT64_MAX)) {
        rc = sqlite3_bind_int64(stmt, index, static_cast<std::int64_t>(v.UInt()));
      } else {
        std::string text = std::to_string(v.UInt());
        rc = sqlite3_bind_text(stmt, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      }
      break;
    case VT_R4:
    case VT_R8:
      rc = sqlite3_bind_double(stmt, index, v.Real());
      break;
    case VT_CY:
    case VT_DECIMAL: {
      // Exact digits; SQLite's column affinity decides how to keep them.
      std::string text = v.ToDecimal().ToString('.');
      rc = sqlite3_bind_text(stmt, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      break;
    }
    case VT_DATE: {
      std::string text;
      double d = v.Real();
      bool hasTime = d != std::trunc(d);
      if (parameter.columnType == adDBTime)
        text = FormatIsoTime(d);
      else if (parameter.columnType == adDBDate && !hasTime)
        text = FormatIsoDate(d);
      else
        text = FormatIsoDateTime(d);
      rc = sqlite3_bind_text(stmt, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      break;
    }
    case VT_BSTR:
      rc = sqlite3_bind_text(stmt, index, v.Str().data(), static_cast<int>(v.Str().size()), SQLITE_TRANSIENT);
      break;
    case VT_ARRAY | VT_UI1:
      rc = sqlite3_bind_blob(stmt, index, v.Str().data(), static_cast<int>(v.Str().size()), SQLITE_TRANSIENT);
      break;
    default: {
      std::string text = v.ToText();
      rc = sqlite3_bind_text(stmt, index, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
  }
  Check(db, rc);
}

}  // namespace ado::sqlite
