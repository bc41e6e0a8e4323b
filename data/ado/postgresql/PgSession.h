#pragma once
// A provider session over one libpq connection: statements, streamed results, schema rowsets and
// the write-back statements of the cursor engine (new keys through RETURNING).
#include <memory>

#include "data/ado/Provider.h"
#include "data/ado/postgresql/PgLink.h"

namespace ado::postgresql {

class PgSession : public ProviderSession {
 public:
  explicit PgSession(std::shared_ptr<PgLink> link);
  ~PgSession() override;

  void Execute(const std::string& sql) override;
  std::unique_ptr<ProviderCursor> OpenQuery(const std::string& sql, const std::vector<Parameter>& parameters) override;
  std::unique_ptr<ProviderCursor> OpenSchema(int schema) override;
  long ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) override;
  Variant ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                        const ColumnInfo* autoIncrementColumn) override;
  std::string DatabaseFamily() const override { return "PostgreSQL"; }
  // A transaction of its own, or a savepoint inside one the user began.
  void BeginWrite() override;
  void CommitWrite() override;
  void RollbackWrite() override;
  void Cancel() override;

 private:
  // Sends a statement with parameters in the extended protocol, rows one at a time.
  void Send(const std::string& sql, const std::vector<Parameter>& parameters, bool singleRows);
  std::unique_ptr<ProviderCursor> OpenBatch(const std::string& sql);
  // The first result of the statement sent; raises its failure after reading it to the end.
  ResultPtr FirstResult(long& affected);

  std::shared_ptr<PgLink> link_;
  bool writing_ = false;
  bool savepoint_ = false;
};

}  // namespace ado::postgresql
