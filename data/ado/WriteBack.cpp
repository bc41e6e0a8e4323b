#include "data/ado/WriteBack.h"

#include <functional>
#include <string>

#include "data/ado/AdoEnums.h"
#include "data/ado/ColumnConvert.h"
#include "data/ado/ComError.h"
#include "data/ado/RecordsetState.h"

namespace ado {
namespace {
const char* kSource = "Qelvo ADO";

std::string TextOrEmpty(const Variant& v) {
  return v.vt() == VT_BSTR ? v.Str() : std::string();
}

struct TableRef {
  std::string schema;
  std::string table;
  bool operator==(const TableRef& o) const { return schema == o.schema && table == o.table; }
};

bool HasBase(const ColumnInfo& c) {
  return !TextOrEmpty(c.baseTableName).empty() && !TextOrEmpty(c.baseColumnName).empty();
}
TableRef BaseOf(const ColumnInfo& c) {
  return TableRef{TextOrEmpty(c.baseSchemaName), TextOrEmpty(c.baseTableName)};
}

std::string QuotedTable(const ProviderSession& s, const TableRef& t) {
  std::string name = s.QuoteIdentifier(t.table);
  return t.schema.empty() ? name : s.QuoteIdentifier(t.schema) + "." + name;
}

std::string QuotedColumn(const ProviderSession& s, const ColumnInfo& c) {
  return s.QuoteIdentifier(TextOrEmpty(c.baseColumnName));
}

// The one base table that the given columns come from.
TableRef TableOf(const std::vector<ColumnInfo>& columns, const std::vector<std::size_t>& chosen, const char* what) {
  std::optional<TableRef> table;
  for (std::size_t i : chosen) {
    const ColumnInfo& c = columns[i];
    if (!HasBase(c))
      throw ComError(adErrFeatureNotAvailable,
                     std::string("Cannot ") + what + ": field \"" + c.name + "\" is not a column of a table.", kSource);
    TableRef t = BaseOf(c);
    if (table && !(*table == t))
      throw ComError(adErrFeatureNotAvailable,
                     std::string("Cannot ") + what + ": the fields come from more than one table (\"" + table->table +
                         "\" and \"" + t.table + "\").",
                     kSource);
    table = t;
  }
  if (!table)
    throw ComError(adErrFeatureNotAvailable, std::string("Cannot ") + what + ": the result has no column of a table.",
                   kSource);
  return *table;
}

std::vector<std::size_t> ColumnsOfTable(const std::vector<ColumnInfo>& columns, const TableRef& table) {
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (HasBase(columns[i]) && BaseOf(columns[i]) == table) out.push_back(i);
  return out;
}

bool JoinsTables(const std::vector<ColumnInfo>& columns) {
  std::optional<TableRef> first;
  for (const ColumnInfo& c : columns) {
    if (!HasBase(c)) continue;
    if (!first)
      first = BaseOf(c);
    else if (!(*first == BaseOf(c)))
      return true;
  }
  return false;
}

std::vector<std::size_t> KeysOf(const std::vector<ColumnInfo>& columns, const std::vector<std::size_t>& tableColumns) {
  std::vector<std::size_t> keys;
  for (std::size_t i : tableColumns)
    if (columns[i].keyColumn) keys.push_back(i);
  return keys;
}

// "WHERE" clause locating the row: by its key, or by every original value where the table has
// no key in the result. A join without the key could find a row by the values shown that is
// one of several: refused.
std::string LocateClause(const ProviderSession& s, const std::vector<ColumnInfo>& columns,
                         const std::vector<std::size_t>& tableColumns, const std::vector<Variant>& original,
                         std::vector<Parameter>& parameters, const TableRef& table, const char* what) {
  std::vector<std::size_t> locate = KeysOf(columns, tableColumns);
  if (locate.empty()) {
    if (JoinsTables(columns))
      throw ComError(adErrFeatureNotAvailable,
                     std::string("Cannot ") + what + ": the result joins tables and holds no key of table \"" +
                         table.table + "\", so its row cannot be located exactly. Nothing was changed.",
                     kSource);
    locate = tableColumns;
  }
  std::string where;
  for (std::size_t i : locate) {
    if (!where.empty()) where += " AND ";
    if (original[i].IsNull() || original[i].IsEmpty()) {
      where += QuotedColumn(s, columns[i]) + " IS NULL";
    } else {
      where += QuotedColumn(s, columns[i]) + " = ?";
      parameters.push_back(Parameter{original[i], columns[i].type});
    }
  }
  return " WHERE " + where;
}

bool SameValue(const Variant& a, const Variant& b) {
  if (a == b) return true;
  if (!a.HasValue() || !b.HasValue()) return !a.HasValue() && !b.HasValue();
  try {
    return a.ToText() == b.ToText();
  } catch (const std::exception&) {
    return false;
  }
}

// The table's columns of the row as the database holds them now, found by the key; empty when
// the row is gone. Read through the same provider as the result, so an unchanged value reads
// back exactly as it was read (no comparison in SQL, which some types have no operator for).
std::optional<std::vector<Variant>> ReadByKey(ProviderSession& session, const std::vector<ColumnInfo>& columns,
                                              const std::vector<std::size_t>& tableColumns, const TableRef& table,
                                              const std::vector<Variant>& row) {
  std::vector<Parameter> parameters;
  std::string where;
  for (std::size_t k : KeysOf(columns, tableColumns)) {
    if (!where.empty()) where += " AND ";
    if (!row[k].HasValue()) {
      where += QuotedColumn(session, columns[k]) + " IS NULL";
    } else {
      where += QuotedColumn(session, columns[k]) + " = ?";
      parameters.push_back(Parameter{row[k], columns[k].type});
    }
  }
  std::string list;
  for (std::size_t i : tableColumns) list += (list.empty() ? "" : ", ") + QuotedColumn(session, columns[i]);
  auto cursor =
      session.OpenQuery("SELECT " + list + " FROM " + QuotedTable(session, table) + " WHERE " + where, parameters);
  RowStore scratch;
  if (!cursor->Fetch(scratch.BeginRow())) return std::nullopt;
  RowStore::RowId id = scratch.EndRow();
  std::vector<Variant> values;
  for (std::size_t n = 0; n < tableColumns.size(); ++n) values.push_back(scratch.GetVariant(id, static_cast<int>(n)));
  return values;
}

// With a key, the row must still hold every value it was read with: a row someone else changed
// since is not overwritten (nor deleted). Runs inside the write's transaction.
void CheckUnchanged(ProviderSession& session, const std::vector<ColumnInfo>& columns,
                    const std::vector<std::size_t>& tableColumns, const TableRef& table,
                    const std::vector<Variant>& original, const char* what) {
  if (KeysOf(columns, tableColumns).empty()) return;  // the WHERE clause compares every value
  const auto now = ReadByKey(session, columns, tableColumns, table, original);
  if (!now)
    throw ComError(DB_E_CONCURRENCYVIOLATION,
                   std::string("The row to ") + what + " was not found in table \"" + table.table +
                       "\": it was changed or deleted by someone else since it was read. Nothing was changed.",
                   kSource);
  for (std::size_t n = 0; n < tableColumns.size(); ++n) {
    const std::size_t i = tableColumns[n];
    if (!SameValue((*now)[n], original[i]))
      throw ComError(DB_E_CONCURRENCYVIOLATION,
                     std::string("The row to ") + what + " in table \"" + table.table +
                         "\" was changed or deleted by someone else since it was read (field \"" + columns[i].name +
                         "\" differs). Nothing was changed.",
                     kSource);
  }
}

void RunLocated(ProviderSession& session, const std::string& sql, const std::vector<Parameter>& parameters,
                const TableRef& table, const char* what, const std::function<void()>& check) {
  session.BeginWrite();
  long changed = 0;
  try {
    check();
    changed = session.ExecuteUpdate(sql, parameters);
  } catch (...) {
    session.RollbackWrite();
    throw;
  }
  if (changed != 1) {
    session.RollbackWrite();
    if (changed == 0)
      throw ComError(DB_E_CONCURRENCYVIOLATION,
                     std::string("The row to ") + what + " was not found in table \"" + table.table +
                         "\": it was changed or deleted by someone else since it was read. Nothing was changed.",
                     kSource);
    throw ComError(DB_E_CONCURRENCYVIOLATION,
                   std::string("The row to ") + what + " cannot be told apart from " + std::to_string(changed - 1) +
                       " other row(s) of table \"" + table.table + "\" (it has no key). Nothing was changed.",
                   kSource);
  }
  session.CommitWrite();
}

// Reads the inserted row back by its key so that defaults and computed values show.
void Resync(ProviderSession& session, const std::vector<ColumnInfo>& columns, const std::vector<std::size_t>& mine,
            const TableRef& table, std::vector<Variant>& row) {
  std::vector<std::size_t> keys;
  for (std::size_t i : mine)
    if (columns[i].keyColumn) keys.push_back(i);
  if (keys.empty()) return;
  std::vector<Parameter> parameters;
  std::string where;
  for (std::size_t k : keys) {
    if (!row[k].HasValue()) return;
    if (!where.empty()) where += " AND ";
    where += QuotedColumn(session, columns[k]) + " = ?";
    parameters.push_back(Parameter{row[k], columns[k].type});
  }
  std::string list;
  for (std::size_t i : mine) list += (list.empty() ? "" : ", ") + QuotedColumn(session, columns[i]);
  try {
    auto cursor =
        session.OpenQuery("SELECT " + list + " FROM " + QuotedTable(session, table) + " WHERE " + where, parameters);
    RowStore scratch;
    if (!cursor->Fetch(scratch.BeginRow())) return;
    RowStore::RowId id = scratch.EndRow();
    for (std::size_t n = 0; n < mine.size(); ++n) row[mine[n]] = scratch.GetVariant(id, static_cast<int>(n));
  } catch (const ComError&) {
    // The insert itself succeeded; the values already known stay.
  }
}
}  // namespace

std::vector<Variant> InsertRow(ProviderSession& session, const std::vector<ColumnInfo>& columns,
                               const std::vector<std::optional<Variant>>& pending) {
  std::vector<std::size_t> set;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (pending[i]) set.push_back(i);
  std::vector<std::size_t> updatable;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (HasBase(columns[i])) updatable.push_back(i);
  TableRef table = TableOf(columns, set.empty() ? std::vector<std::size_t>{updatable.empty() ? 0 : updatable[0]} : set,
                           "add the record");
  std::vector<std::size_t> mine = ColumnsOfTable(columns, table);

  std::string names, marks;
  std::vector<Parameter> parameters;
  for (std::size_t i : set) {
    names += (names.empty() ? "" : ", ") + QuotedColumn(session, columns[i]);
    marks += marks.empty() ? "?" : ", ?";
    parameters.push_back(Parameter{*pending[i], columns[i].type});
  }
  std::string sql = "INSERT INTO " + QuotedTable(session, table) +
                    (set.empty() ? session.DefaultValuesClause() : " (" + names + ") VALUES (" + marks + ")");
  const ColumnInfo* autoColumn = nullptr;
  std::size_t autoIndex = 0;
  for (std::size_t i : mine)
    if (columns[i].autoIncrement && !pending[i]) {
      autoColumn = &columns[i];
      autoIndex = i;
      break;
    }
  Variant newId = session.ExecuteInsert(sql, parameters, autoColumn);

  std::vector<Variant> row(columns.size(), Variant::Null());
  for (std::size_t i : set) row[i] = *pending[i];
  if (autoColumn && newId.HasValue()) {
    try {
      row[autoIndex] = ConvertForColumn(newId, *autoColumn);
    } catch (const ComError&) {
      row[autoIndex] = newId;
    }
  }
  Resync(session, columns, mine, table, row);
  return row;
}

std::vector<Variant> UpdateRow(ProviderSession& session, const std::vector<ColumnInfo>& columns,
                               const std::vector<Variant>& original,
                               const std::vector<std::optional<Variant>>& pending) {
  std::vector<std::size_t> changed;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (pending[i]) changed.push_back(i);
  std::vector<Variant> row = original;
  if (changed.empty()) return row;
  TableRef table = TableOf(columns, changed, "update the record");
  std::vector<Parameter> parameters;
  std::string assignments;
  for (std::size_t i : changed) {
    assignments += (assignments.empty() ? "" : ", ") + QuotedColumn(session, columns[i]) + " = ?";
    parameters.push_back(Parameter{*pending[i], columns[i].type});
  }
  const std::vector<std::size_t> mine = ColumnsOfTable(columns, table);
  std::string sql = "UPDATE " + QuotedTable(session, table) + " SET " + assignments +
                    LocateClause(session, columns, mine, original, parameters, table, "update the record");
  RunLocated(session, sql, parameters, table, "update",
             [&] { CheckUnchanged(session, columns, mine, table, original, "update"); });
  for (std::size_t i : changed) row[i] = *pending[i];
  // The row as the database keeps it (rounded, padded, converted), so that the next edit of it
  // compares with what the database holds.
  if (!KeysOf(columns, mine).empty()) {
    try {
      if (const auto now = ReadByKey(session, columns, mine, table, row))
        for (std::size_t n = 0; n < mine.size(); ++n) row[mine[n]] = (*now)[n];
    } catch (const ComError&) {
      // Saved; the values written stay.
    }
  }
  return row;
}

void DeleteRow(ProviderSession& session, const std::vector<ColumnInfo>& columns, const std::vector<Variant>& original) {
  std::vector<std::size_t> updatable;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (HasBase(columns[i])) updatable.push_back(i);
  TableRef table = TableOf(columns, updatable, "delete the record");
  std::vector<Parameter> parameters;
  const std::vector<std::size_t> mine = ColumnsOfTable(columns, table);
  std::string sql = "DELETE FROM " + QuotedTable(session, table) +
                    LocateClause(session, columns, mine, original, parameters, table, "delete the record");
  RunLocated(session, sql, parameters, table, "delete",
             [&] { CheckUnchanged(session, columns, mine, table, original, "delete"); });
}

}  // namespace ado
