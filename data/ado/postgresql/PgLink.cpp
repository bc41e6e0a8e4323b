#include "data/ado/postgresql/PgLink.h"

#include <cstdlib>

namespace ado::postgresql {

PgLink::PgLink(ConnectionPtr connection) : connection_(std::move(connection)) {
  cancel_ = PQgetCancel(connection_.get());
}

PgLink::~PgLink() {
  std::lock_guard<std::mutex> hold(cancelLock_);
  if (cancel_) PQfreeCancel(cancel_);
  cancel_ = nullptr;
}

void PgLink::Settle() {
  if (streaming_) {
    Streaming* cursor = streaming_;
    streaming_ = nullptr;
    cursor->TakeRest();
  }
  cancelRequested_ = false;
}

ResultPtr PgLink::Drain() {
  ResultPtr failure;
  while (PGresult* raw = PQgetResult(connection_.get())) {
    ResultPtr result(raw);
    switch (PQresultStatus(raw)) {
      case PGRES_COPY_IN:
        PQputCopyEnd(connection_.get(), "COPY from the client is not supported");
        break;
      case PGRES_COPY_OUT: {
        char* row = nullptr;
        while (PQgetCopyData(connection_.get(), &row, 0) > 0) PQfreemem(row);
        break;
      }
      case PGRES_COMMAND_OK:
      case PGRES_TUPLES_OK:
      case PGRES_SINGLE_TUPLE:
      case PGRES_EMPTY_QUERY:
        break;
      default:
        if (!failure) failure = std::move(result);
        break;
    }
    // A broken connection has no more results to give.
    if (PQstatus(connection_.get()) == CONNECTION_BAD) break;
  }
  return failure;
}

void PgLink::Run(const char* sql) {
  Settle();
  if (!PQsendQuery(connection_.get(), sql)) Raise(connection_.get(), nullptr);
  if (ResultPtr failure = Drain()) Raise(connection_.get(), failure.get());
}

void PgLink::Cancel() {
  cancelRequested_ = true;
  Interrupt();
}

void PgLink::Interrupt() {
  std::lock_guard<std::mutex> hold(cancelLock_);
  if (!cancel_) return;
  char message[256];
  PQcancel(cancel_, message, sizeof message);
}

const TableFacts* PgLink::Facts(Oid table) {
  auto found = tables_.find(table);
  return found == tables_.end() ? nullptr : &found->second;
}

void PgLink::LearnTables(const std::vector<Oid>& tables) {
  std::vector<Oid> missing;
  for (Oid t : tables)
    if (!tables_.count(t)) missing.push_back(t);
  if (missing.empty()) return;
  std::map<Oid, TableFacts> facts = ReadTableFacts(connection_.get(), missing);
  // A table that is gone is remembered as such, so it is not asked for again.
  for (Oid t : missing) tables_[t] = facts.count(t) ? facts[t] : TableFacts{};
}

}  // namespace ado::postgresql
