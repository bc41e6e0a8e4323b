#include "data/ado/odbc/OdbcColumns.h"

#include <strings.h>

#include <map>
#include <set>

#include "data/ado/AdoEnums.h"
#include "data/ado/odbc/OdbcParameters.h"
#include "data/ado/odbc/OdbcRead.h"
#include "data/ado/odbc/OdbcText.h"

namespace ado::odbc {
namespace {

struct TableKey {
  std::string catalog;
  std::string schema;
  std::string table;
  auto operator<=>(const TableKey&) const = default;
};

struct RawColumn {
  std::string name;
  SqlColumnType sql;
  SQLSMALLINT nullable = SQL_NULLABLE_UNKNOWN;
  std::string typeName;
  TableKey base;
  std::string baseColumn;
  bool autoIncrement = false;
  SQLLEN updatable = SQL_ATTR_READWRITE_UNKNOWN;
};

RawColumn ReadColumn(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT n) {
  RawColumn c;
  std::vector<SQLWCHAR> name(256);
  SQLSMALLINT nameLength = 0;
  auto describe = [&] {
    return SQLDescribeColW(stmt, n, name.data(), static_cast<SQLSMALLINT>(name.size()), &nameLength, &c.sql.sqlType,
                           &c.sql.columnSize, &c.sql.decimalDigits, &c.nullable);
  };
  SQLRETURN rc = connection.CheckStatement(describe(), stmt);
  if (rc == SQL_SUCCESS_WITH_INFO && static_cast<std::size_t>(nameLength) >= name.size()) {
    name.assign(static_cast<std::size_t>(nameLength) + 1, 0);
    connection.CheckStatement(describe(), stmt);
  }
  c.name = ToUtf8(FromSql(name.data()), WideLength(name.data(), name.size()));
  c.sql.isUnsigned = ColumnNumber(stmt, n, SQL_DESC_UNSIGNED, SQL_FALSE) == SQL_TRUE;
  c.typeName = ColumnText(stmt, n, SQL_DESC_TYPE_NAME);
  // Only the base name: SQL_DESC_TABLE_NAME may be the query's alias for the table.
  c.base.table = ColumnText(stmt, n, SQL_DESC_BASE_TABLE_NAME);
  if (!c.base.table.empty()) {
    c.baseColumn = ColumnText(stmt, n, SQL_DESC_BASE_COLUMN_NAME);
    c.base.schema = ColumnText(stmt, n, SQL_DESC_SCHEMA_NAME);
    c.base.catalog = ColumnText(stmt, n, SQL_DESC_CATALOG_NAME);
  }
  c.autoIncrement = ColumnNumber(stmt, n, SQL_DESC_AUTO_UNIQUE_VALUE, SQL_FALSE) == SQL_TRUE;
  c.updatable = ColumnNumber(stmt, n, SQL_DESC_UPDATABLE, SQL_ATTR_READWRITE_UNKNOWN);
  return c;
}

bool IsCharacterSql(SQLSMALLINT t) {
  return t == SQL_CHAR || t == SQL_VARCHAR || t == SQL_LONGVARCHAR || t == SQL_WCHAR || t == SQL_WVARCHAR ||
         t == SQL_WLONGVARCHAR;
}

// What a result column needs to know of its table, by column name.
struct TableFacts {
  std::set<std::string> keys;
  std::set<std::string> autoIncrement;
};

// The primary key columns through SQLPrimaryKeys.
void ReadPrimaryKeys(const OdbcConnection& connection, const TableKey& table, TableFacts& facts) {
  try {
    Handle stmt = connection.NewStatement();
    WideString catalog = ToWide(table.catalog), schema = ToWide(table.schema), name = ToWide(table.table);
    SQLRETURN rc =
        SQLPrimaryKeysW(stmt.get(), table.catalog.empty() ? nullptr : AsSql(catalog),
                        static_cast<SQLSMALLINT>(catalog.size()), table.schema.empty() ? nullptr : AsSql(schema),
                        static_cast<SQLSMALLINT>(schema.size()), AsSql(name), static_cast<SQLSMALLINT>(name.size()));
    connection.CheckStatement(rc, stmt.get());
    while (connection.CheckStatement(SQLFetch(stmt.get()), stmt.get()) != SQL_NO_DATA)
      if (auto column = GetText(connection, stmt.get(), 4)) facts.keys.insert(*column);
  } catch (const ComError&) {
    // A driver without primary-key information: the engine then finds rows by all their values.
  }
}

// MariaDB drops the auto-increment flag from the result's metadata when the server sorts a join
// through a temporary table; its catalogue still knows, and the keys with it.
bool ReadMySqlFacts(const OdbcConnection& connection, const TableKey& table, TableFacts& facts) {
  try {
    Handle stmt = connection.NewStatement();
    std::string database = table.catalog.empty() ? connection.CurrentCatalog() : table.catalog;
    std::vector<Parameter> parameters{Parameter{Variant(database), 0}, Parameter{Variant(table.table), 0}};
    BoundParameters bound(connection, stmt.get(), parameters);
    WideString sql = ToWide(
        "SELECT COLUMN_NAME, COLUMN_KEY, EXTRA FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = ? AND "
        "TABLE_NAME = ?");
    connection.CheckStatement(SQLExecDirectW(stmt.get(), AsSql(sql), static_cast<SQLINTEGER>(sql.size())), stmt.get());
    while (connection.CheckStatement(SQLFetch(stmt.get()), stmt.get()) != SQL_NO_DATA) {
      std::optional<std::string> name = GetText(connection, stmt.get(), 1);
      std::optional<std::string> key = GetText(connection, stmt.get(), 2);
      std::optional<std::string> extra = GetText(connection, stmt.get(), 3);
      if (!name) continue;
      if (key && *key == "PRI") facts.keys.insert(*name);
      if (extra && ContainsNoCase(*extra, "auto_increment")) facts.autoIncrement.insert(*name);
    }
    return true;
  } catch (const ComError&) {
    return false;
  }
}

TableFacts ReadFacts(const OdbcConnection& connection, const TableKey& table) {
  TableFacts facts;
  if (connection.GetDialect() == Dialect::MySql && ReadMySqlFacts(connection, table, facts)) return facts;
  ReadPrimaryKeys(connection, table, facts);
  return facts;
}

// PostgreSQL's declared type modifiers (-1: no length) of a table's columns. psqlODBC reports a
// character column of no declared length (varchar, json, arrays) with its MaxVarcharSize, which
// would make the column look shorter than its values.
std::map<std::string, long long> PostgresTypeModifiers(const OdbcConnection& connection, const TableKey& table) {
  std::map<std::string, long long> modifiers;
  try {
    Handle stmt = connection.NewStatement();
    std::vector<Parameter> parameters{
        Parameter{Variant(table.schema.empty() ? std::string("public") : table.schema), 0},
        Parameter{Variant(table.table), 0}};
    BoundParameters bound(connection, stmt.get(), parameters);
    WideString sql = ToWide(
        "SELECT a.attname, a.atttypmod FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_class c ON c.oid = "
        "a.attrelid JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE n.nspname = ? AND c.relname = ? "
        "AND a.attnum > 0 AND NOT a.attisdropped");
    connection.CheckStatement(SQLExecDirectW(stmt.get(), AsSql(sql), static_cast<SQLINTEGER>(sql.size())), stmt.get());
    while (connection.CheckStatement(SQLFetch(stmt.get()), stmt.get()) != SQL_NO_DATA) {
      auto name = GetText(connection, stmt.get(), 1);
      auto modifier = GetInteger(connection, stmt.get(), 2);
      if (name && modifier) modifiers[*name] = *modifier;
    }
  } catch (const ComError&) {
    // Without the catalogue the driver's sizes stand.
  }
  return modifiers;
}

}  // namespace

std::vector<DescribedColumn> DescribeResult(const OdbcConnection& connection, SQLHSTMT stmt) {
  SQLSMALLINT count = 0;
  connection.CheckStatement(SQLNumResultCols(stmt, &count), stmt);
  std::vector<RawColumn> raw;
  for (SQLUSMALLINT n = 1; n <= count; ++n) raw.push_back(ReadColumn(connection, stmt, n));

  const bool postgres = connection.GetDialect() == Dialect::PostgreSql;
  std::map<TableKey, TableFacts> facts;
  std::map<TableKey, std::map<std::string, long long>> modifiers;
  for (RawColumn& c : raw) {
    bool hasBase = !c.base.table.empty() && !c.baseColumn.empty();
    if (hasBase && !facts.count(c.base)) facts[c.base] = ReadFacts(connection, c.base);
    if (!postgres) continue;
    // psqlODBC reports money as a float; its text ("$1,234.56") is no number.
    if (strcasecmp(c.typeName.c_str(), "money") == 0) {
      c.sql.sqlType = SQL_VARCHAR;
      c.sql.columnSize = 64;
    }
    if (!IsCharacterSql(c.sql.sqlType)) continue;
    const bool wide = c.sql.sqlType == SQL_WCHAR || c.sql.sqlType == SQL_WVARCHAR || c.sql.sqlType == SQL_WLONGVARCHAR;
    const SQLSMALLINT longType = wide ? SQL_WLONGVARCHAR : SQL_LONGVARCHAR;
    const bool fixedChar = strcasecmp(c.typeName.c_str(), "char") == 0 || strcasecmp(c.typeName.c_str(), "bpchar") == 0;
    const bool declaredLength = fixedChar || strcasecmp(c.typeName.c_str(), "varchar") == 0;
    if (c.sql.columnSize == connection.UnknownVarcharSize()) {
      // The size psqlODBC gives a column of no declared length, or one declared just so long.
      long long modifier = -1;
      if (hasBase) {
        if (!modifiers.count(c.base)) modifiers[c.base] = PostgresTypeModifiers(connection, c.base);
        auto found = modifiers[c.base].find(c.baseColumn);
        if (found != modifiers[c.base].end()) modifier = found->second;
      }
      if (modifier < 0) c.sql.sqlType = longType;
    } else if (declaredLength && c.sql.columnSize > 0 &&
               (c.sql.sqlType == SQL_LONGVARCHAR || c.sql.sqlType == SQL_WLONGVARCHAR)) {
      // psqlODBC calls a declared length beyond its MaxVarcharSize long; it is still a length.
      c.sql.sqlType = fixedChar ? (wide ? SQL_WCHAR : SQL_CHAR) : (wide ? SQL_WVARCHAR : SQL_VARCHAR);
    }
    // PostgreSQL's text has no length limit; psqlODBC reports its MaxLongVarcharSize.
    if (c.sql.sqlType == longType) c.sql.columnSize = 0;
  }

  std::vector<DescribedColumn> described;
  described.reserve(raw.size());
  for (const RawColumn& c : raw) {
    DescribedColumn d;
    MappedType mapped = MapSqlType(c.sql);
    ColumnInfo& info = d.info;
    info.name = c.name;
    info.type = mapped.type;
    info.definedSize = mapped.definedSize;
    info.precision = mapped.precision;
    info.scale = mapped.scale;
    info.attributes = mapped.attributes;
    info.autoIncrement = c.autoIncrement;
    bool hasBase = !c.base.table.empty() && !c.baseColumn.empty();
    if (hasBase) {
      info.baseTableName = Variant(c.base.table);
      info.baseColumnName = Variant(c.baseColumn);
      if (!c.base.catalog.empty()) info.baseCatalogName = Variant(c.base.catalog);
      if (!c.base.schema.empty()) {
        info.baseSchemaName = Variant(c.base.schema);
      } else if (connection.GetDialect() == Dialect::MySql && !c.base.catalog.empty() &&
                 c.base.catalog != connection.CurrentCatalog()) {
        // MySQL's databases are its schemas: a table of another database is written back there.
        info.baseSchemaName = Variant(c.base.catalog);
      }
      const TableFacts& table = facts[c.base];
      info.keyColumn = table.keys.count(c.baseColumn) > 0;
      info.autoIncrement = info.autoIncrement || table.autoIncrement.count(c.baseColumn) > 0;
      if (c.updatable != SQL_ATTR_READONLY) info.attributes |= adFldUpdatable;
    }
    // A key column is never null, whatever the driver says (MariaDB calls its auto-increment
    // keys nullable).
    if (info.keyColumn) {
      info.attributes |= adFldKeyColumn;
    } else if (c.nullable != SQL_NO_NULLS) {
      info.attributes |= adFldIsNullable | adFldMayBeNull;
    }
    d.plan = PlanFetch(c.sql, mapped);
    if (d.plan.kind == ValueKind::Text && connection.TextAsUtf8()) d.plan = Utf8TextPlan(d.plan);
    // psqlODBC has every date as the server's ISO text; read as text, a date the structures cannot
    // hold ('infinity', a year BC) keeps its form. A time zone (timestamptz) is left to the
    // driver, which converts it to local time. (MariaDB's driver has binary dates: structures.)
    if ((d.plan.kind == ValueKind::Date || d.plan.kind == ValueKind::Timestamp) && postgres &&
        !ContainsNoCase(c.typeName, "tz") && !ContainsNoCase(c.typeName, "zone"))
      d.plan = IsoTextPlan();
    described.push_back(std::move(d));
  }
  return described;
}

}  // namespace ado::odbc
