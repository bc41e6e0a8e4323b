#include "data/ado/mariadb/MariaSchema.h"

#include <cctype>
#include <cstdlib>

#include "data/ado/AdoEnums.h"
#include "data/ado/MemoryCursor.h"
#include "data/ado/mariadb/MariaTypes.h"

namespace ado::mariadb {
namespace {

Variant TextOrNull(const std::optional<std::string>& text) {
  return text ? Variant(*text) : Variant::Null();
}

Variant NonEmptyOrNull(const std::optional<std::string>& text) {
  return text && !text->empty() ? Variant(*text) : Variant::Null();
}

long long Number(const std::optional<std::string>& text, long long absent = -1) {
  return text && !text->empty() ? std::strtoll(text->c_str(), nullptr, 10) : absent;
}

Variant Unsigned(VARTYPE vt, long long v) {
  return v >= 0 ? Variant::UnsignedInt(vt, static_cast<std::uint64_t>(v)) : Variant::Null();
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool IsDateTime(int t) {
  return t == adDBDate || t == adDBTime || t == adDBTimeStamp || t == adDate;
}

bool IsExactNumber(int t) {
  return t == adNumeric || t == adDecimal || t == adTinyInt || t == adSmallInt || t == adInteger || t == adBigInt ||
         t == adUnsignedTinyInt || t == adUnsignedSmallInt || t == adUnsignedInt || t == adUnsignedBigInt ||
         t == adSingle || t == adDouble || t == adCurrency;
}

// Bytes a value may take as the client receives it: texts come as utf8mb4, four bytes a
// character whatever the column's own character set.
long long OctetLength(const MappedType& t, long long characters, long long octets) {
  if (IsCharacterType(t.type)) return characters >= 0 ? characters * 4 : -1;
  return octets >= 0 ? octets : t.definedSize;
}

}  // namespace

std::unique_ptr<ProviderCursor> TablesRowset(MariaLink& link) {
  MYSQL* m = link.Handle();
  auto cursor = std::make_unique<MemoryCursor>(MemoryCursor::TablesRowsetColumns());
  Rows rows = QueryRows(m,
                        "SELECT TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE, TABLE_COMMENT FROM information_schema.TABLES "
                        "WHERE TABLE_SCHEMA = " +
                            QuoteLiteral(m, link.Database()) + " ORDER BY TABLE_TYPE, TABLE_NAME");
  for (const auto& r : rows) {
    std::string type = Upper(r[2].value_or(""));
    if (type == "BASE TABLE") type = "TABLE";
    const bool describes = r[3] && !r[3]->empty();
    cursor->AddRow({TextOrNull(r[0]), Variant::Null(), TextOrNull(r[1]), Variant(type), Variant::Null(),
                    describes ? Variant(*r[3]) : Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null()});
  }
  return cursor;
}

std::unique_ptr<ProviderCursor> ColumnsRowset(MariaLink& link) {
  MYSQL* m = link.Handle();
  auto cursor = std::make_unique<MemoryCursor>(MemoryCursor::ColumnsRowsetColumns());
  Rows rows = QueryRows(
      m,
      "SELECT TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, ORDINAL_POSITION, COLUMN_DEFAULT, IS_NULLABLE, DATA_TYPE, "
      "COLUMN_TYPE, CHARACTER_MAXIMUM_LENGTH, CHARACTER_OCTET_LENGTH, NUMERIC_PRECISION, NUMERIC_SCALE, "
      "DATETIME_PRECISION, COLUMN_COMMENT FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = " +
          QuoteLiteral(m, link.Database()) + " ORDER BY TABLE_NAME, ORDINAL_POSITION");
  for (const auto& r : rows) {
    ColumnFacts facts = CatalogueFacts(r[6].value_or(""), r[7].value_or(""), Number(r[8]), Number(r[9]), Number(r[10]),
                                       Number(r[11]), Number(r[12]));
    MappedType t = MapColumn(facts);
    const bool isNullable = r[5].value_or("YES") != "NO";
    const long flags = t.attributes | adFldUpdatable | (isNullable ? adFldIsNullable | adFldMayBeNull : 0);
    const bool text = IsCharacterType(t.type) || IsBinaryType(t.type);
    // The catalogue writes the keyword NULL where the default is null.
    const bool hasDefault = r[4] && !r[4]->empty() && *r[4] != "NULL";
    cursor->AddRow({TextOrNull(r[0]), Variant::Null(), TextOrNull(r[1]), TextOrNull(r[2]), Variant::Null(),
                    Variant::Null(), Unsigned(VT_UI4, Number(r[3])), Variant(hasDefault),
                    hasDefault ? Variant(*r[4]) : Variant::Null(),
                    Variant::UnsignedInt(VT_UI4, static_cast<std::uint64_t>(flags)), Variant(isNullable),
                    Variant::UnsignedInt(VT_UI2, static_cast<std::uint64_t>(t.type)), Variant::Null(),
                    text ? Unsigned(VT_UI4, t.definedSize) : Variant::Null(),
                    text ? Unsigned(VT_UI4, OctetLength(t, Number(r[8]), Number(r[9]))) : Variant::Null(),
                    IsExactNumber(t.type) ? Variant::UnsignedInt(VT_UI2, static_cast<std::uint64_t>(t.precision))
                                          : Variant::Null(),
                    t.type == adNumeric ? Variant(static_cast<std::int16_t>(t.scale)) : Variant::Null(),
                    IsDateTime(t.type) ? Unsigned(VT_UI4, Number(r[12])) : Variant::Null(), NonEmptyOrNull(r[13])});
  }
  return cursor;
}

}  // namespace ado::mariadb
