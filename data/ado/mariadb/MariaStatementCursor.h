#pragma once
// The rows of a prepared statement, read over the binary protocol: numbers and times arrive in
// the server's binary form into buffers bound once per column, and rows stream from the server
// as they are read, so the client library never holds a second copy of the result. A value
// longer than its column's buffer is read in pieces. The values are the ones the text protocol
// gives (MariaCursor.h): the same ADO types, decimals exact from their text, a date the type
// cannot hold kept as its text.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/ado/Provider.h"
#include "data/ado/mariadb/MariaCursor.h"
#include "data/ado/mariadb/MariaLink.h"
#include "data/ado/mariadb/MariaTypes.h"

namespace ado::mariadb {

class StatementCursor : public ProviderCursor, private StreamOwner {
 public:
  // `statement` has been executed and has a result, which is read as it streams. `tables`: the
  // facts of its tables, read before it ran (a table missing there is looked up on a second
  // connection).
  StatementCursor(std::shared_ptr<MariaLink> link, StatementPtr statement, FactsByTable tables);
  ~StatementCursor() override;
  StatementCursor(const StatementCursor&) = delete;
  StatementCursor& operator=(const StatementCursor&) = delete;

  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Fetch(RowStore::Builder& row) override;

 private:
  // How a column's values are bound.
  enum class Binding : unsigned char { Signed, Unsigned, Single, Double, Time, Bytes };

  struct Slot {
    Binding binding = Binding::Bytes;
    ValueKind kind = ValueKind::Text;
    int adoType = 0;
    enum_field_types type = MYSQL_TYPE_NULL;
    unsigned decimals = 0;
    unsigned long length = 0;
    my_bool isNull = 0;
    my_bool error = 0;
    long long integer = 0;
    double real = 0;
    float single = 0;
    MYSQL_TIME time{};
    std::unique_ptr<char[]> bytes;
    unsigned long capacity = 0;
  };

  // The remaining rows move into the library's memory so that the connection is free.
  void Drain() override;
  // Closes the statement and frees the connection.
  void Finish();
  // The failure of the last fetch, whether the statement or the connection holds it.
  ComError FetchError() const;
  // False at the end (or at a cancel); raises on any other failure.
  bool NextRow();
  // Buffers of the last row's too long values grow to hold such values whole.
  void GrowBuffers();
  void AppendTime(RowStore::Builder& row, const Slot& slot);
  // A value longer than its buffer: the rest read with mysql_stmt_fetch_column.
  std::string_view LongValue(std::size_t column);

  std::shared_ptr<MariaLink> link_;
  StatementPtr stmt_;
  std::vector<ColumnInfo> columns_;
  std::vector<Slot> slots_;  // sized once: the binds point into it
  std::vector<MYSQL_BIND> binds_;
  std::vector<std::size_t> timeSlots_;
  std::string piece_;
  bool rebind_ = false;
  // A failure while the rest of the rows were moved off the connection, raised at the next Fetch.
  std::optional<ComError> drainFailure_;
};

}  // namespace ado::mariadb
