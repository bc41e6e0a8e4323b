#pragma once
// The schema rowsets of an ODBC data source, read with SQLTables and SQLColumns and given the
// OLE DB column names, TABLE_TYPE values and ADO type codes.
#include <memory>

#include "data/ado/Provider.h"
#include "data/ado/odbc/OdbcConnection.h"

namespace ado::odbc {

// TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE ("TABLE", "VIEW", "SYSTEM TABLE",
// "SYNONYM", ...), TABLE_GUID, DESCRIPTION, TABLE_PROPID, DATE_CREATED, DATE_MODIFIED.
std::unique_ptr<ProviderCursor> TablesRowset(const OdbcConnection& connection);
// TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, COLUMN_GUID, COLUMN_PROPID,
// ORDINAL_POSITION, COLUMN_HASDEFAULT, COLUMN_DEFAULT, COLUMN_FLAGS, IS_NULLABLE, DATA_TYPE,
// TYPE_GUID, CHARACTER_MAXIMUM_LENGTH, CHARACTER_OCTET_LENGTH, NUMERIC_PRECISION, NUMERIC_SCALE,
// DATETIME_PRECISION, DESCRIPTION.
std::unique_ptr<ProviderCursor> ColumnsRowset(const OdbcConnection& connection);

// An ODBC TABLE_TYPE as OLE DB names it ("BASE TABLE" is "TABLE").
std::string OleDbTableType(const std::string& odbcType);

}  // namespace ado::odbc
