#pragma once
// The cursor engine behind Recordset, Fields and Field (internal to data/ado).
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/FilterParser.h"
#include "data/ado/Provider.h"
#include "data/ado/RowStore.h"
#include "data/ado/SortCriteria.h"

namespace ado {

class RecordsetState : public RowSource {
 public:
  ~RecordsetState() override;

  // Open state.
  bool open = false;
  long cursorLocation = adUseServer;
  ConnectionPtr connection;                // keeps the session alive while rows are fetched or written
  std::unique_ptr<ProviderCursor> cursor;  // until every row has been read
  bool fetchedAll = false;
  bool readOnly = false;
  long rowsAffected = -1;  // of the last opened statement that returned no columns
  std::vector<ColumnInfo> columns;
  std::vector<CriteriaColumn> criteriaColumns;

  // Rows in fetch order, and the rows the cursor shows (not deleted, filtered, sorted).
  RowStore store;
  std::vector<RowStore::RowId> view;
  std::vector<bool> deleted;  // by row id
  long position = -1;         // index into view; -1 before the first, view.size() after the last
  bool currentDeleted = false;

  std::string sortText;
  std::vector<SortKey> sortKeys;
  Variant filterValue = Variant(std::int32_t{0});
  std::unique_ptr<FilterExpression> filter;

  // The record being edited.
  long editMode = adEditNone;
  std::vector<std::optional<Variant>> pending;  // by column: values put since the edit began
  std::vector<bool> chunkStarted;
  long positionBeforeAdd = -1;

  ValueView Get(std::uint32_t row, int column) const override { return store.Get(row, column); }

  // Where the values of the last row read start: reading a row field by field decodes each
  // value once instead of walking the row from its start every time.
  std::vector<const char*> rowStarts;
  std::int64_t rowStartsOf = -1;

  void RequireOpen() const;
  // Open, with every row in place: waits for a fetch on the worker to end (RecordsetFetch.cpp).
  void RequireRows();
  void RequireCurrent();
  int FindColumn(const std::string& name) const;  // -1 when absent
  int CheckedColumn(const std::string& name) const;
  int CheckedColumn(long index) const;

  // Reads one more row from the provider into the store; false at the end.
  bool FetchOne();
  void FetchAll();
  bool AtEnd();  // the position is past the last row (fetching as needed)
  RowStore::RowId CurrentRow() const { return view[static_cast<std::size_t>(position)]; }

  Variant Value(int column);
  ValueView View(int column);                         // as Value, without copying: valid while the row is unchanged
  ValueView ViewAt(long viewPosition, int column);    // the same for any shown row, position unmoved
  ValueView Stored(RowStore::RowId row, int column);  // a held row's value, through the row-start cache
  std::size_t MemoryBytes() const;                    // rows, index, view and deleted flags
  void SetCriteriaColumns();                          // the columns as the sort and filter name them
  void PutValue(int column, const Variant& value);
  void AppendChunk(int column, const Variant& chunk);
  void BeginEditIfNeeded();
  void Update();
  void CancelUpdate();
  void Delete();
  void RebuildView();
  void Reset();

  // ---- The statement and its rows on a worker thread (adAsyncExecute, adAsyncFetch;
  // RecordsetFetch.cpp). While the worker runs the statement (`executing`) the owner reads no
  // column: the worker sets `columns`, `criteriaColumns` and `cursor`, then clears `executing`.
  // While it fetches, only the worker touches the cursor, the session, `view` and `deleted`;
  // other threads read the store's rows below `fetchedRows` and the columns, nothing else.
  std::thread fetcher;
  ProviderSession* session = nullptr;        // the connection's, lent to the worker
  bool fetchPending = false;                 // started and not yet ended by EndFetch (owner's thread)
  std::atomic<bool> executing{false};        // the worker runs the statement; columns unknown yet
  std::atomic<bool> fetchRunning{false};     // the worker has not finished
  std::atomic<bool> cancelRequested{false};  // Cancel asked the worker to stop
  std::atomic<std::size_t> fetchedRows{0};   // rows readable by other threads
  std::mutex providerMutex;                  // a provider cancel only while the worker uses the session
  std::condition_variable providerReleased;  // providerBusy went false
  bool providerBusy = false;                 // under providerMutex
  std::optional<ComError> fetchError;        // a failure of the worker, raised once at the end
  long statementRowsAffected = -1;           // the worker's statement returned no columns: its count

  // The columns may be read: no statement is still running on the worker.
  bool ColumnsKnown() const { return !executing.load(std::memory_order_acquire); }
  // Runs `sql` on the worker, then reads its rows there (adAsyncExecute).
  void StartExecute(std::string sql);
  // Starts the worker over the open cursor.
  void StartFetch();
  // The worker's loops.
  void ExecuteOnWorker(const std::string& sql);
  void FetchOnWorker();
  // Waits for the worker and makes the record count and the view final; a failure of the
  // worker is raised once. A statement that gave no result (it failed, was cancelled before it
  // had one, or returned no rows) leaves the recordset closed, with its count of rows affected.
  void EndFetch();
  // Stops the worker within moments (the provider interrupts its statement) keeping the rows
  // it read, then ends the fetch; nothing is raised.
  void CancelFetch();

 private:
  // The session passes to the worker about to start; `rowsSoFar` rows are readable already.
  void ClaimProvider(std::size_t rowsSoFar);
  // The worker gives the session back: a cancel waiting for that may go on.
  void ReleaseProvider();
};

}  // namespace ado
