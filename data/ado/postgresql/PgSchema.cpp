#include "data/ado/postgresql/PgSchema.h"

#include <cstdlib>

#include "data/ado/AdoEnums.h"
#include "data/ado/MemoryCursor.h"
#include "data/ado/postgresql/PgCheck.h"
#include "data/ado/postgresql/PgTypes.h"

namespace ado::postgresql {
namespace {

ResultPtr Query(PGconn* connection, const char* sql, const std::string& parameter = {}) {
  const char* values[1] = {parameter.c_str()};
  return Check(connection, PQexecParams(connection, sql, parameter.empty() ? 0 : 1, nullptr,
                                        parameter.empty() ? nullptr : values, nullptr, nullptr, 0));
}

std::string Text(const PGresult* r, int row, int column) {
  return PQgetvalue(r, row, column);
}

Variant TextOrNull(const PGresult* r, int row, int column) {
  return PQgetisnull(r, row, column) ? Variant::Null() : Variant(Text(r, row, column));
}

bool Flag(const PGresult* r, int row, int column) {
  return !PQgetisnull(r, row, column) && PQgetvalue(r, row, column)[0] == 't';
}

Variant Unsigned(VARTYPE vt, long long v) {
  return v >= 0 ? Variant::UnsignedInt(vt, static_cast<std::uint64_t>(v)) : Variant::Null();
}

bool IsText(int t) {
  return t == adChar || t == adVarChar || t == adLongVarChar || t == adWChar || t == adVarWChar ||
         t == adLongVarWChar || t == adBinary || t == adVarBinary || t == adLongVarBinary;
}

// Dates have no fractions of a second to count.
bool HasFractions(int t) {
  return t == adDBTime || t == adDBTimeStamp || t == adDate;
}

// Octets of a character column of bounded length, in UTF-16 as OLE DB counts them.
Variant OctetLength(const MappedType& m) {
  if (!IsText(m.type) || m.type == adBinary || m.type == adVarBinary || m.type == adLongVarBinary)
    return Variant::Null();
  const bool wide = m.type == adWChar || m.type == adVarWChar;
  return Unsigned(VT_UI4, wide ? 2LL * m.definedSize : m.definedSize);
}

bool IsExactNumber(int t) {
  return t == adNumeric || t == adSmallInt || t == adInteger || t == adBigInt || t == adUnsignedInt || t == adSingle ||
         t == adDouble;
}

// The user's relations: tables, views, materialized views, foreign and partitioned tables, outside
// the catalogue's schemas.
const char* const kRelations =
    "c.relkind IN ('r', 'v', 'm', 'f', 'p') AND n.nspname NOT IN ('pg_catalog', 'information_schema') AND "
    "n.nspname NOT LIKE 'pg\\_toast%' AND n.nspname NOT LIKE 'pg\\_temp%' AND pg_catalog.has_table_privilege(c.oid, "
    "'SELECT')";

}  // namespace

std::map<Oid, TableFacts> ReadTableFacts(PGconn* connection, const std::vector<Oid>& tables) {
  std::string list = "{";
  for (Oid t : tables) list += (list.size() > 1 ? "," : "") + std::to_string(t);
  list += "}";
  ResultPtr r = Query(connection,
                      "SELECT c.oid, n.nspname, c.relname, c.relkind IN ('r', 'p', 'f'), a.attnum, a.attname, "
                      "a.attnotnull, COALESCE(a.attnum = ANY (i.indkey), false), a.attidentity <> '' OR "
                      "COALESCE(pg_catalog.pg_get_expr(d.adbin, d.adrelid) LIKE 'nextval(%', false) "
                      "FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
                      "JOIN pg_catalog.pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped "
                      "LEFT JOIN pg_catalog.pg_attrdef d ON d.adrelid = c.oid AND d.adnum = a.attnum "
                      "LEFT JOIN pg_catalog.pg_index i ON i.indrelid = c.oid AND i.indisprimary "
                      "WHERE c.oid = ANY ($1::oid[])",
                      list);
  std::map<Oid, TableFacts> facts;
  for (int row = 0; row < PQntuples(r.get()); ++row) {
    const Oid oid = static_cast<Oid>(std::strtoul(PQgetvalue(r.get(), row, 0), nullptr, 10));
    TableFacts& t = facts[oid];
    t.schema = Text(r.get(), row, 1);
    t.name = Text(r.get(), row, 2);
    t.isTable = Flag(r.get(), row, 3);
    ColumnFacts& c = t.columns[std::atoi(PQgetvalue(r.get(), row, 4))];
    c.name = Text(r.get(), row, 5);
    c.notNull = Flag(r.get(), row, 6);
    c.key = Flag(r.get(), row, 7);
    c.autoIncrement = Flag(r.get(), row, 8);
  }
  return facts;
}

std::unique_ptr<ProviderCursor> TablesRowset(PGconn* connection) {
  auto cursor = std::make_unique<MemoryCursor>(MemoryCursor::TablesRowsetColumns());
  ResultPtr r =
      Query(connection, (std::string("SELECT pg_catalog.current_database(), n.nspname, c.relname, CASE WHEN c.relkind "
                                     "IN ('v', 'm') THEN 'VIEW' ELSE 'TABLE' END AS kind, "
                                     "pg_catalog.obj_description(c.oid, 'pg_class') FROM pg_catalog.pg_class c JOIN "
                                     "pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE ") +
                         kRelations + " ORDER BY kind, n.nspname, c.relname")
                            .c_str());
  for (int row = 0; row < PQntuples(r.get()); ++row) {
    Variant description = TextOrNull(r.get(), row, 4);
    if (description.HasValue() && description.Str().empty()) description = Variant::Null();
    cursor->AddRow({TextOrNull(r.get(), row, 0), TextOrNull(r.get(), row, 1), TextOrNull(r.get(), row, 2),
                    TextOrNull(r.get(), row, 3), Variant::Null(), description, Variant::Null(), Variant::Null(),
                    Variant::Null()});
  }
  return cursor;
}

std::unique_ptr<ProviderCursor> ColumnsRowset(PGconn* connection) {
  auto cursor = std::make_unique<MemoryCursor>(MemoryCursor::ColumnsRowsetColumns());
  ResultPtr r = Query(connection,
                      (std::string("SELECT pg_catalog.current_database(), n.nspname, c.relname, a.attname, a.attnum, "
                                   "pg_catalog.pg_get_expr(d.adbin, d.adrelid), a.attnotnull, a.atttypid, a.atttypmod, "
                                   "pg_catalog.col_description(c.oid, a.attnum) FROM pg_catalog.pg_class c JOIN "
                                   "pg_catalog.pg_namespace n ON n.oid = c.relnamespace JOIN pg_catalog.pg_attribute a "
                                   "ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped LEFT JOIN "
                                   "pg_catalog.pg_attrdef d ON d.adrelid = c.oid AND d.adnum = a.attnum WHERE ") +
                       kRelations + " ORDER BY n.nspname, c.relname, a.attnum")
                          .c_str());
  std::string lastTable;
  long long position = 0;
  for (int row = 0; row < PQntuples(r.get()); ++row) {
    const std::string table = Text(r.get(), row, 1) + '\x1f' + Text(r.get(), row, 2);
    position = table == lastTable ? position + 1 : 1;
    lastTable = table;
    MappedType m = MapPgType(static_cast<Oid>(std::strtoul(PQgetvalue(r.get(), row, 7), nullptr, 10)),
                             std::atoi(PQgetvalue(r.get(), row, 8)));
    const bool nullable = !Flag(r.get(), row, 6);
    const long flags = m.attributes | adFldUpdatable | (nullable ? adFldIsNullable | adFldMayBeNull : 0);
    Variant defaultValue = TextOrNull(r.get(), row, 5);
    Variant description = TextOrNull(r.get(), row, 9);
    if (description.HasValue() && description.Str().empty()) description = Variant::Null();
    cursor->AddRow({TextOrNull(r.get(), row, 0), TextOrNull(r.get(), row, 1), TextOrNull(r.get(), row, 2),
                    TextOrNull(r.get(), row, 3), Variant::Null(), Variant::Null(), Unsigned(VT_UI4, position),
                    Variant(defaultValue.HasValue()), defaultValue,
                    Variant::UnsignedInt(VT_UI4, static_cast<std::uint64_t>(flags)), Variant(nullable),
                    Variant::UnsignedInt(VT_UI2, static_cast<std::uint64_t>(m.type)), Variant::Null(),
                    IsText(m.type) ? Unsigned(VT_UI4, m.definedSize) : Variant::Null(), OctetLength(m),
                    IsExactNumber(m.type) ? Variant::UnsignedInt(VT_UI2, static_cast<std::uint64_t>(m.precision))
                                          : Variant::Null(),
                    m.type == adNumeric ? Variant(static_cast<std::int16_t>(m.scale)) : Variant::Null(),
                    HasFractions(m.type) ? Unsigned(VT_UI4, m.scale) : Variant::Null(), description});
  }
  return cursor;
}

}  // namespace ado::postgresql
