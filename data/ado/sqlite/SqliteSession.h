#pragma once
// A provider session over one SQLite database: statements, results, schema rowsets and the
// write-back statements of the cursor engine.
#include <sqlite3.h>

#include <string>
#include <vector>

#include "data/ado/Provider.h"
#include "data/ado/sqlite/SqliteCheck.h"

namespace ado::sqlite {

class SqliteSession : public ProviderSession {
 public:
  explicit SqliteSession(DatabasePtr db) : db_(std::move(db)) {}

  void Execute(const std::string& sql) override;
  std::unique_ptr<ProviderCursor> OpenQuery(const std::string& sql, const std::vector<Parameter>& parameters) override;
  std::unique_ptr<ProviderCursor> OpenSchema(int schema) override;
  long ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) override;
  // The new auto-increment value is the row id SQLite gave the row.
  Variant ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                        const ColumnInfo* autoIncrementColumn) override;
  std::string DatabaseFamily() const override { return "SQLite"; }
  // A savepoint, so that a write inside a transaction of the user's own nests.
  void BeginWrite() override;
  void CommitWrite() override;
  void RollbackWrite() override;
  // sqlite3_interrupt: safe from any thread; a statement started after the last one ended is
  // not affected.
  void Cancel() override { sqlite3_interrupt(db_.get()); }

 private:
  void RunWithParameters(const std::string& sql, const std::vector<Parameter>& parameters);

  DatabasePtr db_;
};

}  // namespace ado::sqlite
