#include "grid/db/DbGridCtrl.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "data/ErrorText.h"
#include "data/Trace.h"
#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/HResult.h"
#include "grid/db/DataTypeToColumnType.h"
#include "grid/db/GridCellToDbField.h"
#include "grid/db/NullLabel.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/WaitCursor.h"
#include "resources/Art.h"
#include "text/StringFormat.h"
#include "text/TextUtil.h"

namespace {

constexpr COLORREF kDetailRowColour = RGB(230, 230, 230);
constexpr COLORREF kFilterRowColour = RGB(220, 255, 220);
constexpr COLORREF kLimitedCornerColour = RGB(255, 200, 200);
constexpr COLORREF kNullCellColour = RGB(255, 200, 200);

const char* const kDetailLabels[] = {"Type", "Size", "MayBeNull", "AutoIncr"};
const char* const kExtendedDetailLabels[] = {"Type",      "Size",           "Precision",     "NumericScale",
                                             "Attr",      "BaseColumnName", "BaseTableName", "Key",
                                             "MayBeNull", "IsNullable",     "AutoIncr"};

const char* Flag(bool on) {
  return on ? "true" : "false";
}

}  // namespace

CDbGridCtrl::CDbGridCtrl(QWidget* parent, DbGridStorage storage)
    : CGridCtrlEx(parent), m_recordset(std::make_unique<DbRecordset>()) {
  if (storage == DbGridStorage::Recordset) {
    auto store = std::make_unique<RecordsetCellStore>([this](int row) { MakeDataRow(row); });
    m_cellStore = store.get();
    SetCellStore(std::move(store));
  }
  SetImageList(LoadDbGridImages());
}

CDbGridCtrl::~CDbGridCtrl() {
  GridTrace("~CDbGridCtrl() dtor");
  // Before the holder closes the connection the recordset was opened on.
  PurgeRecordset(false);
}

void CDbGridCtrl::GridTrace(const char* format, ...) {
  if (!m_diagnostics) return;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  Trace(TraceGrid, "%s", text.c_str());
}

void CDbGridCtrl::ReportError(const ado::ComError& error) {
  const std::string text = ComErrorText(error);
  Trace(TraceError, "%s", text.c_str());
  if (m_diagnostics) QelvoMessageBox(text, MB_OK | MB_ICONEXCLAMATION, this);
}

// ---------------------------------------------------------------- options and layout numbers

void CDbGridCtrl::SetOptions(const GridOptions& options) {
  // New options change where the detail, filter and data rows are: the next Update lays the grid
  // out again and brings back what the person had sorted and typed into the filter row.
  if (options != m_options && m_laidOutFilterRow != kNoLayout) {
    SaveSortAndFilters();
    m_needsLayout = true;
  }
  m_options = options;
  SetMoveAfterEdit(options.moveCursorAfterEdit);
}

void CDbGridCtrl::SetNullLabel(const std::string& label) {
  ::SetNullLabel(label);
}

std::string CDbGridCtrl::GetNullLabel() {
  return ::GetNullLabel();
}

int CDbGridCtrl::GetDetailRowCount() const {
  if (!m_options.viewDetails) return 0;
  return m_options.viewExtendedDetails ? 11 : 4;
}

int CDbGridCtrl::GetFirstDataRow() const {
  return GetDetailRowCount() + 1 + (m_options.useFilters ? 1 : 0);
}

int CDbGridCtrl::GetFilterRow() const {
  return m_options.useFilters ? GetDetailRowCount() + 1 : -2;
}

// ---------------------------------------------------------------- opening

bool CDbGridCtrl::OpenRecordset(const std::string& sql) {
  GridTrace("CDbGridCtrl::OpenRecordset()");

  SaveSortAndFilters();
  SetRowCount(0);
  SetColumnCount(0);
  m_writableColumns.clear();
  m_laidOutFilterRow = kNoLayout;
  viewport()->repaint();

  m_connectionString.clear();
  m_sql = sql;
  m_needsLayout = true;
  m_filterActive = false;
  try {
    PurgeRecordset(true);
    m_reapplyAfterFetch = false;
    if (m_fetchOnWorker) {
      m_recordset->Open(m_connectionHolder.GetConnection(), sql, ado::adOpenKeyset, ado::adLockOptimistic,
                        ado::adCmdText | ado::adAsyncExecute | ado::adAsyncFetch, RecordsetCursorLocation);
      m_workerPending = m_recordset->IsOpen();
    } else
      m_recordset->Open(m_connectionHolder.GetConnection(), sql);
  } catch (const ado::ComError& e) {
    ReportError(e);
    return false;
  }
  return true;
}

void CDbGridCtrl::SaveSortAndFilters() {
  // The filter row as the grid shows it, which the options may no longer describe.
  if (m_laidOutFilterRow == kNoLayout) return;
  m_savedFilters.clear();
  if (m_laidOutFilterRow >= 0 && m_laidOutFilterRow < GetRowCount())
    for (int col = GetFixedColumnCount(); col < GetColumnCount(); ++col)
      m_savedFilters.push_back(Trim(GetCellText(m_laidOutFilterRow, col)));
  m_savedSortColumn = GetSortColumn();
  m_savedSortAscending = GetSortAscending();
}

bool CDbGridCtrl::OpenRecordset(const std::string& connectionString, const std::string& sql) {
  CurrentConnectionString = connectionString;
  const bool opened = OpenRecordset(sql);
  m_connectionString = connectionString;
  return opened;
}

bool CDbGridCtrl::ReopenRecordset() {
  const std::string sql = m_sql;
  const std::string connectionString = m_connectionString;
  if (!connectionString.empty()) return OpenRecordset(connectionString, sql);
  return OpenRecordset(sql);
}

void CDbGridCtrl::PurgeRecordset(bool recreate) {
  m_workerPending = false;
  if (m_recordset && m_recordset->IsOpen()) {
    try {
      m_recordset->Close();
    } catch (const ado::ComError&) {
    }
  }
  m_recordset.reset();
  if (recreate) m_recordset = std::make_unique<DbRecordset>();
}

// ---------------------------------------------------------------- update

bool CDbGridCtrl::Update(bool forceLayout) {
  GridTrace("CDbGridCtrl::Update()");
  // Before the statement on the worker has run there are no columns to lay out: the layout
  // waits for them, and the grid stays as the open left it.
  if (IsExecuting()) return true;
  // A forced layout keeps what the person sees sorted and filtered, as a new open does.
  if (forceLayout && !m_needsLayout) SaveSortAndFilters();
  const bool layout = forceLayout || m_needsLayout;
  {
    WaitCursor wait;
    SetRedraw(false);
    // A layout over an earlier one starts without rows, as after an open: a row that changes its
    // role (a data row becoming the filter row) keeps neither its text nor its kind of cell.
    if (layout && m_laidOutFilterRow != kNoLayout) SetRowCount(0);
    if (layout) LayoutGridAfterRecorset();
    SetRedraw(true, true);
  }
  // A value that cannot be read (a connection lost half way) ends the fill, not the program.
  try {
    FillGridDataFromRecordset();
  } catch (const ado::ComError& e) {
    ReportError(e);
  }
  if (!layout) return true;
  SizeColumns();
  // Sorting and filtering need every row: they wait for the end of a fetch.
  if (IsFetching())
    m_reapplyAfterFetch = true;
  else
    ReapplySortAndFilters();
  // Sizing made the top rows; painting makes again the few that show.
  ForgetDataRows();
  return true;
}

bool CDbGridCtrl::EndOpen() {
  if (!m_workerPending || !m_recordset) return true;
  m_workerPending = false;
  try {
    m_recordset->WaitForFetch();
  } catch (const ado::ComError& e) {
    ReportError(e);
    return false;
  }
  return true;
}

void CDbGridCtrl::FinishFetch() {
  EndOpen();
  if (!m_recordset || !m_recordset->IsOpen()) return;
  m_recordset->GetRecordCount();
  SyncRowCountFromRecordset();
  if (m_reapplyAfterFetch) {
    m_reapplyAfterFetch = false;
    ReapplySortAndFilters();
  }
  // The record follows the row selected while the rows arrived.
  const CellId focus = GetFocusCell();
  if (IsValid(focus) && focus.row >= GetFirstDataRow()) {
    try {
      MoveRecordsetToRow(focus.row);
    } catch (const ado::ComError&) {
    }
  }
}

void CDbGridCtrl::AutoSizeColumnFromTopRows(int col, int style) {
  const int fixedRows = GetFixedRowCount();
  if (GetRowCount() - fixedRows <= kAutoSizeRowLimit) {
    AutoSizeColumn(col, style);
    return;
  }
  if (GetColumnWidth(col) <= 0) return;
  if (style == kAutoSizeDefault) style = GetAutoSizeStyle();
  const int from = (style & kAutoSizeHeader) ? 0 : fixedRows;
  const int to = (style & kAutoSizeData) ? std::min(GetRowCount(), fixedRows + kAutoSizeRowLimit) : fixedRows;
  SetColumnWidth(col, TopRowsWidth(col, from, to, (style & kAutoSizeData) != 0));
}

int CDbGridCtrl::TopRowsWidth(int col, int from, int to, bool withLast) const {
  int width = 0;
  // Compact cells are measured through a stand-in, so that sizing does not turn them into objects.
  for (int row = from; row < to; ++row) width = std::max(width, GetCellForRead(row, col)->GetCellExtent().width());
  // The last row too: record numbers grow downwards, and it is where a scroll to the end looks.
  const int last = GetRowCount() - 1;
  if (withLast && to <= last && last >= GetFirstDataRow())
    width = std::max(width, GetCellForRead(last, col)->GetCellExtent().width());
  if (from == 0) width = std::max(width, HeaderExtentWidth(col));
  if (width <= 0) return GetColumnWidth(col);
  if (GetGridLines() & kGridLinesVert) ++width;  // the grid line takes the last pixel
  return width;
}

void CDbGridCtrl::GrowColumnsToFit() {
  // A sort or filter brings other rows to the top: a column only widens, so widths the person
  // set stay unless they would now cut a shown text, and nothing grows past the maximum width.
  const int style = m_options.autoSizeStyle == kAutoSizeDefault ? GetAutoSizeStyle() : m_options.autoSizeStyle;
  const bool data = (style & kAutoSizeData) != 0;
  const int from = (style & kAutoSizeHeader) ? 0 : GetFixedRowCount();
  const int to = data ? std::min(GetRowCount(), GetFirstDataRow() + kAutoSizeRowLimit) : GetFixedRowCount();
  for (int col = 0; col < GetColumnCount(); ++col) {
    const int current = GetColumnWidth(col);
    if (current <= 0) continue;
    int width = TopRowsWidth(col, from, to, data);
    if (m_options.maxColWidth > 0) width = std::min(width, m_options.maxColWidth);
    if (width > current) SetColumnWidth(col, width);
  }
  ForgetDataRows();
}

void CDbGridCtrl::SizeColumns() {
  const int cols = GetColumnCount();
  for (int col = 0; col < cols; ++col)
    if (GetColumnWidth(col) != 0) AutoSizeColumnFromTopRows(col, m_options.autoSizeStyle);
  if (m_options.minColWidth > 0 || m_options.maxColWidth > 0) {
    for (int col = 0; col < cols; ++col) {
      const int width = GetColumnWidth(col);
      if (m_options.minColWidth > 0 && width < m_options.minColWidth) SetColumnWidth(col, m_options.minColWidth);
      if (m_options.maxColWidth > 0 && width > m_options.maxColWidth) SetColumnWidth(col, m_options.maxColWidth);
    }
  }
  if (m_options.expandLastColumn) ExpandLastColumn();
}

void CDbGridCtrl::ReapplySortAndFilters() {
  if (m_options.sortable && m_savedSortColumn > 0) {
    SetSortColumn(m_savedSortColumn);
    SetSortAscending(m_savedSortAscending);
    SortRecordset(m_savedSortColumn, m_savedSortAscending);
    GrowColumnsToFit();
  }
  if (!m_options.useFilters) {
    // Without a filter row nobody could see or remove a filter still applied.
    if (m_filterActive) FilterRecordset("");
    return;
  }
  const int filterRow = GetFilterRow();
  bool written = false;
  for (int col = GetFixedColumnCount(); col < GetColumnCount(); ++col) {
    const auto index = static_cast<std::size_t>(col - 1);
    if (index >= m_savedFilters.size()) break;
    if (!m_savedFilters[index].empty() && SetCellText(filterRow, col, m_savedFilters[index])) written = true;
  }
  if (written) FilterRecordset(BuildFilterCriteria());
}

void CDbGridCtrl::LayoutGridAfterRecorset() {
  GridTrace("CDbGridCtrl::LayoutGridAfterRecorset()");
  std::vector<DbFieldInfo> fields;
  if (m_recordset && m_recordset->IsOpen() && !m_recordset->GetFieldsInfo(fields)) fields.clear();

  m_layingOut = true;
  SetColumnCount(static_cast<int>(fields.size()) + 1);
  SetColumnWidth(0, 40);
  SetFixedColumnCount(1);
  SetRowCountAfterRecorset();

  const int details = GetDetailRowCount();
  if (details > 0) {
    const char* const* labels = m_options.viewExtendedDetails ? kExtendedDetailLabels : kDetailLabels;
    for (int row = 1; row <= details && row < GetRowCount(); ++row) {
      StoreCellText(row, 0, labels[row - 1]);
      SetRowBackColour(row, 0, kDetailRowColour);
    }
    WriteFieldDetails(fields);
  }
  if (m_options.useFilters && GetFilterRow() < GetRowCount()) {
    SetRowBackColour(GetFilterRow(), 0, kFilterRowColour);
    SetFilterMarker(false);
  }
  LayoutColumns(fields);
  // A computed column has no table to go back to: its cells take no typing.
  m_writableColumns.clear();
  for (const DbFieldInfo& f : fields) m_writableColumns.push_back(HasBaseTable(f));
  // The headers went into row 0 over the corner's "top N rows".
  StoreCellText(0, 0, m_cornerLabel);
  // Data rows take the column definitions when they are made.
  ForgetDataRows();
  if (!m_cellStore && GetFirstDataRow() < GetRowCount()) ApplyColumnDefsToRows(GetFirstDataRow(), GetRowCount() - 1);
  m_laidOutFilterRow = GetFilterRow();
  m_layingOut = false;
  m_needsLayout = false;
}

void CDbGridCtrl::WriteFieldDetails(const std::vector<DbFieldInfo>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const DbFieldInfo& f = fields[i];
    const int col = static_cast<int>(i) + 1;
    std::vector<std::string> values;
    if (m_options.viewExtendedDetails) {
      values = {DataTypeName(f.type),
                FormatString("%ld", static_cast<long>(f.definedSize)),
                FormatString("%ld", static_cast<long>(f.precision)),
                FormatString("%ld", static_cast<long>(f.numericScale)),
                f.attributes,
                f.baseColumnName,
                f.baseTableName,
                Flag(f.isKeyColumn),
                Flag(f.mayBeNull),
                Flag(f.isNullable),
                Flag(f.isAutoIncrement)};
    } else {
      values = {DataTypeName(f.type), FormatString("%ld", static_cast<long>(f.definedSize)), Flag(f.mayBeNull),
                Flag(f.isAutoIncrement)};
    }
    for (std::size_t r = 0; r < values.size(); ++r) StoreCellText(static_cast<int>(r) + 1, col, values[r]);
  }
}

long CDbGridCtrl::ApplyRowLimit(long records) {
  m_cornerLabel.clear();
  COLORREF corner = CLR_DEFAULT;
  if (records >= 0 && m_options.maxDataRows > 0 && m_options.maxDataRows < records) {
    m_cornerLabel = FormatString("top %ld rows", static_cast<long>(m_options.maxDataRows));
    corner = kLimitedCornerColour;
    records = m_options.maxDataRows;
  }
  // Unchanged, the corner is not touched: rows arriving must not repaint the whole grid.
  if (GetRowCount() > 0 && GetColumnCount() > 0 &&
      (GetCellBackColour(0, 0) != corner || GetCellText(0, 0) != m_cornerLabel)) {
    SetCellBackColour(0, 0, corner);
    StoreCellText(0, 0, m_cornerLabel);
  }
  return records;
}

void CDbGridCtrl::SetRowCountAfterRecorset() {
  GridTrace("CDbGridCtrl::SetRowCountAfterRecorset()");
  // While rows arrive: those readable now, without waiting for the rest.
  const long n = !m_recordset || !m_recordset->IsOpen() ? -1
                 : IsFetching()                         ? m_recordset->GetViewCount()
                                                        : m_recordset->GetRecordCount();
  const int details = GetDetailRowCount();
  const int filters = m_options.useFilters ? 1 : 0;
  SetRowCount(details + filters + 1);
  if (m_cellStore) m_cellStore->SetFirstDataRow(GetFirstDataRow());
  ForgetDataRows();
  // Without a result (n = -1) the last fixed row goes too, as the grid always showed it.
  SetRowCount(static_cast<int>(details + filters + 1 + (n < 0 ? -1 : ApplyRowLimit(n))));
  SetFixedRowCount(details + 1);
  // Owned cells take the column definitions now; a layout under way applies them itself.
  if (!m_cellStore && !m_layingOut && GetFirstDataRow() < GetRowCount())
    ApplyColumnDefsToRows(GetFirstDataRow(), GetRowCount() - 1);
  ApplyRowLimit(n);
}

void CDbGridCtrl::SyncRowCountFromRecordset() {
  if (!m_recordset || !m_recordset->IsOpen() || m_laidOutFilterRow == kNoLayout) return;
  const long shown = GetRowCount() - GetFirstDataRow();
  const long records = m_recordset->GetViewCount();
  const long rows = ApplyRowLimit(records);
  if (rows <= shown || !GrowRowCount(static_cast<int>(GetFirstDataRow() + rows))) return;
  if (m_cellStore) return;
  const int from = static_cast<int>(GetFirstDataRow() + shown);
  ApplyColumnDefsToRows(from, GetRowCount() - 1);
  CopyRecordsIntoRows(from, GetRowCount());
}

void CDbGridCtrl::LayoutColumns(const std::vector<DbFieldInfo>& fields) {
  std::vector<GridColumnDef> defs;
  defs.reserve(fields.size() + 1);
  GridColumnDef first;
  first.kind = gctText;
  first.width = 50;
  first.backColour = CLR_DEFAULT;
  first.textColour = CLR_DEFAULT;
  defs.push_back(first);
  for (const DbFieldInfo& f : fields) {
    GridColumnDef def;
    def.kind = DataTypeToColumnType(f.type);
    def.header = f.isKeyColumn ? "*" + f.name : f.name;
    def.width = m_options.minColWidth >= 10 ? m_options.minColWidth : 10;
    def.backColour = m_options.colorize && def.kind <= gctComboEx ? GetColumnTypeInfo(def.kind).colour : CLR_DEFAULT;
    def.textColour = CLR_DEFAULT;
    // A number column's editor takes as many digits as the column holds (a BIGINT's 19), so
    // a typed value is never cut to the display width.
    def.length = def.kind == gctText ? f.definedSize : std::max(m_options.numericWidth, f.precision);
    def.precision = m_options.numericPrecision;
    def.thousandSeparator = m_options.useThousandSeparator;
    def.dateFormat = m_options.dateFormat;
    defs.push_back(def);
  }
  if (defs.size() > 1) {
    SetColumns(defs);
    SetColumnWidth(0, 50);
  }
}

// ---------------------------------------------------------------- fill

void CDbGridCtrl::FillGridDataFromRecordset() {
  GridTrace("CDbGridCtrl::FillGridDataFromRecordset()");
  if (!m_recordset || !m_recordset->IsOpen()) return;
  // Nothing is copied: the rows on screen are made again from the recordset when painted.
  ForgetDataRows();
  if (!m_cellStore) CopyRecordsIntoRows(GetFirstDataRow(), GetRowCount());
  viewport()->update();
}

void CDbGridCtrl::CopyRecordsIntoRows(int from, int to) {
  WaitCursor wait;
  for (int row = from; row < to; ++row) FillDataRow(row);
}

void CDbGridCtrl::ForgetDataRows() {
  m_fillNullLabel = GetNullLabel();
  m_rowLooks.clear();
  m_rowLooksKnown = false;
  // The row with an open editor keeps its cells until the editor ends.
  if (m_cellStore) m_cellStore->ForgetDataRows(GetEditor() ? GetEditCell().row : -1);
}

void CDbGridCtrl::MakeDataRow(int row) {
  const bool quiet = AreCellsQuiet();
  SetCellsQuiet(true);
  ApplyDataRowLooks(row);
  try {
    FillDataRow(row);
  } catch (const ado::ComError&) {
    // Traced by the recordset; the row shows what could be read.
  }
  SetCellsQuiet(quiet);
}

void CDbGridCtrl::ApplyDataRowLooks(int row) {
  const int cols = GetColumnCount();
  if (m_rowLooksKnown && m_rowLooks.size() == static_cast<std::size_t>(cols)) {
    for (int col = 0; col < cols; ++col) {
      InlineCellForm form;
      std::memcpy(form, m_rowLooks[static_cast<std::size_t>(col)].data(), sizeof form);
      SetInlineCellForm(row, col, form);
    }
    return;
  }
  ApplyColumnDefsToRows(row, row);
  if (m_rowLooksKnown) return;  // a column without an inline form: every row computes its looks
  m_rowLooksKnown = true;
  m_rowLooks.assign(static_cast<std::size_t>(cols), {});
  for (int col = 0; col < cols; ++col) {
    InlineCellForm form;
    if (!GetInlineCellForm(row, col, form)) {
      m_rowLooks.clear();
      return;
    }
    std::memcpy(m_rowLooks[static_cast<std::size_t>(col)].data(), form, sizeof form);
  }
}

void CDbGridCtrl::FillDataRow(int row) {
  if (!m_recordset || !m_recordset->IsOpen()) return;
  const long position = row - GetFirstDataRow();
  // Fewer records than rows (a provider that counted wrong) leave the remaining rows empty.
  if (position < 0 || position >= m_recordset->GetViewCount()) return;
  if (m_options.displayRecno) StoreCellText(row, 0, std::to_string(position + 1));
  const int cols = GetColumnCount();
  for (int col = 1; col < cols; ++col) {
    // A view into the recordset's rows: values are not copied on their way into the cells.
    const ado::ValueView value = m_recordset->GetValueAt(position, col - 1);
    StoreValueInCell(value, *this, row, col, m_fillNullLabel);
    if (!m_options.colorize) continue;
    if (value.IsNull())
      SetCellBackColour(row, col, kNullCellColour);
    else if (!m_cellStore)
      // An owned cell keeps its looks across refills: a value in a row a sort brought up must not
      // stay pink because a NULL stood there before.
      SetCellBackColour(row, col, GetColumnDefs()[static_cast<std::size_t>(col)].backColour);
  }
}

void CDbGridCtrl::VariantToGridCell(long fieldIndex, CGridCtrlEx& grid, int row, int col) {
  VariantToGridCell(m_recordset->GetFieldVariantIdx(fieldIndex), grid, row, col);
}

void CDbGridCtrl::VariantToGridCell(const std::string& fieldName, CGridCtrlEx& grid, int row, int col) {
  VariantToGridCell(m_recordset->GetFieldVariant(fieldName), grid, row, col);
}

bool CDbGridCtrl::FindRowByKey(long long key) {
  const int col = GetFixedColumnCount();
  for (int row = GetFirstDataRow(); row < GetRowCount(); ++row) {
    if (GetCellInteger(row, col) == key) {
      SelectRow(row, true);
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------- selection

void CDbGridCtrl::SelectRow(int row, bool ensureVisible) {
  CGridCtrlEx::SelectRow(row, ensureVisible);
  OnGridEndSelChange(row, 0, 0);
}

void CDbGridCtrl::OnGridSelChanging(int, int, long long) {}

void CDbGridCtrl::OnGridEndSelChange(int row, int col, long long count) {
  GridTrace("CDbGridCtrl::OnGridEndSelChange(), row = %d, col = %d, nSelectedCount = %d\n", row, col,
            static_cast<int>(count));
  const long recno = row - GetFirstDataRow();
  GridTrace("recno = %ld", recno);
  SetFocusCell(row, col);
  try {
    // While rows arrive the record follows at the end of the fetch (FinishFetch): a move now
    // would wait for every row.
    if (recno >= 0 && m_recordset && m_recordset->IsOpen() && !IsFetching()) {
      m_recordset->MoveFirst();
      if (recno > 0) m_recordset->MoveRecordRel(recno);
    }
  } catch (const ado::ComError& e) {
    if (m_diagnostics) QelvoMessageBox(ComErrorText(e), MB_OK | MB_ICONEXCLAMATION, this);
  }
  UpdateFocusFrame();
}

void CDbGridCtrl::SetEditable(bool editable) {
  CGridCtrlEx::SetEditable(editable);
  UpdateFocusFrame();
}

bool CDbGridCtrl::IsCellEditable(int row, int col) const {
  if (IsFilterRow(row) && col >= GetFixedColumnCount() && col < GetColumnCount()) return true;
  if (row >= GetFirstDataRow() && !IsColumnWritable(col)) return false;
  return CGridCtrlEx::IsCellEditable(row, col);
}

bool CDbGridCtrl::IsColumnWritable(int col) const {
  const auto index = static_cast<std::size_t>(col - GetFixedColumnCount());
  return col >= GetFixedColumnCount() && index < m_writableColumns.size() && m_writableColumns[index];
}

void CDbGridCtrl::UpdateFocusFrame() {
  const CellId focus = GetFocusCell();
  const bool frame = IsValid(focus) && IsCellEditable(focus.row, focus.col);
  SetFrameFocusCell(frame);
  if (IsValid(focus)) RedrawCell(focus.row, focus.col);
}

void CDbGridCtrl::MoveRecordsetToRow(int row) {
  const long recno = row - GetFirstDataRow();
  if (recno < 0 || row >= GetRowCount() || !m_recordset || !m_recordset->IsOpen())
    throw ado::ComError(ado::adErrNoCurrentRecord);
  m_recordset->MoveFirst();
  if (recno > 0) m_recordset->MoveRecordRel(recno);
  if (m_recordset->IsEOF()) throw ado::ComError(ado::adErrNoCurrentRecord);
}

int CDbGridCtrl::GetSelectedDataRow() const {
  if (GetSelectedCount() <= 0) return -1;
  const int row = GetSelectionRange().minRow;
  return row >= GetFirstDataRow() && row < GetRowCount() ? row : -1;
}

bool CDbGridCtrl::OnGridBeginEdit(int row, int col) {
  if (col < GetFixedColumnCount() || row < GetFixedRowCount()) return false;
  // Neither a filter nor a change before every row is in.
  if (IsFetching()) return false;
  return IsCellEditable(row, col);
}

bool CDbGridCtrl::OnGridEndEdit(int row, int col) {
  if (col < GetFixedColumnCount()) return true;
  if (IsFilterRow(row)) {
    FilterRecordset(BuildFilterCriteria());
    return true;
  }
  if (row < GetFirstDataRow() || !m_recordset || !m_recordset->IsOpen()) return true;
  const long fieldIndex = col - GetFixedColumnCount();
  if (fieldIndex >= m_recordset->GetFieldCount()) return true;
  try {
    // The record of the edited row, whatever moved the recordset since the row was selected.
    MoveRecordsetToRow(row);
    GridCellToDbFieldIdx(this, row, col, m_recordset.get(), fieldIndex, false);
    m_recordset->Update();
  } catch (const ado::ComError& e) {
    // The typed text stays in the cell for another try; the refused change must not stay pending
    // in the recordset, where the next edit (perhaps of another row) would write it too.
    try {
      m_recordset->CancelUpdate();
    } catch (const ado::ComError&) {
    }
    QelvoMessageBox(ComErrorText(e), MB_OK | MB_ICONEXCLAMATION, this);
  }
  return true;
}
