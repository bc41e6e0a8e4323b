#pragma once
// SQLite's declared column types as ADO types, SQLite values as variants, and variants as
// statement parameters.
#include <sqlite3.h>

#include <string>

#include "data/ado/Provider.h"

namespace ado::sqlite {

struct MappedType {
  int type = 0;
  long definedSize = 0;
  int precision = 0;
  int scale = 0;
  long attributes = 0;  // adFldFixed and adFldLong as the type implies
};

// declared: the column's declared type ("VARCHAR(40)", "DECIMAL(10,2)", or empty); storage: the
// SQLite storage class of the first value, used when nothing is declared.
MappedType MapDeclaredType(const std::string& declared, int storage);

// Appends column `index` of the current row, read as the ADO type says. A stored value that the
// type cannot hold without loss keeps its own form (an integer beyond 32 bits, a text that is no
// date), so nothing is ever cut. Decimals show at least the column's scale (12.5 reads 12.50).
void AppendValue(RowStore::Builder& row, sqlite3_stmt* stmt, int index, int adoType, int scale);

// Binds parameter `index` (1-based) the way a column of the parameter's type stores it.
void BindParameter(sqlite3* db, sqlite3_stmt* stmt, int index, const Parameter& parameter);

}  // namespace ado::sqlite
