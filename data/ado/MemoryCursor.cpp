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

}  // namespace ado
