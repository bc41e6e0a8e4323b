#pragma once
// A provider session over one ODBC connection: statements, results, schema rowsets and the
// write-back statements of the cursor engine, each as the connected back end needs them.
#include <memory>

#include "data/ado/Provider.h"
#include "data/ado/odbc/OdbcConnection.h"

namespace ado::odbc {

class OdbcSession : public ProviderSession {
 public:
  explicit OdbcSession(std::shared_ptr<OdbcConnection> connection);
  ~OdbcSession() override;

  void Execute(const std::string& sql) override;
  std::unique_ptr<ProviderCursor> OpenQuery(const std::string& sql, const std::vector<Parameter>& parameters) override;
  std::unique_ptr<ProviderCursor> OpenSchema(int schema) override;
  long ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) override;
  // The new auto-increment value: PostgreSQL's RETURNING, MySQL's LAST_INSERT_ID(), SQLite's
  // last_insert_rowid(), else SELECT @@IDENTITY where the database knows it.
  Variant ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                        const ColumnInfo* autoIncrementColumn) override;
  // The driver's own quote character (brackets for SQL Server, backquotes for MySQL).
  std::string QuoteIdentifier(std::string_view name) const override;
  std::string DefaultValuesClause() const override;
  std::string DatabaseFamily() const override;
  // A transaction with auto-commit off, committed or rolled back as one.
  void BeginWrite() override;
  void CommitWrite() override;
  void RollbackWrite() override;
  // SQLCancel on the statement whose rows are being read.
  void Cancel() override;

 private:
  std::shared_ptr<OdbcConnection> connection_;
  bool writing_ = false;
};

}  // namespace ado::odbc
