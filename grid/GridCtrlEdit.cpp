// In-place editing, user changes with their notifications, and the clipboard.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <functional>

#include "grid/GridCtrl.h"
#include "grid/InPlaceEditor.h"
#include "grid/TitleTip.h"
#include "text/TextUtil.h"

bool CGridCtrl::StartEdit(int row, int col, const QPoint& point, int key) {
  HideTitleTip();
  if (!IsValid(row, col) || !IsCellEditable(row, col)) return false;
  if (m_pEditor) StopEdit();
  EnsureVisible(row, col);
  QRect rect;
  if (!GetCellRect(row, col, rect)) return false;
  if (!CellForRead(row, col)->CanEdit(rect, point, key)) return false;
  if (SendNotify(kNotifyBeginEdit, row, col) < 0) return false;
  // Notification handlers may have changed the grid.
  if (!IsValid(row, col) || !GetCellRect(row, col, rect)) return false;
  return Materialize(row, col)->Edit(row, col, rect, point, kInPlaceEditorId, key);
}

void CGridCtrl::AttachEditor(QWidget* editor, int row, int col) {
  m_pEditor = editor;
  m_editCell = CellId(row, col);
}

void CGridCtrl::StopEdit() {
  if (!m_pEditor) return;
  if (auto* editor = InPlaceEditorBase::FromWidget(m_pEditor)) editor->EndEdit(0);
  m_pEditor = nullptr;
}

bool CGridCtrl::IsEditing(const CGridCellBase* cell) const {
  return m_pEditor && IsValid(m_editCell) && Slot(m_editCell.row, m_editCell.col)->Object() == cell;
}

void CGridCtrl::OnEditorClosed(int row, int col, int endKey, const std::function<void()>& commit) {
  const bool hadFocus = m_pEditor && m_pEditor->hasFocus();
  m_pEditor = nullptr;
  m_editCell = CellId();
  if (IsValid(row, col)) {
    m_bCommittingEditor = true;
    commit();
    m_bCommittingEditor = false;
    // The notification handlers may have changed the table.
    if (IsValid(row, col)) {
      if (CGridCellBase* cell = Slot(row, col)->Object()) cell->OnEndEdit();
      CompactIfPlain(row, col);
    }
  }
  if (hadFocus || endKey != 0) setFocus(Qt::OtherFocusReason);
  switch (endKey) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (!HandleTab(endKey == Qt::Key_Tab)) focusNextPrevChild(endKey == Qt::Key_Tab);
      break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
      HandleNavigationKey(endKey, Qt::NoModifier);
      break;
    default:
      break;
  }
  viewport()->update();
}

bool CGridCtrl::ValidateCellText(int row, int col, std::string_view text) {
  return IsValid(row, col) && CellForRead(row, col)->ValidateEdit(text);
}

bool CGridCtrl::CommitCellChange(int row, int col, const std::function<bool()>& apply,
                                 const std::function<void()>& revert, const std::string* typed) {
  if (!IsValid(row, col)) return false;
  if (!apply()) return true;
  const std::string text = typed ? *typed : GetCellText(row, col);
  // Refused by the cell or by the owner: the old value comes back and nothing is notified twice.
  if (!ValidateCellText(row, col, text) || SendNotify(kNotifyEndEdit, row, col) < 0) {
    if (IsValid(row, col)) revert();
    RedrawCell(row, col);
    return false;
  }
  SetModified(true, row, col);
  RedrawCell(row, col);
  return true;
}

bool CGridCtrl::CommitCellText(int row, int col, std::string_view text) {
  if (!IsValid(row, col)) return false;
  const std::string old = GetCellText(row, col);
  if (old == text) return true;
  const std::string typed(text);
  return CommitCellChange(
      row, col,
      [&] {
        SetCellTextImpl(row, col, typed);
        return GetCellText(row, col) != old;  // a cell may read the text back as what it had
      },
      [&] { SetCellTextImpl(row, col, old); }, &typed);
}

bool CGridCtrl::SetCellTextByUser(int row, int col, std::string_view text) {
  if (!IsCellEditable(row, col)) return false;
  if (SendNotify(kNotifyBeginEdit, row, col) < 0) return false;
  return CommitCellText(row, col, text);
}

// ---------------------------------------------------------------- clipboard

std::string CGridCtrl::BuildSelectionText() const {
  std::string text;
  const CellRange range = m_selection.Bounds();
  if (!range.IsValid()) return text;
  bool firstRow = true;
  for (int row = range.minRow; row <= range.maxRow; ++row) {
    if (m_rowHeights[static_cast<std::size_t>(row)] <= 0) continue;
    if (!firstRow) text += "\r\n";
    firstRow = false;
    bool firstCol = true;
    for (int col = range.minCol; col <= range.maxCol; ++col) {
      if (m_colWidths[static_cast<std::size_t>(col)] <= 0) continue;
      if (!firstCol) text += '\t';
      firstCol = false;
      if (m_selection.Contains(row, col)) text += GetCellText(row, col);
    }
  }
  return text;
}

void CGridCtrl::CopyToClipboard() {
  if (!CanCopy()) return;
  QApplication::clipboard()->setText(QString::fromStdString(BuildSelectionText()));
}

void CGridCtrl::CutToClipboard() {
  if (!CanCut()) return;
  CopyToClipboard();
  ClearSelectedCells();
}

bool CGridCtrl::CanPaste() const {
  if (!IsValid(m_idCurrentCell) || !IsCellEditable(m_idCurrentCell.row, m_idCurrentCell.col)) return false;
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return data && data->hasText();
}

void CGridCtrl::PasteFromClipboard() {
  if (!CanPaste()) return;
  const CellRange range = m_selection.Bounds();
  const CellId target = range.IsValid() ? CellId(range.minRow, range.minCol) : m_idCurrentCell;
  PasteText(target, QApplication::clipboard()->text().toStdString(), true);
}

bool CGridCtrl::PasteText(const CellId& cell, std::string_view data, bool selectPasted) {
  if (!IsValid(cell) || !IsCellEditable(cell.row, cell.col)) return false;
  CellRange pasted(cell.row, cell.col, cell.row, cell.col);
  int row = cell.row;
  std::size_t lineStart = 0;
  for (bool firstLine = true; lineStart <= data.size(); firstLine = false) {
    std::size_t lineEnd = data.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = data.size();
    const std::string_view line = data.substr(lineStart, lineEnd - lineStart);
    lineStart = lineEnd + 1;
    if (!firstLine) {
      row = NextVisibleRow(row, 1);
      if (row < 0) break;
    }
    // An empty line pastes nothing; a separator at the end of a line adds no empty field.
    int col = cell.col;
    std::size_t fieldStart = 0;
    for (bool firstField = true; fieldStart < line.size() || (firstField && !line.empty()); firstField = false) {
      std::size_t fieldEnd = line.find_first_of("\t,", fieldStart);
      if (fieldEnd == std::string_view::npos) fieldEnd = line.size();
      const std::string field(line.substr(fieldStart, fieldEnd - fieldStart));
      fieldStart = fieldEnd + 1;
      if (!firstField) {
        col = NextVisibleCol(col, 1);
        if (col < 0) break;
      }
      SetCellTextByUser(row, col, Trim(field));
      m_selection.Remove(CellRange(row, col, row, col));
      pasted.maxRow = std::max(pasted.maxRow, row);
      pasted.maxCol = std::max(pasted.maxCol, col);
    }
  }
  if (selectPasted)
    SelectRange(pasted);
  else
    ClearSelection();
  viewport()->update();
  return true;
}

void CGridCtrl::ClearSelectedCells() {
  // Copied first: notification handlers may change the selection.
  const std::vector<CellRange> ranges = m_selection.Ranges();
  for (const CellRange& r : ranges)
    for (int row = r.minRow; row <= r.maxRow; ++row)
      for (int col = r.minCol; col <= r.maxCol; ++col) SetCellTextByUser(row, col, "");
}

namespace {

// The text editors cells open; null for the others (check boxes, date pickers).
bool WithTextEditor(QWidget* editor, const std::function<void(QLineEdit*)>& line,
                    const std::function<void(QPlainTextEdit*)>& plain) {
  if (auto* l = qobject_cast<QLineEdit*>(editor)) {
    line(l);
    return true;
  }
  if (auto* p = qobject_cast<QPlainTextEdit*>(editor)) {
    plain(p);
    return true;
  }
  return false;
}

}  // namespace

void CGridCtrl::SelectAllCommand() {
  // In an open editor, as in any text field, Select All means its text.
  if (WithTextEditor(
          m_pEditor, [](QLineEdit* e) { e->selectAll(); }, [](QPlainTextEdit* e) { e->selectAll(); }))
    return;
  if (!m_pEditor && SelectAllEditsFocusCell()) {
    const CellId focus = GetFocusCell();
    if (StartEdit(focus.row, focus.col, QPoint(), kEditKeyMouse) &&
        WithTextEditor(
            m_pEditor, [](QLineEdit* e) { e->selectAll(); }, [](QPlainTextEdit* e) { e->selectAll(); }))
      return;
  }
  SelectAllCells();
}

bool CGridCtrl::OnCommand(int id) {
  // An open text editor takes the clipboard commands, as the person typing expects.
  if (m_pEditor && (id == kCmdEditCopy || id == kCmdEditCut || id == kCmdEditPaste)) {
    const bool done = WithTextEditor(
        m_pEditor, [id](QLineEdit* e) { id == kCmdEditCopy  ? e->copy()
                                        : id == kCmdEditCut ? e->cut()
                                                            : e->paste(); },
        [id](QPlainTextEdit* e) { id == kCmdEditCopy  ? e->copy()
                                  : id == kCmdEditCut ? e->cut()
                                                      : e->paste(); });
    if (done) return true;
  }
  switch (id) {
    case kCmdEditCopy:
      CopyToClipboard();
      return true;
    case kCmdEditCut:
      CutToClipboard();
      return true;
    case kCmdEditPaste:
      PasteFromClipboard();
      return true;
    case kCmdEditSelectAll:
      SelectAllCommand();
      return true;
    default:
      return false;
  }
}

bool CGridCtrl::IsCommandEnabled(int id) const {
  switch (id) {
    case kCmdEditCopy:
      return CanCopy();
    case kCmdEditCut:
      return CanCut();
    case kCmdEditPaste:
      return CanPaste();
    case kCmdEditSelectAll:
      return qobject_cast<QLineEdit*>(m_pEditor) || qobject_cast<QPlainTextEdit*>(m_pEditor) ||
             (m_bEnableSelection && GetRowCount() > m_nFixedRows && GetColumnCount() > m_nFixedCols);
    default:
      return false;
  }
}
