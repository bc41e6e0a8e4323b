#include "data/ado/odbc/OdbcSchema.h"

#include <strings.h>

#include <cctype>

#include "data/ado/AdoEnums.h"
#include "data/ado/MemoryCursor.h"
#include "data/ado/odbc/OdbcRead.h"
#include "data/ado/odbc/OdbcText.h"
#include "data/ado/odbc/OdbcTypes.h"

namespace ado::odbc {
namespace {

Variant TextOrNull(const std::optional<std::string>& text) {
  return text ? Variant(*text) : Variant::Null();
}

Variant Unsigned(VARTYPE vt, std::optional<long long> v) {
  return v && *v >= 0 ? Variant::UnsignedInt(vt, static_cast<std::uint64_t>(*v)) : Variant::Null();
}

void Fetching(const OdbcConnection& connection, SQLHSTMT stmt, SQLRETURN rc) {
  connection.CheckStatement(rc, stmt);
}

// MariaDB's driver lists every database's tables when no catalog is named; ADO's users expect
// those of the database they connected to, as MySQL's own driver gives them.
WideString CatalogRestriction(const OdbcConnection& connection) {
  return connection.GetDialect() == Dialect::MySql ? ToWide(connection.CurrentCatalog()) : WideString();
}

// psqlODBC lists the columns of its catalogue schemas, whose tables its table list leaves out.
bool IsHiddenSchema(const OdbcConnection& connection, const std::optional<std::string>& schema) {
  return connection.GetDialect() == Dialect::PostgreSql && schema &&
         (*schema == "pg_catalog" || *schema == "information_schema");
}

bool IsDateTime(int t) {
  return t == adDBDate || t == adDBTime || t == adDBTimeStamp || t == adDate;
}
bool IsExactNumber(int t) {
  return t == adNumeric || t == adDecimal || t == adTinyInt || t == adSmallInt || t == adInteger || t == adBigInt ||
         t == adUnsignedTinyInt || t == adUnsignedSmallInt || t == adUnsignedInt || t == adUnsignedBigInt ||
         t == adSingle || t == adDouble || t == adCurrency;
}

}  // namespace

std::string OleDbTableType(const std::string& odbcType) {
  std::string upper;
  for (char c : odbcType) upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
  if (upper == "BASE TABLE") return "TABLE";
  return upper;
}

std::unique_ptr<ProviderCursor> TablesRowset(const OdbcConnection& connection) {
  NumericLocaleScope locale;
  auto cursor = std::make_unique<MemoryCursor>(MemoryCursor::TablesRowsetColumns());
  Handle stmt = connection.NewStatement();
  SQLHSTMT s = stmt.get();
  WideString restriction = CatalogRestriction(connection);
  Fetching(connection, s,
           SQLTablesW(s, restriction.empty() ? nullptr : AsSql(restriction),
                      static_cast<SQLSMALLINT>(restriction.size()), nullptr, 0, nullptr, 0, nullptr, 0));
  while (connection.CheckStatement(SQLFetch(s), s) != SQL_NO_DATA) {
    std::optional<std::string> catalog = GetText(connection, s, 1);
    std::optional<std::string> schema = GetText(connection, s, 2);
    std::optional<std::string> name = GetText(connection, s, 3);
    std::optional<std::string> type = GetText(connection, s, 4);
    std::optional<std::string> remarks = GetText(connection, s, 5);
    cursor->AddRow({TextOrNull(catalog), TextOrNull(schema), TextOrNull(name),
                    type ? Variant(OleDbTableType(*type)) : Variant::Null(), Variant::Null(),
                    remarks && !remarks->empty() ? Variant(*remarks) : Variant::Null(), Variant::Null(),
                    Variant::Null(), Variant::Null()});
  }
  return cursor;
}

std::unique_ptr<ProviderCursor> ColumnsRowset(const OdbcConnection& connection) {
  NumericLocaleScope locale;
  auto cursor = std::make_unique<MemoryCursor>(MemoryCursor::ColumnsRowsetColumns());
  Handle stmt = connection.NewStatement();
  SQLHSTMT s = stmt.get();
  WideString restriction = CatalogRestriction(connection);
  Fetching(connection, s,
           SQLColumnsW(s, restriction.empty() ? nullptr : AsSql(restriction),
                       static_cast<SQLSMALLINT>(restriction.size()), nullptr, 0, nullptr, 0, nullptr, 0));
  // Positions are counted here: psqlODBC numbers the columns across the whole result when no
  // table is named. Drivers list each table's columns in order, so the count is the position.
  std::string lastTable;
  long long position = 0;
  while (connection.CheckStatement(SQLFetch(s), s) != SQL_NO_DATA) {
    // In column order: drivers need not allow SQLGetData backwards.
    std::optional<std::string> catalog = GetText(connection, s, 1);
    std::optional<std::string> schema = GetText(connection, s, 2);
    std::optional<std::string> table = GetText(connection, s, 3);
    std::optional<std::string> column = GetText(connection, s, 4);
    std::optional<long long> dataType = GetInteger(connection, s, 5);
    std::optional<std::string> typeName = GetText(connection, s, 6);
    std::optional<long long> size = GetInteger(connection, s, 7);
    std::optional<long long> digits = GetInteger(connection, s, 9);
    std::optional<long long> nullable = GetInteger(connection, s, 11);
    std::optional<std::string> remarks = GetText(connection, s, 12);
    std::optional<std::string> defaultValue = GetText(connection, s, 13);
    std::optional<long long> octets = GetInteger(connection, s, 16);
    if (IsHiddenSchema(connection, schema)) continue;
    std::string tableKey = catalog.value_or("") + '\x1f' + schema.value_or("") + '\x1f' + table.value_or("");
    position = tableKey == lastTable ? position + 1 : 1;
    lastTable = tableKey;
    std::optional<long long> ordinal = position;

    SqlColumnType sql;
    sql.sqlType = static_cast<SQLSMALLINT>(dataType.value_or(SQL_UNKNOWN_TYPE));
    sql.columnSize = size && *size > 0 ? static_cast<SQLULEN>(*size) : 0;
    sql.decimalDigits = static_cast<SQLSMALLINT>(digits.value_or(0));
    sql.isUnsigned = typeName && ContainsNoCase(*typeName, "unsigned");
    MappedType m = MapSqlType(sql);
    bool isNullable = nullable.value_or(SQL_NULLABLE_UNKNOWN) != SQL_NO_NULLS;
    long flags = m.attributes | adFldUpdatable | (isNullable ? adFldIsNullable | adFldMayBeNull : 0);
    bool text = IsCharacterType(m.type) || IsBinaryType(m.type);
    // ODBC's COLUMN_DEF is the keyword NULL where the default is null (MariaDB says so for
    // every nullable column without one).
    bool hasDefault = defaultValue && !defaultValue->empty() && *defaultValue != "NULL";
    cursor->AddRow({TextOrNull(catalog), TextOrNull(schema), TextOrNull(table), TextOrNull(column), Variant::Null(),
                    Variant::Null(), Unsigned(VT_UI4, ordinal), Variant(hasDefault),
                    hasDefault ? Variant(*defaultValue) : Variant::Null(),
                    Variant::UnsignedInt(VT_UI4, static_cast<std::uint64_t>(flags)), Variant(isNullable),
                    Variant::UnsignedInt(VT_UI2, static_cast<std::uint64_t>(m.type)), Variant::Null(),
                    text ? Unsigned(VT_UI4, static_cast<long long>(m.definedSize)) : Variant::Null(),
                    text ? Unsigned(VT_UI4, octets) : Variant::Null(),
                    IsExactNumber(m.type) ? Variant::UnsignedInt(VT_UI2, static_cast<std::uint64_t>(m.precision))
                                          : Variant::Null(),
                    m.type == adNumeric ? Variant(static_cast<std::int16_t>(m.scale)) : Variant::Null(),
                    IsDateTime(m.type) ? Unsigned(VT_UI4, digits) : Variant::Null(),
                    remarks && !remarks->empty() ? Variant(*remarks) : Variant::Null()});
  }
  return cursor;
}

}  // namespace ado::odbc
