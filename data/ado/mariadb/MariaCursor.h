#pragma once
// The rows of a MariaDB text-protocol result, for the statements the server cannot prepare (see
// MariaStatementCursor.h for the others). The result streams from the server row by row
// (mysql_use_result), so the client never holds a second copy of it.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/ado/Provider.h"
#include "data/ado/mariadb/MariaLink.h"
#include "data/ado/mariadb/MariaTypes.h"

namespace ado::mariadb {

// The catalogue facts of tables, by database and table name.
using FactsByTable = std::map<std::pair<std::string, std::string>, TableFacts>;

// The facts of the tables a result's columns come from, read on the link's own connection while
// it is free (a prepared statement before it runs).
FactsByTable TablesOf(MariaLink& link, const MYSQL_FIELD* fields, unsigned count);

// The columns of a result: name, ADO type, sizes and attributes, base table and column, key and
// auto-increment from the result's flags and the table's catalogue. `mainBusy`: the result
// streams on the link's connection, so tables not in `known` are looked up on a second one.
std::vector<ColumnInfo> DescribeFields(MariaLink& link, const MYSQL_FIELD* fields, unsigned count, bool mainBusy,
                                       std::vector<ValueKind>& kinds, FactsByTable known = {});

class TextCursor : public ProviderCursor, private StreamOwner {
 public:
  // `result` comes from mysql_use_result on the link's connection.
  TextCursor(std::shared_ptr<MariaLink> link, ResultPtr result);
  ~TextCursor() override;

  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Fetch(RowStore::Builder& row) override;

 private:
  void Drain() override;
  // Frees the result and reads off whatever later results the text had.
  void Finish();
  // False at the end; raises on a failure other than a cancel.
  bool NextRow();

  std::shared_ptr<MariaLink> link_;
  ResultPtr result_;
  std::vector<ColumnInfo> columns_;
  std::vector<ValueKind> kinds_;
  MYSQL_ROW current_ = nullptr;
  unsigned long* lengths_ = nullptr;
  // Rows read ahead when another statement needed the connection, packed as the server sent
  // them: per value a NULL mark, or its length and bytes.
  std::string drained_;
  std::size_t replayed_ = 0;
};

}  // namespace ado::mariadb
