#pragma once
// One open libpq connection, shared by the session and the cursor streaming its rows. A
// connection carries one statement at a time: before another runs, the cursor still reading is
// told to take the rest of its rows off the wire (Settle).
#include <atomic>
#include <map>
#include <mutex>

#include "data/ado/postgresql/PgCheck.h"
#include "data/ado/postgresql/PgSchema.h"

namespace ado::postgresql {

class PgLink {
 public:
  // A cursor whose rows are still arriving on this connection.
  class Streaming {
   public:
    virtual void TakeRest() = 0;

   protected:
    ~Streaming() = default;
  };

  explicit PgLink(ConnectionPtr connection);
  ~PgLink();
  PgLink(const PgLink&) = delete;
  PgLink& operator=(const PgLink&) = delete;

  PGconn* Conn() const { return connection_.get(); }

  // Frees the wire for a new statement and forgets an earlier cancel request.
  void Settle();
  void SetStreaming(Streaming* cursor) { streaming_ = cursor; }
  void EndStreaming(Streaming* cursor) {
    if (streaming_ == cursor) streaming_ = nullptr;
  }

  // Reads the results of the statement sent last up to its end; a COPY is refused and ended.
  // Returns the first failure (null when none).
  ResultPtr Drain();
  // Runs a statement without parameters to its end; raises its failure.
  void Run(const char* sql);

  // Asks the server to stop the running statement; any thread may call it. Fetches stop too.
  void Cancel();
  // Asks the server to stop the running statement without stopping fetches of other results.
  void Interrupt();
  bool CancelRequested() const { return cancelRequested_.load(); }

  // What the catalogue says of the tables behind a result, read once until a statement that may
  // change the catalogue runs (ForgetTables).
  const TableFacts* Facts(Oid table);
  void LearnTables(const std::vector<Oid>& tables);
  void ForgetTables() { tables_.clear(); }

 private:
  ConnectionPtr connection_;
  std::mutex cancelLock_;
  PGcancel* cancel_ = nullptr;
  std::atomic<bool> cancelRequested_{false};
  Streaming* streaming_ = nullptr;
  std::map<Oid, TableFacts> tables_;
};

}  // namespace ado::postgresql
