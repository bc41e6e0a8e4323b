#pragma once
// CDbGridCtrl: the result grid. It owns one DbRecordset, opens it for an SQL text on the
// connection of its own DbConnectionHolder, and shows the open recordset: a header row, optional
// rows of field metadata, an optional filter row, one row per record, and a fixed column 0 that
// shows record numbers. A header click sorts through the recordset and the filter row filters
// through it; the grid never reorders or hides rows itself. The recordset's current record
// follows the selected row. With the editable flag on, a value typed into a data cell is written
// back to the row's record at once (grid/db/GridCellToDbField.h).
//
// The grid holds no copy of the records: its data rows are made from the recordset's rows when
// they are shown, measured, edited, copied or printed (grid/db/RecordsetCellStore.h), by their
// position in the recordset's sorted and filtered rows.
//
// Row layout, with d detail rows (0; 4 with viewDetails; 11 with viewExtendedDetails too) and
// f = 1 when useFilters is on: row 0 the header, rows 1..d the details (fixed), row d+1 the
// filter row when f = 1 (editable, not fixed), data rows from d+1+f on. Data column j (j >= 1)
// shows field j-1.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "data/DbConnection.h"
#include "data/DbConnectionHolder.h"
#include "data/DbFieldInfo.h"
#include "data/DbRecordset.h"
#include "grid/GridCtrlEx.h"
#include "grid/db/GridOptions.h"
#include "grid/db/RecordsetCellStore.h"

namespace ado {

class ComError;

}  // namespace ado

// The filter marker: the images of the grid's image list "DbGridImages".
inline constexpr int kDbGridImageNoFilter = 0;
inline constexpr int kDbGridImageFilterOn = 1;

// Where the data rows' cells live: made from the recordset when asked for (the result grid), or
// copied into cells the grid owns at each fill (a grid that must keep what it shows whatever
// happens to the recordset; the memory benchmark's peer).
enum class DbGridStorage { Recordset, OwnedCells };

class CDbGridCtrl : public CGridCtrlEx {
  Q_OBJECT

 public:
  // Control id of the result grid in the lower pane.
  static constexpr int kControlId = 101;
  // Column auto-sizing measures the header rows and this many rows below them: the widths a
  // person sees first, without measuring every cell of a million-row result.
  static constexpr int kAutoSizeRowLimit = 1000;

  explicit CDbGridCtrl(QWidget* parent = nullptr, DbGridStorage storage = DbGridStorage::Recordset);
  ~CDbGridCtrl() override;

  // ---- Opening and filling.
  // Closes whatever was open (saving the filter texts and the sort column for the next Update)
  // and opens `sql` on the holder's connection for the current connection string. On failure
  // the error is traced and, with diagnostics on, shown in a message box; the grid stays empty.
  bool OpenRecordset(const std::string& sql);
  // Makes `connectionString` the process-wide CurrentConnectionString, opens `sql`, and then
  // remembers `connectionString` as the grid's own.
  bool OpenRecordset(const std::string& connectionString, const std::string& sql);
  // The remembered SQL again, with the remembered connection string when there is one.
  bool ReopenRecordset();
  // Fills the grid from the open recordset. After an open (or with forceLayout) it first lays out
  // rows and columns, and afterwards sizes the columns and applies the previous sort column and
  // filter texts again; otherwise it only refills, keeping the column widths. Always true.
  bool Update(bool forceLayout);
  // Opens run the statement and read its rows on a worker thread (adAsyncExecute,
  // adAsyncFetch): OpenRecordset returns at once, and the grid can show rows while the rest
  // arrive. Until the columns are known an Update does nothing; until the fetch ends, sorting,
  // filtering and editing wait and an Update neither counts all records nor sorts or filters
  // again; FinishFetch does that. A failure of the statement shows at EndOpen.
  void SetFetchOnWorker(bool on) { m_fetchOnWorker = on; }
  // The statement runs, or its rows are still arriving, on the worker; or the worker is done
  // and EndOpen has not yet shown how it ended. The grid never ends the fetch by itself: a
  // failure of the worker must reach EndOpen.
  bool IsFetching() const { return m_workerPending && m_recordset; }
  // The statement itself still runs on the worker: no column is known yet.
  bool IsExecuting() const { return m_recordset && m_recordset->IsExecuting(); }
  // Waits for the worker of an open. A failure of the statement is reported as a failed
  // OpenRecordset reports it (the error line and, with diagnostics, the message box) and leaves
  // the recordset closed; a failure half way is reported the same way, the rows before it kept.
  // False when something failed.
  bool EndOpen();
  // After the fetch ended (or was stopped): every record in the row count, then the sort column
  // and filter texts of the previous result applied again when an Update during the fetch left
  // them. Ends the worker first when EndOpen has not (reporting what failed as EndOpen does).
  void FinishFetch();
  // Sets the row count to the header rows plus the records readable now (while rows are still
  // arriving), within the row limit, without touching the rows already shown; repaints only when
  // a new row can be on screen. Nothing before the grid has been laid out for the recordset.
  void SyncRowCountFromRecordset();
  DbGridStorage GetStorage() const { return m_cellStore ? DbGridStorage::Recordset : DbGridStorage::OwnedCells; }
  // Closes (ignoring a failure) and deletes the recordset; with `recreate` a new, closed one.
  void PurgeRecordset(bool recreate);
  DbRecordset* GetRecordset() const { return m_recordset.get(); }
  // The filter row's criteria filter the recordset now.
  bool IsFilterActive() const { return m_filterActive; }
  DbConnectionHolder& GetConnectionHolder() { return m_connectionHolder; }
  const std::string& GetSql() const { return m_sql; }
  const std::string& GetConnectionString() const { return m_connectionString; }

  // ---- Options.
  void SetOptions(const GridOptions& options);
  const GridOptions& GetOptions() const { return m_options; }
  // The process-wide NULL text (grid/db/NullLabel.h).
  static void SetNullLabel(const std::string& label);
  static std::string GetNullLabel();
  // Trace lines for each step, and message boxes for open failures.
  void SetDiagnostics(bool on) { m_diagnostics = on; }
  bool GetDiagnostics() const { return m_diagnostics; }

  // ---- Layout.
  int GetDetailRowCount() const;
  int GetFirstDataRow() const;
  int GetFilterRow() const;  // -2 without a filter row

  // ---- Values into cells.
  // Stores one database value into one cell of `grid` by the cell's kind (GetCellType): NULL as
  // the null label (an empty date cell in date columns), binary data as "%02x " per byte, texts
  // as they are, integers, numbers, check boxes and dates as values of their cells. A value that
  // the cell's kind cannot hold (a text in a SQLite integer column) is shown as its text.
  static void VariantToGridCell(const ado::Variant& value, CGridCtrlEx& grid, int row, int col);
  // The same for a value viewed in the recordset's rows, with the null label given; compact cells
  // take the common values straight, without a copy of the value or a cell object, and without
  // being redrawn. False out of range.
  static bool StoreValueInCell(const ado::ValueView& value, CGridCtrlEx& grid, int row, int col,
                               const std::string& nullLabel);
  // The same with the value of the recordset's current record, by field index or by name.
  // Raise ComError when the field cannot be read.
  void VariantToGridCell(long fieldIndex, CGridCtrlEx& grid, int row, int col);
  void VariantToGridCell(const std::string& fieldName, CGridCtrlEx& grid, int row, int col);

  // Selects the first data row whose cell in the first non-fixed column holds `key` as an
  // integer (which also positions the recordset); false when none does.
  bool FindRowByKey(long long key);
  // Puts the recordset on the record of data row `row`; raises ComError (no current record) for
  // a row that shows none.
  void MoveRecordsetToRow(int row);
  // The first row of the selection when it is a data row with a record; -1 otherwise.
  int GetSelectedDataRow() const;

  // ---- Sorting and filtering.
  // Sorts the recordset by the field of grid column `col` and refills. Always false: what counts
  // is the effect. A provider's refusal is traced by the recordset and leaves the grid as it was.
  bool SortRecordset(int col, bool ascending);
  // The criteria of the filter row, column by column joined by " AND "; date filter cells are
  // rewritten in their normalised form (or erased when they hold no date).
  std::string BuildFilterCriteria();
  // Filters the recordset (an empty text removes the filter), adjusts the row count and
  // refills, then sets the filter marker. A refusal keeps the rows and the marker.
  void FilterRecordset(const std::string& criteria);
  // Empties every filter cell and removes the filter.
  void ClearFilters();
  // Image 1 (on) or 0 (off) in the filter row's cell in the last fixed column.
  void SetFilterMarker(bool on);

  // ---- Overrides.
  void SelectRow(int row, bool ensureVisible) override;
  void OnGridClick(int row, int col) override;
  void OnGridSelChanging(int row, int col, long long count) override;
  void OnGridEndSelChange(int row, int col, long long count) override;
  // Filter cells always open their editor; data cells when the grid is editable and the cell is
  // not read-only; fixed cells never.
  bool OnGridBeginEdit(int row, int col) override;
  // An edit of a filter cell applies the filter; an edit of a data cell is written to the
  // recordset's current record (the selected row) and saved. A database error is shown in a
  // message box and the cell keeps the typed text. Always accepts.
  bool OnGridEndEdit(int row, int col) override;
  void SetEditable(bool editable) override;
  // Filter cells are editable whatever the editable flag says; cells of computed columns never.
  bool IsCellEditable(int row, int col) const override;
  // In a filter cell, Select All means the filter text.
  bool SelectAllEditsFocusCell() const override { return IsFilterRow(GetFocusCell().row); }
  // The column shows a column of a table (not a computed value), so edits can go back.
  bool IsColumnWritable(int col) const;

 signals:
  // The registered messages "WM_SORT_CHANGING", "WM_SORT_CHANGED", "WM_FILTER_CHANGING" and
  // "WM_FILTER_CHANGED", for the owner.
  void SortChanging();
  void SortChanged();
  void FilterChanging();
  void FilterChanged();
  // A filter text could not be read or the recordset refused the criteria: why, for the
  // status bar (the text stays in its cell).
  void FilterRefused(const QString& reason);

 protected:
  // Hooks around filtering and sorting; nothing here.
  virtual void OnBeforeFilter() {}
  virtual void OnAfterFilter() {}
  virtual void OnBeforeSort() {}
  virtual void OnAfterSort() {}
  // The steps of Update.
  virtual void LayoutGridAfterRecorset();
  virtual void SetRowCountAfterRecorset();
  virtual void LayoutColumns(const std::vector<DbFieldInfo>& fields);
  virtual void FillGridDataFromRecordset();

 private:
  // A grid trace line, when diagnostics are on.
  void GridTrace(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The error line, and with diagnostics a message box.
  void ReportError(const ado::ComError& error);
  void WriteFieldDetails(const std::vector<DbFieldInfo>& fields);
  // Keeps the sort column and the filter texts of the layout on screen for the next layout.
  void SaveSortAndFilters();
  void SizeColumns();
  // Auto-sizes a column as the grid does (style 0: the grid's own), measuring the fixed rows and
  // at most the first kAutoSizeRowLimit other rows.
  void AutoSizeColumnFromTopRows(int col, int style);
  // The width rows [from, to) need in column `col`, with the last row when `withLast` and the
  // header's sort arrow when row 0 is measured; the current width when nothing shows.
  int TopRowsWidth(int col, int from, int to, bool withLast) const;
  // Widens the columns that would cut a text now among the top rows or in the header.
  void GrowColumnsToFit();
  void ReapplySortAndFilters();
  // Frames the focus cell when it is a filter cell or editable.
  void UpdateFocusFrame();
  bool IsFilterRow(int row) const { return m_options.useFilters && row == GetFilterRow(); }
  // The store's row maker: the column's looks, then the record's values, without repainting.
  void MakeDataRow(int row);
  void ApplyDataRowLooks(int row);
  void FillDataRow(int row);
  // The data rows are made again (new records, order, columns or options).
  void ForgetDataRows();
  // The corner's "top N rows" and its colour when the row limit cuts `records`; returns the
  // records shown.
  long ApplyRowLimit(long records);

  // Copies the records into owned cells (DbGridStorage::OwnedCells), rows [from, to).
  void CopyRecordsIntoRows(int from, int to);

  RecordsetCellStore* m_cellStore = nullptr;  // owned by the grid; null with owned cells
  // The inline forms of a data row's cells with the column looks and no value, once computed;
  // empty when some column's cells have no inline form.
  std::vector<std::array<unsigned char, 16>> m_rowLooks;
  bool m_rowLooksKnown = false;
  std::string m_fillNullLabel;
  DbConnectionHolder m_connectionHolder;
  std::unique_ptr<DbRecordset> m_recordset;
  std::string m_connectionString;
  std::string m_sql;
  bool m_needsLayout = true;
  bool m_layingOut = false;
  bool m_filterActive = false;  // the recordset is filtered by the filter row
  // The filter row of the layout on screen (-2 without one); kNoLayout before the first layout
  // and after an open cleared the grid.
  static constexpr int kNoLayout = -3;
  int m_laidOutFilterRow = kNoLayout;
  std::vector<std::string> m_savedFilters;
  std::vector<bool> m_writableColumns;  // per field: it has a base table
  int m_savedSortColumn = -1;
  bool m_savedSortAscending = true;
  bool m_diagnostics = false;
  bool m_fetchOnWorker = false;
  bool m_workerPending = false;      // an open on the worker that EndOpen has not ended
  bool m_reapplyAfterFetch = false;  // an Update during a fetch left the sort and filters
  std::string m_cornerLabel;         // "top N rows" while the row limit cuts the records
  GridOptions m_options;
};
