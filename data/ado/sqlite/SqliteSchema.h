#pragma once
// The schema rowsets of a SQLite database with the OLE DB column names.
#include <sqlite3.h>

#include <memory>

#include "data/ado/Provider.h"

namespace ado::sqlite {

// TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE ("TABLE", "VIEW", "SYSTEM TABLE"), ...
std::unique_ptr<ProviderCursor> TablesRowset(sqlite3* db);
// TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, ..., ORDINAL_POSITION, ..., DATA_TYPE, ...
std::unique_ptr<ProviderCursor> ColumnsRowset(sqlite3* db);

}  // namespace ado::sqlite
