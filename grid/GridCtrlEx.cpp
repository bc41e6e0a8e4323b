#include "grid/GridCtrlEx.h"

#include <QApplication>
#include <cstring>

#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"
#include "grid/GridColour.h"

CGridCtrlEx::CGridCtrlEx(QWidget* parent) : CGridCtrl(parent) {}

int CGridCtrlEx::GetCellType(int row, int col) const {
  const GridCellClass* cls = GetCellClass(row, col);
  if (!cls) return gctUnknown;
  for (int kind = gctText; kind <= gctButtonText; ++kind) {
    const GridColumnTypeInfo info = GetColumnTypeInfo(kind);
    if (info.cellClass && std::strcmp(info.cellClass->name, cls->name) == 0) return kind;
  }
  return gctUnknown;
}

bool CGridCtrlEx::SetCellTypeByKind(int row, int col, int kind) {
  const GridColumnTypeInfo info = GetColumnTypeInfo(kind);
  if (!info.cellClass) return false;
  return SetCellType(row, col, info.cellClass);
}

std::int64_t CGridCtrlEx::GetCellInteger(int row, int col) const {
  if (GetCellClass(row, col) != &CGridCellInteger::ClassInfo()) return 0;
  return static_cast<const CGridCellInteger*>(GetCellForRead(row, col))->GetInteger();
}

void CGridCtrlEx::SyncColumnDefs() {
  m_columnDefs.resize(static_cast<std::size_t>(GetColumnCount()));
}

const GridColumnDef* CGridCtrlEx::GetColumnDef(int col) {
  SyncColumnDefs();
  return col >= 0 && col < GetColumnCount() ? &m_columnDefs[static_cast<std::size_t>(col)] : nullptr;
}

const std::vector<GridColumnDef>& CGridCtrlEx::GetColumnDefs() {
  SyncColumnDefs();
  return m_columnDefs;
}

bool CGridCtrlEx::SetColumnDef(int col, const GridColumnDef& def) {
  SyncColumnDefs();
  if (col < 0 || col >= GetColumnCount()) return false;
  m_columnDefs[static_cast<std::size_t>(col)] = def;
  return true;
}

bool CGridCtrlEx::HideColumn(int col) {
  SyncColumnDefs();
  if (col < 0 || col >= GetColumnCount()) return false;
  m_columnDefs[static_cast<std::size_t>(col)].hidden = true;
  return SetColumnWidth(col, 0);
}

bool CGridCtrlEx::SetColumns(const std::vector<GridColumnDef>& defs) {
  const int count = static_cast<int>(defs.size());
  if (!SetColumnCount(count)) return false;
  SyncColumnDefs();
  for (int j = 0; j < count; ++j) SetColumnDef(j, defs[static_cast<std::size_t>(j)]);

  long long sum = 0;
  for (const GridColumnDef& def : defs)
    if (!def.hidden) sum += def.width;
  const int clientWidth = viewport()->width();
  const double ratio = sum > 0 ? static_cast<double>(clientWidth) / static_cast<double>(sum) : 1.0;
  int remaining = clientWidth;
  for (int j = 0; j < count; ++j) {
    const GridColumnDef& def = defs[static_cast<std::size_t>(j)];
    // Hidden columns are hidden even when no column has a width to share out.
    if (def.hidden) {
      HideColumn(j);
      continue;
    }
    if (sum <= 0) continue;
    if (j < count - 1) {
      const int width = static_cast<int>(ratio * def.width);
      SetColumnWidth(j, std::max(0, width));
      remaining -= width;
    } else {
      SetColumnWidth(j, std::max(0, remaining - 2));
    }
  }
  if (GetFixedRowCount() >= 1)
    for (int j = 0; j < count; ++j) StoreCellText(0, j, defs[static_cast<std::size_t>(j)].header);
  for (int j = 0; j < count; ++j) {
    const GridColumnDef& def = defs[static_cast<std::size_t>(j)];
    if (!def.hidden && GetColumnWidth(j) < def.width) SetColumnWidth(j, def.width);
  }
  return true;
}

bool CGridCtrlEx::ApplyColumnDefsToRow(int row) {
  return ApplyColumnDefsToRows(row, row);
}

bool CGridCtrlEx::ApplyColumnDefsToRows(int firstRow, int lastRow) {
  if (firstRow < 0 || firstRow >= GetRowCount() || lastRow < firstRow) return false;
  lastRow = std::min(lastRow, GetRowCount() - 1);
  SyncColumnDefs();
  // The outcome for a cell depends only on its column's definition and on the cell itself: a cell
  // whose whole form equals the form a computed cell of its column had takes that cell's outcome
  // as it is. Row by row, as the cells lie in memory.
  struct Known {
    InlineCellForm before{}, after{};
    bool known = false;
  };
  const int cols = GetColumnCount();
  std::vector<Known> known(static_cast<std::size_t>(cols));
  InlineCellForm form{};
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int col = 0; col < cols; ++col) {
      Known& k = known[static_cast<std::size_t>(col)];
      const bool inlineForm = GetInlineCellForm(row, col, form);
      if (k.known && inlineForm && std::memcmp(form, k.before, sizeof form) == 0) {
        SetInlineCellForm(row, col, k.after);
        continue;
      }
      ApplyColumnDefToCell(row, col, m_columnDefs[static_cast<std::size_t>(col)]);
      if (!k.known && inlineForm && GetInlineCellForm(row, col, k.after)) {
        std::memcpy(k.before, form, sizeof form);
        k.known = true;
      }
    }
  }
  return true;
}

void CGridCtrlEx::ApplyColumnDefToCell(int row, int col, const GridColumnDef& def) {
  const GridCellClass* cls = GetColumnTypeInfo(def.kind).cellClass;
  // A cell that was compact, or that SetCellType replaces, is an object nobody holds afterwards.
  const bool fresh =
      !GetCellObject(row, col) || (cls && !(cls == &CGridCell::ClassInfo() && GetCellClass(row, col) == cls));
  SetCellTypeByKind(row, col, def.kind);
  switch (def.kind) {
    case gctText:
    case gctButtonText:
      if (def.length >= 1) SetCellMaxLength(row, col, static_cast<unsigned>(def.length));
      if (def.length > 254) SetCellLongText(row, col, true);
      break;
    case gctInteger:
      if (auto* cell = dynamic_cast<CGridCellInteger*>(GetCell(row, col))) {
        cell->SetWidth(def.length);
        cell->SetThousandSeparator(def.thousandSeparator);
        cell->SetFormat((cell->GetFormat() & ~DT_CENTER) | DT_RIGHT);
      }
      break;
    case gctNumericEx:
      if (auto* cell = dynamic_cast<CGridCellNumericEx*>(GetCell(row, col))) {
        cell->SetWidth(def.length);
        cell->SetDecimals(def.precision);
        cell->SetThousandSeparator(def.thousandSeparator);
        cell->SetFormat((cell->GetFormat() & ~DT_CENTER) | DT_RIGHT);
      }
      break;
    case gctDate:
      if (auto* cell = dynamic_cast<CGridCellDateTimeEx*>(GetCell(row, col))) cell->SetDisplayCode(def.dateFormat);
      break;
    default:
      break;
  }
  if (def.format != 0) SetCellFormat(row, col, def.format);
  if (def.readOnly) SetCellState(row, col, GetCellState(row, col) | kCellReadOnly);
  SetCellBackColour(row, col, def.backColour);
  SetCellTextColour(row, col, def.textColour);
  if (fresh) CompactCell(row, col);
}

bool CGridCtrlEx::SetRowBackColour(int row, int fromCol, COLORREF colour) {
  if (row < 0 || row >= GetRowCount() || fromCol < 0 || fromCol >= GetColumnCount()) return false;
  bool all = true;
  for (int col = fromCol; col < GetColumnCount(); ++col) all = SetCellBackColour(row, col, colour) && all;
  return all;
}

void CGridCtrlEx::Initialize() {
  setFrameShape(QFrame::NoFrame);
  SetRowCount(1);
  SetFixedRowCount(1);
  SetEditable(false);
  SetGridBkColour(ToColorRef(QApplication::palette().color(QPalette::Button)));
  EnableSelection(true);
  SetRowSelectionMode(true);
  SetSingleRowSelection(true);
  SetTrackFocusCell(false);
  SetFrameFocusCell(false);
}

void CGridCtrlEx::SelectRow(int row, bool ensureVisible) {
  if (row < 0 || row >= GetRowCount()) {
    ClearSelection();
    return;
  }
  SelectRange(row, GetFixedColumnCount(), row, GetColumnCount() - 1);
  const CellId focus = GetFocusCell();
  SetFocusCell(row, focus.col >= 0 ? focus.col : 0);
  if (ensureVisible) EnsureVisible(row, std::max(GetFocusCell().col, 0));
}

std::intptr_t CGridCtrlEx::GetCellDataHook(int row, int col) {
  return GetCellData(row, col);
}

void CGridCtrlEx::OnGridClick(int row, int col) {
  SetFocusCell(row, col);
}

void CGridCtrlEx::OnGridSelChanging(int, int, long long) {}

void CGridCtrlEx::OnGridEndSelChange(int row, int col, long long) {
  SetFocusCell(row, col);
}

bool CGridCtrlEx::OnGridBeginEdit(int, int) {
  return true;
}

bool CGridCtrlEx::OnGridEndEdit(int, int) {
  return true;
}

bool CGridCtrlEx::KeepFocusAfterEdit(const CellId&) {
  return false;
}

void CGridCtrlEx::DestroyCell(int row, int col) {
  GetCellDataHook(row, col);
  CGridCtrl::DestroyCell(row, col);
}

void CGridCtrlEx::OnNotifyReflect(GridNotify& n) {
  switch (n.code) {
    case kNotifyClick:
      OnGridClick(n.row, n.col);
      break;
    case kNotifySelChanging:
      OnGridSelChanging(n.row, n.col, GetSelectedCount());
      break;
    case kNotifySelChanged:
      OnGridEndSelChange(n.row, n.col, GetSelectedCount());
      break;
    case kNotifyBeginEdit:
      n.result = OnGridBeginEdit(n.row, n.col) ? 0 : -1;
      break;
    case kNotifyEndEdit:
      n.result = OnGridEndEdit(n.row, n.col) ? 0 : -1;
      // Paste, cut and delete change many cells at once: only an editor's end moves the focus.
      if (n.result == 0 && IsCommittingEditor()) MoveFocusAfterEdit(CellId(n.row, n.col));
      break;
    default:
      break;
  }
}

void CGridCtrlEx::MoveFocusAfterEdit(const CellId& cell) {
  if (!IsValid(cell)) return;
  if (KeepFocusAfterEdit(cell)) {
    SetFocusCell(cell);
    EnsureVisible(cell);
    SelectRange(cell.row, cell.col, cell.row, cell.col);
    return;
  }
  if (m_moveAfterEdit == kMoveDown) {
    int row = cell.row + 1;
    while (row < GetRowCount() && GetRowHeight(row) == 0) ++row;
    if (row < GetRowCount()) MoveFocusTo(row, cell.col);
  } else if (m_moveAfterEdit == kMoveRight) {
    int col = cell.col + 1;
    while (col < GetColumnCount() && GetColumnWidth(col) == 0) ++col;
    if (col < GetColumnCount()) {
      MoveFocusTo(cell.row, col);
      return;
    }
    int row = cell.row + 1;
    while (row < GetRowCount() && GetRowHeight(row) == 0) ++row;
    int first = std::max(1, GetFixedColumnCount());
    while (first < GetColumnCount() && GetColumnWidth(first) == 0) ++first;
    if (row < GetRowCount() && first < GetColumnCount()) MoveFocusTo(row, first);
  }
}
