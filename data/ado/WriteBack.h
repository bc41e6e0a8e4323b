#pragma once
// Writing a recordset's changes back to its base table with bound parameters: the row is found
// by its key columns' original values, or by all its original values where the result has no
// key; a statement that would change no row or several rows changes nothing and raises ComError.
#include <optional>
#include <vector>

#include "data/ado/Provider.h"

namespace ado {

// Inserts the values put since AddNew and returns the new row as the recordset holds it (with
// the auto-increment value and the defaults the database gave, where it can read them back).
std::vector<Variant> InsertRow(ProviderSession& session, const std::vector<ColumnInfo>& columns,
                               const std::vector<std::optional<Variant>>& pending);
// Updates the changed values of one row and returns the row's new values.
std::vector<Variant> UpdateRow(ProviderSession& session, const std::vector<ColumnInfo>& columns,
                               const std::vector<Variant>& original,
                               const std::vector<std::optional<Variant>>& pending);
void DeleteRow(ProviderSession& session, const std::vector<ColumnInfo>& columns, const std::vector<Variant>& original);

}  // namespace ado
