#include "data/ado/Recordset.h"

#include <algorithm>
#include <tuple>

#include "data/ado/BackgroundRelease.h"
#include "data/ado/ColumnConvert.h"
#include "data/ado/ComError.h"
#include "data/ado/RecordsetState.h"
#include "data/ado/WriteBack.h"
#include "text/CaseFold.h"

namespace ado {

// ---- RecordsetState ------------------------------------------------------------------------

void RecordsetState::RequireOpen() const {
  if (!open) throw ComError(adErrObjectClosed);
}

void RecordsetState::RequireCurrent() {
  RequireRows();
  if (currentDeleted || position < 0 || AtEnd()) throw ComError(adErrNoCurrentRecord);
}

int RecordsetState::FindColumn(const std::string& name) const {
  if (!ColumnsKnown()) return -1;
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (EqualsFolded(columns[i].name, name)) return static_cast<int>(i);
  return -1;
}

int RecordsetState::CheckedColumn(const std::string& name) const {
  RequireOpen();
  int index = FindColumn(name);
  if (index < 0) throw ComError(adErrItemNotFound);
  return index;
}

int RecordsetState::CheckedColumn(long index) const {
  RequireOpen();
  // No column exists before the statement on the worker has run.
  if (!ColumnsKnown()) throw ComError(adErrItemNotFound);
  if (index < 0 || index >= static_cast<long>(columns.size())) throw ComError(adErrItemNotFound);
  return static_cast<int>(index);
}

bool RecordsetState::FetchOne() {
  if (fetchedAll) return false;
  if (!cursor || !cursor->Fetch(store.BeginRow())) {
    fetchedAll = true;
    cursor.reset();
    return false;
  }
  RowStore::RowId id = store.EndRow();
  deleted.push_back(false);
  // Rows read while walking join the view when they pass the filter; a sorted view is complete.
  if (!filter || filter->Matches(*this, id)) view.push_back(id);
  return true;
}

void RecordsetState::FetchAll() {
  while (FetchOne()) {
  }
}

bool RecordsetState::AtEnd() {
  while (position >= static_cast<long>(view.size())) {
    if (fetchedAll) return true;
    if (!FetchOne() && position >= static_cast<long>(view.size())) return true;
  }
  return false;
}

void RecordsetState::RebuildView() {
  FetchAll();
  view.clear();
  view.reserve(store.RowCount());
  for (RowStore::RowId id = 0; id < store.RowCount(); ++id)
    if (!deleted[id] && (!filter || filter->Matches(*this, id))) view.push_back(id);
  if (!sortKeys.empty()) SortRows(view, sortKeys, *this);
  position = view.empty() ? -1 : 0;
  currentDeleted = false;
}

Variant RecordsetState::Value(int column) {
  if (editMode != adEditNone && pending[static_cast<std::size_t>(column)])
    return *pending[static_cast<std::size_t>(column)];
  if (editMode == adEditAdd) return Variant::Null();
  RequireCurrent();
  return Stored(CurrentRow(), column).ToVariant();
}

ValueView RecordsetState::View(int column) {
  if (editMode != adEditNone && pending[static_cast<std::size_t>(column)])
    return ValueView::Of(*pending[static_cast<std::size_t>(column)]);
  if (editMode == adEditAdd) {
    ValueView null;
    null.vt = VT_NULL;
    return null;
  }
  RequireCurrent();
  return Stored(CurrentRow(), column);
}

ValueView RecordsetState::ViewAt(long viewPosition, int column) {
  if (viewPosition == position && editMode != adEditNone) return View(column);
  RequireOpen();
  // While rows arrive the view is the fetch order, and the worker owns the view itself: only
  // the rows published so far are read.
  const long shown =
      fetchPending ? static_cast<long>(fetchedRows.load(std::memory_order_acquire)) : static_cast<long>(view.size());
  if (viewPosition < 0 || viewPosition >= shown) throw ComError(adErrNoCurrentRecord);
  const RowStore::RowId row =
      fetchPending ? static_cast<RowStore::RowId>(viewPosition) : view[static_cast<std::size_t>(viewPosition)];
  return Stored(row, column);
}

ValueView RecordsetState::Stored(RowStore::RowId row, int column) {
  // Cells are read row by row: the row's column starts are found once for all its values.
  if (rowStartsOf != row) {
    store.ColumnStarts(row, static_cast<int>(columns.size()), rowStarts);
    rowStartsOf = row;
  }
  return RowStore::DecodeAt(rowStarts[static_cast<std::size_t>(column)]);
}

std::size_t RecordsetState::MemoryBytes() const {
  return store.MemoryBytes() + view.capacity() * sizeof(RowStore::RowId) + deleted.capacity() / 8;
}

void RecordsetState::SetCriteriaColumns() {
  criteriaColumns.clear();
  for (const ColumnInfo& c : columns) criteriaColumns.push_back(CriteriaColumn{c.name, c.type});
}

void RecordsetState::BeginEditIfNeeded() {
  if (editMode != adEditNone) return;
  RequireCurrent();
  if (readOnly) throw ComError(adErrFeatureNotAvailable);
  editMode = adEditInProgress;
  pending.assign(columns.size(), std::nullopt);
  chunkStarted.assign(columns.size(), false);
}

void RecordsetState::PutValue(int column, const Variant& value) {
  BeginEditIfNeeded();
  const ColumnInfo& info = columns[static_cast<std::size_t>(column)];
  if (!(info.attributes & (adFldUpdatable | adFldUnknownUpdatable)))
    throw ComError(adErrFeatureNotAvailable,
                   "Field \"" + info.name + "\" cannot be updated: it is not a column of a table.", "Qelvo ADO");
  pending[static_cast<std::size_t>(column)] = ConvertForColumn(value, info);
}

void RecordsetState::AppendChunk(int column, const Variant& chunk) {
  const ColumnInfo& info = columns[static_cast<std::size_t>(column)];
  if (!(info.attributes & adFldLong))
    throw ComError(adErrFeatureNotAvailable, "AppendChunk needs a long field; \"" + info.name + "\" is not one.",
                   "Qelvo ADO");
  BeginEditIfNeeded();
  std::string piece = chunk.IsByteArray() || chunk.vt() == VT_BSTR ? chunk.Str() : chunk.ToText();
  auto& slot = pending[static_cast<std::size_t>(column)];
  auto index = static_cast<std::size_t>(column);
  bool binary = info.type == adLongVarBinary || info.type == adVarBinary || info.type == adBinary;
  if (!chunkStarted[index] || !slot || !slot->HasValue()) {
    slot = binary ? Variant::Bytes(std::move(piece)) : Variant(std::move(piece));
    chunkStarted[index] = true;
  } else {
    std::string joined = slot->Str() + piece;
    slot = binary ? Variant::Bytes(std::move(joined)) : Variant(std::move(joined));
  }
}

void RecordsetState::CancelUpdate() {
  RequireRows();
  if (editMode == adEditAdd) position = positionBeforeAdd;
  editMode = adEditNone;
  pending.clear();
  chunkStarted.clear();
}

void RecordsetState::Update() {
  RequireRows();
  if (editMode == adEditNone) return;
  ProviderSession& session = connection->Session();
  if (editMode == adEditAdd) {
    std::vector<Variant> row = InsertRow(session, columns, pending);
    RowStore::RowId id = store.AddRow(row);
    deleted.push_back(false);
    view.push_back(id);
    position = static_cast<long>(view.size()) - 1;
  } else {
    RowStore::RowId id = CurrentRow();
    std::vector<Variant> original = store.GetRow(id, static_cast<int>(columns.size()));
    std::vector<Variant> updated = UpdateRow(session, columns, original, pending);
    store.ReplaceRow(id, updated);
    rowStartsOf = -1;
  }
  editMode = adEditNone;
  pending.clear();
  chunkStarted.clear();
}

void RecordsetState::Delete() {
  RequireCurrent();
  if (readOnly) throw ComError(adErrFeatureNotAvailable);
  if (editMode == adEditAdd) {
    CancelUpdate();
    return;
  }
  editMode = adEditNone;
  RowStore::RowId id = CurrentRow();
  DeleteRow(connection->Session(), columns, store.GetRow(id, static_cast<int>(columns.size())));
  deleted[id] = true;
  view.erase(view.begin() + position);
  currentDeleted = true;
}

void RecordsetState::Reset() {
  CancelFetch();
  open = false;
  cursor.reset();
  connection = ConnectionPtr();
  fetchedAll = false;
  readOnly = false;
  columns.clear();
  criteriaColumns.clear();
  // The rows of a big result are freed on a background thread: giving back hundreds of MB would
  // hold up the thread that closes it (a new Execute's window). Nothing points into them now:
  // the worker has ended and the row starts are forgotten.
  rowStarts.clear();
  rowStartsOf = -1;
  const std::size_t bytes = MemoryBytes();
  ReleaseInBackground(std::make_tuple(store.TakeStorage(), std::move(view), std::move(deleted)), bytes);
  view = {};
  deleted = {};
  rowsAffected = -1;
  position = -1;
  currentDeleted = false;
  sortText.clear();
  sortKeys.clear();
  filterValue = Variant(std::int32_t{0});
  filter.reset();
  editMode = adEditNone;
  pending.clear();
  chunkStarted.clear();
}

// ---- Recordset -----------------------------------------------------------------------------

Recordset::Recordset() : state_(std::make_shared<RecordsetState>()) {}
Recordset::~Recordset() {
  // The fields may keep the state alive: the worker stops with the recordset.
  state_->CancelFetch();
}

void Recordset::PutCursorLocation(long location) {
  if (state_->open) throw ComError(adErrObjectOpen);
  if (location != adUseNone && location != adUseServer && location != adUseClient) throw ComError(adErrInvalidArgument);
  state_->cursorLocation = location;
}

long Recordset::GetCursorLocation() const {
  return state_->cursorLocation;
}

namespace {
void FinishOpen(RecordsetState& s, bool fetchOnWorker = false) {
  s.SetCriteriaColumns();
  s.open = true;
  if (fetchOnWorker && s.cursorLocation == adUseClient) {
    // The position is set when the fetch ends; until then nothing reads it.
    s.position = -1;
    s.StartFetch();
    return;
  }
  if (s.cursorLocation == adUseClient) s.FetchAll();
  // The first row is read at once so that EOF and BOF are known, as a provider knows them.
  if (!s.fetchedAll) s.FetchOne();
  s.position = s.view.empty() ? -1 : 0;
}
}  // namespace

void Recordset::Open(const std::string& source, const ConnectionPtr& connection, long cursorType, long lockType,
                     long options) {
  (void)cursorType;
  if (state_->open) throw ComError(adErrObjectOpen);
  if (!connection) throw ComError(adErrInvalidConnection);
  connection->RequireOpen(adErrInvalidConnection);
  long location = state_->cursorLocation;
  // The session cannot run this statement beside another recordset's worker.
  connection->RequireIdle();
  state_->Reset();
  state_->cursorLocation = location;
  state_->readOnly = lockType == adLockReadOnly;
  if ((options & adAsyncExecute) && location == adUseClient) {
    // Open returns now; the worker runs the statement and reads its rows.
    state_->connection = connection;
    state_->open = true;
    state_->position = -1;
    state_->StartExecute(source);
    return;
  }
  state_->cursor = connection->Session().OpenQuery(source);
  state_->columns = state_->cursor->Columns();
  if (state_->columns.empty()) {
    // A statement that returns no rows has run; like ADO, the recordset stays closed, and it
    // keeps the count of rows the statement changed.
    const long affected = state_->cursor->RowsAffected();
    state_->Reset();
    state_->cursorLocation = location;
    state_->rowsAffected = affected;
    return;
  }
  state_->connection = connection;
  try {
    FinishOpen(*state_, (options & adAsyncFetch) != 0);
  } catch (...) {
    state_->Reset();
    state_->cursorLocation = location;
    throw;
  }
}

void Recordset::OpenCursor(std::unique_ptr<ProviderCursor> cursor, long cursorLocation) {
  if (state_->open) throw ComError(adErrObjectOpen);
  state_->Reset();
  state_->cursorLocation = cursorLocation;
  state_->readOnly = true;
  state_->columns = cursor->Columns();
  state_->cursor = std::move(cursor);
  FinishOpen(*state_);
}

void Recordset::Close() {
  state_->RequireOpen();
  // A fetch under way stops first: its worker uses the session.
  state_->CancelFetch();
  long location = state_->cursorLocation;
  state_->Reset();
  state_->cursorLocation = location;
}

long Recordset::GetState() const {
  if (!state_->open) return adStateClosed;
  if (!state_->fetchPending || !state_->fetchRunning.load(std::memory_order_acquire)) return adStateOpen;
  return state_->ColumnsKnown() ? adStateOpen | adStateFetching : adStateOpen | adStateExecuting;
}

void Recordset::Cancel() {
  state_->CancelFetch();
}

void Recordset::WaitForCompletion() {
  if (state_->open) state_->EndFetch();
}

bool Recordset::GetBOF() const {
  state_->RequireRows();
  return state_->position < 0;
}

bool Recordset::GetEOF() {
  state_->RequireRows();
  if (state_->position < 0) return state_->view.empty() && (state_->fetchedAll || !state_->FetchOne());
  return state_->AtEnd();
}

long Recordset::GetRecordCount() const {
  state_->RequireRows();
  if (!state_->fetchedAll) return -1;
  return static_cast<long>(state_->view.size());
}

long Recordset::GetUnfilteredRecordCount() const {
  state_->RequireRows();
  if (!state_->fetchedAll) return -1;
  const auto deleted = std::count(state_->deleted.begin(), state_->deleted.end(), true);
  return static_cast<long>(state_->store.RowCount()) - static_cast<long>(deleted);
}

long Recordset::GetRowsAffected() const {
  return state_->open ? -1 : state_->rowsAffected;
}

void Recordset::MoveFirst() {
  state_->RequireRows();
  if (state_->editMode != adEditNone) state_->Update();
  if (state_->view.empty()) state_->FetchOne();
  state_->position = state_->view.empty() ? -1 : 0;
  state_->currentDeleted = false;
}

void Recordset::MoveNext() {
  state_->RequireRows();
  if (state_->editMode != adEditNone) state_->Update();
  if (state_->currentDeleted) {
    // The rows after a deleted one moved up into its place.
    state_->currentDeleted = false;
    state_->AtEnd();
    return;
  }
  if (GetEOF()) throw ComError(adErrNoCurrentRecord);
  ++state_->position;
  state_->AtEnd();
}

void Recordset::MovePrevious() {
  state_->RequireRows();
  if (state_->editMode != adEditNone) state_->Update();
  if (state_->position < 0) throw ComError(adErrNoCurrentRecord);
  state_->currentDeleted = false;
  --state_->position;
}

void Recordset::MoveLast() {
  state_->RequireRows();
  if (state_->editMode != adEditNone) state_->Update();
  state_->FetchAll();
  state_->position = static_cast<long>(state_->view.size()) - 1;
  state_->currentDeleted = false;
}

void Recordset::Move(long numRecords) {
  state_->RequireRows();
  if (numRecords == 0) {
    state_->RequireCurrent();
    return;
  }
  if (state_->editMode != adEditNone) state_->Update();
  long from = state_->position;
  bool atEnd = state_->AtEnd();
  if ((from < 0 && numRecords < 0) || (atEnd && numRecords > 0) || (state_->view.empty() && state_->fetchedAll))
    throw ComError(adErrNoCurrentRecord);
  if (state_->currentDeleted && numRecords > 0) --numRecords;
  state_->currentDeleted = false;
  long target = from + numRecords;
  if (target < 0) {
    state_->position = -1;
    return;
  }
  while (target >= static_cast<long>(state_->view.size()) && state_->FetchOne()) {
  }
  state_->position = std::min<long>(target, static_cast<long>(state_->view.size()));
}

FieldsPtr Recordset::GetFields() {
  state_->RequireOpen();
  return FieldsPtr(std::make_shared<Fields>(state_));
}

Variant Recordset::GetCollect(long index) {
  return state_->Value(state_->CheckedColumn(index));
}
ValueView Recordset::GetCollectView(long index) {
  return state_->View(state_->CheckedColumn(index));
}
Variant Recordset::GetCollect(const std::string& name) {
  return state_->Value(state_->CheckedColumn(name));
}
long Recordset::GetViewCount() const {
  state_->RequireOpen();
  if (state_->fetchPending) return static_cast<long>(state_->fetchedRows.load(std::memory_order_acquire));
  return static_cast<long>(state_->view.size());
}
ValueView Recordset::GetValueAt(long position, long column) {
  return state_->ViewAt(position, state_->CheckedColumn(column));
}
void Recordset::PutCollect(long index, const Variant& value) {
  state_->PutValue(state_->CheckedColumn(index), value);
}
void Recordset::PutCollect(const std::string& name, const Variant& value) {
  state_->PutValue(state_->CheckedColumn(name), value);
}

void Recordset::AddNew() {
  state_->RequireRows();
  if (state_->readOnly) throw ComError(adErrFeatureNotAvailable);
  if (state_->editMode != adEditNone) state_->Update();
  state_->positionBeforeAdd = state_->position;
  state_->editMode = adEditAdd;
  state_->pending.assign(state_->columns.size(), std::nullopt);
  state_->chunkStarted.assign(state_->columns.size(), false);
}

void Recordset::Update() {
  state_->Update();
}
void Recordset::CancelUpdate() {
  state_->CancelUpdate();
}

void Recordset::Delete(long affect) {
  if (affect != adAffectCurrent) throw ComError(adErrFeatureNotAvailable);
  state_->Delete();
}

long Recordset::GetEditMode() const {
  state_->RequireOpen();
  return state_->editMode;
}

void Recordset::PutSort(const std::string& criteria) {
  state_->RequireRows();
  std::vector<SortKey> keys = ParseSortCriteria(criteria, state_->criteriaColumns);
  if (state_->editMode != adEditNone) state_->Update();
  state_->sortKeys = std::move(keys);
  state_->sortText = criteria;
  state_->RebuildView();
}

std::string Recordset::GetSort() const {
  return state_->sortText;
}

void Recordset::PutFilter(const Variant& filter) {
  state_->RequireRows();
  std::unique_ptr<FilterExpression> compiled;
  if (filter.vt() == VT_BSTR) {
    if (!filter.Str().empty()) compiled = CompileFilter(filter.Str(), state_->criteriaColumns);
  } else if (filter.vt() == VT_NULL || filter.vt() == VT_EMPTY || filter.ToInt64() != adFilterNone) {
    throw ComError(adErrInvalidArgument);
  }
  if (state_->editMode != adEditNone) state_->Update();
  state_->filter = std::move(compiled);
  state_->filterValue = state_->filter ? filter : Variant(std::int32_t{0});
  state_->RebuildView();
}

Variant Recordset::GetFilter() const {
  return state_->filterValue;
}

std::size_t Recordset::MemoryBytes() const {
  if (state_->open) state_->RequireRows();
  return state_->MemoryBytes();
}

}  // namespace ado
