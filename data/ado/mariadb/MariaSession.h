#pragma once
// A provider session over one MariaDB connection: statements, streamed results, schema rowsets
// and the write-back statements of the cursor engine, these as prepared statements.
#include <memory>

#include "data/ado/Provider.h"
#include "data/ado/mariadb/MariaCursor.h"
#include "data/ado/mariadb/MariaLink.h"

namespace ado::mariadb {

class MariaSession : public ProviderSession {
 public:
  explicit MariaSession(std::shared_ptr<MariaLink> link);
  ~MariaSession() override;

  // Runs every statement of the text; the first failing one raises.
  void Execute(const std::string& sql) override;
  // A prepared statement, its rows streamed over the binary protocol; the text protocol, also
  // streamed, for a text the server does not prepare or that returns no rows.
  std::unique_ptr<ProviderCursor> OpenQuery(const std::string& sql, const std::vector<Parameter>& parameters) override;
  std::unique_ptr<ProviderCursor> OpenSchema(int schema) override;
  // The rows the statement matched (the connection counts found rows, so an UPDATE that writes
  // a value unchanged still counts its row).
  long ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) override;
  // The new auto-increment value is the statement's LAST_INSERT_ID.
  Variant ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                        const ColumnInfo* autoIncrementColumn) override;
  // Backquotes, the quote doubled inside.
  std::string QuoteIdentifier(std::string_view name) const override;
  // MariaDB has no DEFAULT VALUES; an empty column list says the same.
  std::string DefaultValuesClause() const override { return " () VALUES ()"; }
  std::string DatabaseFamily() const override { return "MySQL"; }
  void BeginWrite() override;
  void CommitWrite() override;
  void RollbackWrite() override;
  // KILL QUERY over a connection of its own; callable from any thread.
  void Cancel() override;

 private:
  // The statement prepared for the binary protocol, or null when the text protocol is to run it.
  StatementPtr PrepareRows(const std::string& sql);
  // A prepared, executed statement with its parameters bound; `tables`, when given, receives the
  // facts of its result's tables, read before it ran.
  StatementPtr Prepare(const std::string& sql, const std::vector<Parameter>& parameters,
                       FactsByTable* tables = nullptr);
  FactsByTable TablesOfResult(MYSQL_STMT* s);

  std::shared_ptr<MariaLink> link_;
  bool writing_ = false;
};

}  // namespace ado::mariadb
