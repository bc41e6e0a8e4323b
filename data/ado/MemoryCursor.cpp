#include "data/ado/MemoryCursor.h"

#include "data/ado/AdoEnums.h"

namespace ado {

ColumnInfo MemoryCursor::Column(const char* name, int type, long size) {
  ColumnInfo c;
  c.name = name;
  c.type = type;
  c.definedSize = size;
  c.attributes = adFldIsNullable | adFldMayBeNull;
  if (type == adInteger || type == adUnsignedInt || type == adBoolean || type == adSmallInt ||
      type == adUnsignedSmallInt || type == adBigInt || type == adUnsignedBigInt)
    c.attributes |= adFldFixed;
  return c;
}

std::vector<ColumnInfo> MemoryCursor::TablesRowsetColumns() {
  using C = MemoryCursor;
  return {C::Column("TABLE_CATALOG", adVarWChar, 128), C::Column("TABLE_SCHEMA", adVarWChar, 128),
          C::Column("TABLE_NAME", adVarWChar, 128),    C::Column("TABLE_TYPE", adVarWChar, 128),
          C::Column("TABLE_GUID", adGUID, 16),         C::Column("DESCRIPTION", adVarWChar, 255),
          C::Column("TABLE_PROPID", adUnsignedInt, 4), C::Column("DATE_CREATED", adDate, 8),
          C::Column("DATE_MODIFIED", adDate, 8)};
}

std::vector<ColumnInfo> MemoryCursor::ColumnsRowsetColumns() {
  using C = MemoryCursor;
  return {C::Column("TABLE_CATALOG", adVarWChar, 128),
          C::Column("TABLE_SCHEMA", adVarWChar, 128),
          C::Column("TABLE_NAME", adVarWChar, 128),
          C::Column("COLUMN_NAME", adVarWChar, 128),
          C::Column("COLUMN_GUID", adGUID, 16),
          C::Column("COLUMN_PROPID", adUnsignedInt, 4),
          C::Column("ORDINAL_POSITION", adUnsignedInt, 4),
          C::Column("COLUMN_HASDEFAULT", adBoolean, 2),
          C::Column("COLUMN_DEFAULT", adVarWChar, 255),
          C::Column("COLUMN_FLAGS", adUnsignedInt, 4),
          C::Column("IS_NULLABLE", adBoolean, 2),
          C::Column("DATA_TYPE", adUnsignedSmallInt, 2),
          C::Column("TYPE_GUID", adGUID, 16),
          C::Column("CHARACTER_MAXIMUM_LENGTH", adUnsignedInt, 4),
          C::Column("CHARACTER_OCTET_LENGTH", adUnsignedInt, 4),
          C::Column("NUMERIC_PRECISION", adUnsignedSmallInt, 2),
          C::Column("NUMERIC_SCALE", adSmallInt, 2),
          C::Column("DATETIME_PRECISION", adUnsignedInt, 4),
          C::Column("DESCRIPTION", adVarWChar, 255)};
}

}  // namespace ado
