#pragma once
// The catalogue of a PostgreSQL database: the tables behind a result (names, keys, identity and
// serial columns, NOT NULL) and the adSchemaTables and adSchemaColumns rowsets with the OLE DB
// column names and the ADO types the provider gives.
#include <libpq-fe.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/ado/Provider.h"

namespace ado::postgresql {

struct ColumnFacts {
  std::string name;
  bool notNull = false;
  bool key = false;
  bool autoIncrement = false;  // identity or serial (a nextval default)
};

struct TableFacts {
  std::string schema;
  std::string name;
  bool isTable = false;                // a table (or partitioned table) rather than a view
  std::map<int, ColumnFacts> columns;  // by attribute number
};

// The facts of the tables with these OIDs (those that exist); raises ComError.
std::map<Oid, TableFacts> ReadTableFacts(PGconn* connection, const std::vector<Oid>& tables);

// TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE, TABLE_GUID, DESCRIPTION, TABLE_PROPID,
// DATE_CREATED, DATE_MODIFIED; the user's tables and views, not the catalogue's own.
std::unique_ptr<ProviderCursor> TablesRowset(PGconn* connection);
// The columns rowset for the same tables.
std::unique_ptr<ProviderCursor> ColumnsRowset(PGconn* connection);

}  // namespace ado::postgresql
