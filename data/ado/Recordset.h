#pragma once
// ADO Recordset over the cursor engine: rows of a provider cursor kept in a row store, walked,
// sorted and filtered here, and changes written back to the base table with bound parameters.
// With the client cursor (adUseClient) every row is read at Open and RecordCount is exact; with
// adUseServer or adUseNone rows are read as they are walked and RecordCount is -1 until the end
// has been reached. With the client cursor and the adAsyncFetch option, Open returns once the
// statement has run and the rows arrive on a worker thread: GetState() says adStateFetching,
// GetViewCount() and GetValueAt() read the rows so far from any call, Cancel() stops
// the fetch keeping them, and every other call that touches rows waits for the fetch to end (a
// failure of the fetch is raised then, once, with the rows read before it kept).
// With adAsyncExecute, Open returns at once and the statement itself runs on the worker:
// GetState() says adStateExecuting and there are no fields and no rows until it has run; then
// the rows arrive as with adAsyncFetch. A failure of the statement is raised once, by the next
// call that waits (WaitForCompletion), and leaves the recordset closed, as a failed Open does.
#include <memory>
#include <string>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComPtr.h"
#include "data/ado/Connection.h"
#include "data/ado/Fields.h"
#include "data/ado/ValueView.h"
#include "data/ado/Variant.h"

namespace ado {

class ProviderCursor;

class Recordset {
 public:
  static constexpr const char* kClassName = "ADODB.Recordset";
  Recordset();
  ~Recordset();

  void PutCursorLocation(long location);
  long GetCursorLocation() const;
  void Open(const std::string& source, const ConnectionPtr& connection, long cursorType = adOpenKeyset,
            long lockType = adLockOptimistic, long options = adCmdText);
  // Opens over a cursor a provider already made (schema rowsets); read-only.
  void OpenCursor(std::unique_ptr<ProviderCursor> cursor, long cursorLocation);
  void Close();
  // adStateOpen, with adStateExecuting while the statement runs on the worker and
  // adStateFetching while its rows arrive there.
  long GetState() const;
  // Stops the statement or the fetch on the worker within moments, keeping the rows read;
  // nothing otherwise. Nothing is raised: a statement stopped before its result existed leaves
  // the recordset closed.
  void Cancel();
  // Waits for the worker (statement and rows) and raises, once, what failed there. Afterwards
  // the recordset is open with every row, or closed: its statement failed, was cancelled before
  // it had a result, or returned no rows (GetRowsAffected). Nothing without a worker.
  void WaitForCompletion();

  bool GetBOF() const;
  bool GetEOF();
  long GetRecordCount() const;
  // The records without the filter (deleted ones left out); -1 until every row has been read.
  long GetUnfilteredRecordCount() const;
  // While closed after an Open of a statement that returned no rows: the rows it inserted,
  // changed or deleted (-1 when the database does not say); -1 otherwise.
  long GetRowsAffected() const;
  void MoveFirst();
  void MoveNext();
  void MovePrevious();
  void MoveLast();
  void Move(long numRecords);

  FieldsPtr GetFields();
  Variant GetCollect(long index);
  Variant GetCollect(const std::string& name);
  // The current record's value by index as a view into the held rows, without copying it (bulk
  // readers): valid until the record, the rows or the value change. Fails as GetCollect does.
  ValueView GetCollectView(long index);
  // Rows the cursor shows now (read so far, not deleted, filtered, sorted); never fetches, never
  // waits: while rows arrive on the worker, those published so far, in fetch order.
  long GetViewCount() const;
  // The value of column `column` in the row at `position` of the shown rows (0-based), without
  // moving the current record: a view into the held rows, valid until the rows or the value
  // change. The current record shows its pending edit. ComError adErrNoCurrentRecord out of range.
  ValueView GetValueAt(long position, long column);
  void PutCollect(long index, const Variant& value);
  void PutCollect(const std::string& name, const Variant& value);

  void AddNew();
  void Update();
  void CancelUpdate();
  void Delete(long affect = adAffectCurrent);
  long GetEditMode() const;

  void PutSort(const std::string& criteria);
  std::string GetSort() const;
  // A text gives criteria; the integer 0 (adFilterNone) removes the filter.
  void PutFilter(const Variant& filter);
  Variant GetFilter() const;

  // Bytes the held rows take (benchmarks).
  std::size_t MemoryBytes() const;

 private:
  std::shared_ptr<RecordsetState> state_;
};

}  // namespace ado
