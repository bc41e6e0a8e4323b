// A client cursor's rows read on a worker thread (adAsyncFetch): the worker appends to the row
// store and publishes the count; everything else waits for the end of the fetch.
#include <new>

#include "data/ado/BackgroundPriority.h"
#include "data/ado/RecordsetState.h"

namespace ado {

RecordsetState::~RecordsetState() {
  CancelFetch();
}

void RecordsetState::StartFetch() {
  cancelRequested.store(false);
  fetchedRows.store(store.RowCount(), std::memory_order_release);
  fetchError.reset();
  {
    std::lock_guard lock(providerMutex);
    providerBusy = true;
  }
  fetchPending = true;
  fetchRunning.store(true, std::memory_order_release);
  fetcher = std::thread([this] { FetchOnWorker(); });
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
  {
    std::lock_guard lock(providerMutex);
    providerBusy = false;
  }
  fetchRunning.store(false, std::memory_order_release);
}

void RecordsetState::EndFetch() {
  if (!fetchPending) return;
  if (fetcher.joinable()) fetcher.join();
  fetchPending = false;
  fetchedAll = true;
  // The statement is freed here, after the worker, on the thread that owns the recordset.
  cursor.reset();
  position = view.empty() ? -1 : 0;
  if (fetchError) {
    ComError error = *fetchError;
    fetchError.reset();
    throw error;
  }
}

void RecordsetState::CancelFetch() {
  if (!fetchPending) return;
  cancelRequested.store(true);
  {
    std::lock_guard lock(providerMutex);
    if (providerBusy && connection) {
      try {
        connection->Session().Cancel();
      } catch (const ComError&) {
        // A closed connection has nothing left to interrupt.
      }
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
}

}  // namespace ado
