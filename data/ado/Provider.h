#pragma once
// The contract every provider implements (SQLite and MariaDB natively, ODBC through unixODBC).
// Providers only run statements and describe and fetch results; the cursor engine above them
// keeps rows, sorts, filters and writes changes back, and knows no provider.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/ado/RowStore.h"
#include "data/ado/Variant.h"

namespace ado {

// One column of a result as the provider describes it.
struct ColumnInfo {
  std::string name;
  int type = 0;  // DataTypeEnum
  long definedSize = 0;
  int precision = 0;    // 0..255
  int scale = 0;        // 0..255
  long attributes = 0;  // FieldAttributeEnum flags
  // The provider properties; a null base table marks a computed column.
  Variant baseCatalogName = Variant::Null();
  Variant baseSchemaName = Variant::Null();
  Variant baseTableName = Variant::Null();
  Variant baseColumnName = Variant::Null();
  bool keyColumn = false;
  bool autoIncrement = false;
};

// An open result: its columns, then its rows one at a time.
class ProviderCursor {
 public:
  virtual ~ProviderCursor() = default;
  virtual const std::vector<ColumnInfo>& Columns() const = 0;
  // Appends the next row's values (one per column, in order) to the builder; false at the end.
  virtual bool Fetch(RowStore::Builder& row) = 0;
  // For a statement that returned no columns: the rows it inserted, changed or deleted; -1 when
  // the database does not say (a definition such as CREATE TABLE).
  virtual long RowsAffected() const { return -1; }
};

// The result of a statement that returned no columns: only its count of rows affected.
class EmptyCursor : public ProviderCursor {
 public:
  explicit EmptyCursor(long rowsAffected) : rowsAffected_(rowsAffected) {}
  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Fetch(RowStore::Builder&) override { return false; }
  long RowsAffected() const override { return rowsAffected_; }

 private:
  std::vector<ColumnInfo> columns_;
  long rowsAffected_;
};

// A value bound to a statement parameter, with the ADO type of the column it goes to (0 when
// unknown), so that a provider can store dates and decimals the way the column expects.
struct Parameter {
  Variant value;
  int columnType = 0;
};

// One open connection to a database.
class ProviderSession {
 public:
  virtual ~ProviderSession() = default;

  // Runs a statement and discards any rows it returns.
  virtual void Execute(const std::string& sql) = 0;
  // Runs a query with '?' parameters and returns its result.
  virtual std::unique_ptr<ProviderCursor> OpenQuery(const std::string& sql,
                                                    const std::vector<Parameter>& parameters = {}) = 0;
  // adSchemaTables or adSchemaColumns, with the OLE DB column names.
  virtual std::unique_ptr<ProviderCursor> OpenSchema(int schema) = 0;

  // Write-back. Runs a statement with '?' parameters and returns the number of rows it changed.
  virtual long ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) = 0;
  // Runs an INSERT and returns the value the database gave the auto-increment column (null when
  // there is none or it cannot be read).
  virtual Variant ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                                const ColumnInfo* autoIncrementColumn) = 0;
  // A table or column name quoted for this database (schema-qualified names are passed whole
  // and quoted part by part by the caller). The default is the standard's double quotes.
  virtual std::string QuoteIdentifier(std::string_view name) const;
  // The tail of an INSERT that gives every column its default ("INSERT INTO t" + this): the
  // standard's DEFAULT VALUES by default; MySQL and MariaDB know only an empty column list.
  virtual std::string DefaultValuesClause() const { return " DEFAULT VALUES"; }
  // The family of the database behind the session, for callers that write statements of their
  // own: "PostgreSQL", "MySQL" (MariaDB too), "SQLite", or empty when the driver did not say.
  virtual std::string DatabaseFamily() const { return {}; }
  // Changes of one Update run inside one transaction: nothing is kept unless exactly the
  // intended row changed.
  virtual void BeginWrite() = 0;
  virtual void CommitWrite() = 0;
  virtual void RollbackWrite() = 0;
  // Interrupts what the session runs now (a statement or a fetch on another thread), so that its
  // next row comes back as an error soon; callable from any thread. An interrupted fetch keeps
  // the rows it has read. Nothing to interrupt: nothing happens.
  virtual void Cancel() {}
};

}  // namespace ado
