// A client cursor's statement and rows on a worker thread (adAsyncExecute, adAsyncFetch): the
// worker runs the statement, appends rows to the row store and publishes the count; everything
// else waits for the end of the fetch.
#include <chrono>
#include <new>

#include "data/ado/BackgroundPriority.h"
#include "data/ado/RecordsetState.h"

namespace ado {

namespace {
// A cancel that reaches the database before the worker's statement has started finds nothing to
// interrupt (and some providers forget it when the statement starts): it is asked again this
// often until the worker lets the session go.
constexpr auto kCancelRetry = std::chrono::milliseconds(40);
}  // namespace

RecordsetState::~RecordsetState() {
  CancelFetch();
}

void RecordsetState::ClaimProvider(std::size_t rowsSoFar) {
  cancelRequested.store(false);
  fetchedRows.store(rowsSoFar, std::memory_order_release);
  fetchError.reset();
  session = &connection->Session();
  connection->SetWorkerBusy(true);
  {
    std::lock_guard lock(providerMutex);
    providerBusy = true;
  }
  fetchPending = true;
}

void RecordsetState::StartExecute(std::string sql) {
  statementRowsAffected = -1;
  ClaimProvider(0);
  executing.store(true, std::memory_order_release);
  fetchRunning.store(true, std::memory_order_release);
  fetcher = std::thread([this, sql = std::move(sql)] {
    // The window's thread comes first, also while this one runs the statement.
    LowerThisThreadPriority();
    ExecuteOnWorker(sql);
    if (cursor) FetchOnWorker();
    ReleaseProvider();
  });
}

void RecordsetState::ExecuteOnWorker(const std::string& sql) {
  try {
    if (!cancelRequested.load()) {
      std::unique_ptr<ProviderCursor> opened = session->OpenQuery(sql);
      columns = opened->Columns();
      if (columns.empty()) {
        statementRowsAffected = opened->RowsAffected();
      } else {
        SetCriteriaColumns();
        cursor = std::move(opened);
      }
    }
  } catch (const ComError& e) {
    // A statement interrupted by Cancel fails because it was asked to: nothing is wrong.
    if (!cancelRequested.load()) fetchError = e;
    columns.clear();
    criteriaColumns.clear();
  } catch (const std::bad_alloc&) {
    fetchError = ComError(E_OUTOFMEMORY);
    columns.clear();
    criteriaColumns.clear();
  }
  // Publishes the columns (and the cursor the fetch goes on with) to the owner.
  executing.store(false, std::memory_order_release);
}

void RecordsetState::StartFetch() {
  ClaimProvider(store.RowCount());
  fetchRunning.store(true, std::memory_order_release);
  fetcher = std::thread([this] {
    FetchOnWorker();
    ReleaseProvider();
  });
}

void RecordsetState::FetchOnWorker() {
  // The window's thread comes first: it shows the rows this thread reads.
  LowerThisThreadPriority();
  try {
    while (!cancelRequested.load(std::memory_order_relaxed) && cursor->Fetch(store.BeginRow())) {
      const RowStore::RowId id = store.EndRow();
      deleted.push_back(false);
      view.push_back(id);
      fetchedRows.store(static_cast<std::size_t>(id) + 1, std::memory_order_release);
    }
  } catch (const ComError& e) {
    // An interrupted statement fails by design: its rows are kept and nothing is wrong.
    if (!cancelRequested.load()) fetchError = e;
  } catch (const std::bad_alloc&) {
    fetchError = ComError(E_OUTOFMEMORY);
  }
}

void RecordsetState::ReleaseProvider() {
  {
    std::lock_guard lock(providerMutex);
    providerBusy = false;
  }
  providerReleased.notify_all();
  fetchRunning.store(false, std::memory_order_release);
}

void RecordsetState::EndFetch() {
  if (!fetchPending) return;
  if (fetcher.joinable()) fetcher.join();
  fetchPending = false;
  if (connection) connection->SetWorkerBusy(false);
  session = nullptr;
  fetchedAll = true;
  // The statement is freed here, after the worker, on the thread that owns the recordset.
  cursor.reset();
  position = view.empty() ? -1 : 0;
  std::optional<ComError> failure = std::move(fetchError);
  fetchError.reset();
  if (columns.empty()) {
    // No result to show: like a synchronous Open, the recordset ends closed, keeping the count
    // of rows a statement without columns changed.
    const long location = cursorLocation;
    const long affected = failure ? -1 : statementRowsAffected;
    Reset();
    cursorLocation = location;
    rowsAffected = affected;
  }
  if (failure) throw *failure;
}

void RecordsetState::CancelFetch() {
  if (!fetchPending) return;
  cancelRequested.store(true);
  {
    std::unique_lock lock(providerMutex);
    while (providerBusy) {
      try {
        session->Cancel();
      } catch (const ComError&) {
        // A closed connection has nothing left to interrupt.
      }
      providerReleased.wait_for(lock, kCancelRetry, [this] { return !providerBusy; });
    }
  }
  try {
    EndFetch();
  } catch (const ComError&) {
    // A failure before the cancel: the rows read until then stay.
  }
}

void RecordsetState::RequireRows() {
  RequireOpen();
  EndFetch();
  // A statement that gave no result closed the recordset.
  RequireOpen();
}

}  // namespace ado
