#pragma once
// The cursor engine behind Recordset, Fields and Field (internal to data/ado).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/ado/AdoEnums.h"
#include "data/ado/Connection.h"
#include "data/ado/FilterParser.h"
#include "data/ado/Provider.h"
#include "data/ado/RowStore.h"
#include "data/ado/SortCriteria.h"

namespace ado {

class RecordsetState : public RowSource {
 public:
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
  ValueView View(int column);                       // as Value, without copying: valid while the row is unchanged
  ValueView ViewAt(long viewPosition, int column);  // the same for any shown row, position unmoved
  void PutValue(int column, const Variant& value);
  void AppendChunk(int column, const Variant& chunk);
  void BeginEditIfNeeded();
  void Update();
  void CancelUpdate();
  void Delete();
  void RebuildView();
  void Reset();
};

}  // namespace ado
