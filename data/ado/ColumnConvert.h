#pragma once
// The value a column accepts, converted from what the caller put (internal to data/ado).
#include "data/ado/Provider.h"
#include "data/ado/Variant.h"

namespace ado {

// Converts a value to the variant type a column of this ADO type holds; raises ComError
// DB_E_ERRORSOCCURRED with a message naming the column when it does not convert.
Variant ConvertForColumn(const Variant& value, const ColumnInfo& column);

}  // namespace ado
