#include "data/ado/IntegerValues.h"

#include "data/ado/AdoEnums.h"

namespace ado {

void AppendSignedAs(RowStore::Builder& row, int adoType, std::int64_t v) {
  VARTYPE vt = VT_I8;
  if (adoType == adTinyInt && v >= INT8_MIN && v <= INT8_MAX)
    vt = VT_I1;
  else if (adoType == adSmallInt && v >= INT16_MIN && v <= INT16_MAX)
    vt = VT_I2;
  else if (adoType == adInteger && v >= INT32_MIN && v <= INT32_MAX)
    vt = VT_I4;
  row.Int(vt, v);
}

void AppendUnsignedAs(RowStore::Builder& row, int adoType, std::uint64_t v) {
  VARTYPE vt = VT_UI8;
  if (adoType == adUnsignedTinyInt && v <= UINT8_MAX)
    vt = VT_UI1;
  else if (adoType == adUnsignedSmallInt && v <= UINT16_MAX)
    vt = VT_UI2;
  else if (adoType == adUnsignedInt && v <= UINT32_MAX)
    vt = VT_UI4;
  row.UInt(vt, v);
}

}  // namespace ado
