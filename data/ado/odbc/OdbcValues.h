#pragma once
// Values as the driver delivered them (in the C type of their fetch plan) appended to a row as
// the Variant types ADO gives: integers of the column's width, exact decimals, dates as
// automation dates, texts as UTF-8. A value the column's type cannot hold without loss (a
// numeric of more than 38 digits, a date before the year 100, a time beyond 24 hours) keeps its
// text, so nothing is ever cut.
#include <string_view>

#include "data/ado/RowStore.h"
#include "data/ado/odbc/OdbcTypes.h"

namespace ado::odbc {

// `data` holds `length` bytes: the C structure or number for fixed kinds, the characters
// without terminator for Decimal, Time and Guid (ASCII) and Text (UTF-16), the bytes for Binary.
void AppendValue(RowStore::Builder& row, ValueKind kind, int adoType, const char* data, std::size_t length);

}  // namespace ado::odbc
