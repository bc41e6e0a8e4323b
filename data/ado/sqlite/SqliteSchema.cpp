#include "data/ado/sqlite/SqliteSchema.h"

#include "data/ado/AdoEnums.h"
#include "data/ado/MemoryCursor.h"
#include "data/ado/sqlite/SqliteCheck.h"
#include "data/ado/sqlite/SqliteTypes.h"

namespace ado::sqlite {
namespace {
Variant TextColumn(sqlite3_stmt* s, int i) {
  const unsigned char* t = sqlite3_column_text(s, i);
  return t ? Variant(reinterpret_cast<const char*>(t)) : Variant::Null();
}

struct TableEntry {
  std::string name;
  std::string type;
};

std::vector<TableEntry> ListTables(sqlite3* db) {
  // Tables first, then views, then SQLite's own tables, each by name, as OLE DB providers order.
  const char* sql =
      "SELECT name, CASE WHEN name LIKE 'sqlite\\_%' ESCAPE '\\' THEN 'SYSTEM TABLE' "
      "WHEN type = 'view' THEN 'VIEW' ELSE 'TABLE' END AS kind FROM sqlite_master "
      "WHERE type IN ('table', 'view') UNION ALL SELECT 'sqlite_master', 'SYSTEM TABLE' "
      "ORDER BY kind, name";
  StatementPtr s = Prepare(db, sql, -1, nullptr);
  std::vector<TableEntry> tables;
  while (Check(db, sqlite3_step(s.get())) == SQLITE_ROW)
    tables.push_back(TableEntry{reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)),
                                reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 1))});
  return tables;
}
}  // namespace

std::unique_ptr<ProviderCursor> TablesRowset(sqlite3* db) {
  auto cursor = std::make_unique<MemoryCursor>(MemoryCursor::TablesRowsetColumns());
  for (const TableEntry& t : ListTables(db)) {
    cursor->AddRow({Variant("main"), Variant::Null(), Variant(t.name), Variant(t.type), Variant::Null(),
                    Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null()});
  }
  return cursor;
}

std::unique_ptr<ProviderCursor> ColumnsRowset(sqlite3* db) {
  auto cursor = std::make_unique<MemoryCursor>(MemoryCursor::ColumnsRowsetColumns());
  for (const TableEntry& t : ListTables(db)) {
    if (t.name == "sqlite_master") continue;
    StatementPtr s =
        Prepare(db, "SELECT cid, name, type, \"notnull\", dflt_value FROM pragma_table_info(?1)", -1, nullptr);
    Check(db, sqlite3_bind_text(s.get(), 1, t.name.c_str(), -1, SQLITE_TRANSIENT));
    while (Check(db, sqlite3_step(s.get())) == SQLITE_ROW) {
      const unsigned char* declared = sqlite3_column_text(s.get(), 2);
      MappedType m = MapDeclaredType(declared ? reinterpret_cast<const char*>(declared) : "", SQLITE_NULL);
      bool isText = m.type == adChar || m.type == adVarChar || m.type == adLongVarChar || m.type == adWChar ||
                    m.type == adVarWChar || m.type == adLongVarWChar;
      bool isNumeric = m.precision > 0;
      Variant defaultValue = TextColumn(s.get(), 4);
      cursor->AddRow(
          {Variant("main"), Variant::Null(), Variant(t.name), TextColumn(s.get(), 1), Variant::Null(), Variant::Null(),
           Variant::UnsignedInt(VT_UI4, static_cast<std::uint64_t>(sqlite3_column_int(s.get(), 0) + 1)),
           Variant(defaultValue.HasValue()), defaultValue,
           Variant::UnsignedInt(VT_UI4, static_cast<std::uint64_t>(m.attributes)),
           Variant(sqlite3_column_int(s.get(), 3) == 0),
           Variant::UnsignedInt(VT_UI2, static_cast<std::uint64_t>(m.type)), Variant::Null(),
           isText ? Variant::UnsignedInt(VT_UI4, static_cast<std::uint64_t>(m.definedSize)) : Variant::Null(),
           isText ? Variant::UnsignedInt(VT_UI4, static_cast<std::uint64_t>(m.definedSize)) : Variant::Null(),
           isNumeric ? Variant::UnsignedInt(VT_UI2, static_cast<std::uint64_t>(m.precision)) : Variant::Null(),
           isNumeric ? Variant(static_cast<std::int16_t>(m.scale)) : Variant::Null(), Variant::Null(),
           Variant::Null()});
    }
  }
  return cursor;
}

}  // namespace ado::sqlite
