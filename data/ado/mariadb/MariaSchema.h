#pragma once
// The schema rowsets of the connected database, read from information_schema and given the
// OLE DB column names, TABLE_TYPE values and the ADO type codes result columns get.
#include <memory>

#include "data/ado/Provider.h"
#include "data/ado/mariadb/MariaLink.h"

namespace ado::mariadb {

// TABLE_CATALOG (the database), TABLE_SCHEMA (null), TABLE_NAME, TABLE_TYPE ("TABLE", "VIEW",
// "SYSTEM VIEW"), TABLE_GUID, DESCRIPTION, TABLE_PROPID, DATE_CREATED, DATE_MODIFIED.
std::unique_ptr<ProviderCursor> TablesRowset(MariaLink& link);
// TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, COLUMN_GUID, COLUMN_PROPID,
// ORDINAL_POSITION, COLUMN_HASDEFAULT, COLUMN_DEFAULT, COLUMN_FLAGS, IS_NULLABLE, DATA_TYPE,
// TYPE_GUID, CHARACTER_MAXIMUM_LENGTH, CHARACTER_OCTET_LENGTH, NUMERIC_PRECISION, NUMERIC_SCALE,
// DATETIME_PRECISION, DESCRIPTION.
std::unique_ptr<ProviderCursor> ColumnsRowset(MariaLink& link);

}  // namespace ado::mariadb
