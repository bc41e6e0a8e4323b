#include "grid/db/RecordFormDialog.h"

#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <cctype>

#include "data/DbRecordset.h"
#include "data/ErrorText.h"
#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"
#include "grid/GridColour.h"
#include "grid/GridCtrlEx.h"
#include "grid/db/DataTypeToColumnType.h"
#include "grid/db/DbGridCtrl.h"
#include "grid/db/GridCellToDbField.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "text/StringFormat.h"
#include "text/TextUtil.h"

namespace {

constexpr int kPlaceholder = 1017;
using D = CRecordFormDialog;
// The grid's placeholder fills the left; the buttons stand at the top right.
const ControlDef kControls[] = {
    {kPlaceholder, ControlKind::Placeholder, "", 7, 7, 236, 186},
    {D::kOk, ControlKind::DefPushButton, "OK", 250, 7, 50, 14},
    {D::kCancel, ControlKind::PushButton, "Cancel", 250, 24, 50, 14},
};
const QSize kDesignedSize(307, 200);

const char* TitleOf(RecordFormMode mode) {
  switch (mode) {
    case kRecordFormNew:
      return "New";
    case kRecordFormDelete:
      return "Delete";
    default:
      return "Edit";
  }
}

bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// `name` in `text` without regard to case, not inside a longer word (an underscore separates:
// constraint names such as "items_qty_check" name their column).
bool MentionsName(const std::string& text, const std::string& name) {
  if (name.empty()) return false;
  const std::string t = ToLower(text);
  const std::string n = ToLower(name);
  for (std::size_t at = t.find(n); at != std::string::npos; at = t.find(n, at + 1)) {
    const bool before = at == 0 || !IsWordChar(t[at - 1]);
    const std::size_t end = at + n.size();
    const bool after = end >= t.size() || !IsWordChar(t[end]);
    if (before && after) return true;
  }
  return false;
}

}  // namespace

CRecordFormDialog::CRecordFormDialog(DbRecordset* recordset, RecordFormMode mode, QWidget* parent)
    : CSizableDialog(parent), recordset_(recordset), mode_(mode) {
  setWindowTitle(QString::fromUtf8(TitleOf(mode)));
  setObjectName(QStringLiteral("RecordFormDialog"));
  const DialogUnits units;
  controls_.Create(this, kControls, units);
  resize(units.ToPixels(kDesignedSize));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ToQColor(kBackground));
  setPalette(palette);

  QWidget* placeholder = controls_.Get(kPlaceholder);
  grid_ = new CGridCtrlEx(this);
  grid_->Create(placeholder->geometry(), this, kGrid);
  grid_->setObjectName(QStringLiteral("control1007"));
  placeholder->hide();
  grid_->Initialize();
  grid_->setFrameShape(QFrame::StyledPanel);
  grid_->setFrameShadow(QFrame::Sunken);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  grid_->setFocusPolicy(Qt::StrongFocus);
  grid_->SetRowSelectionMode(false);
  grid_->EnableSelection(false);
  grid_->SetEditable(true);
  grid_->SetFrameFocusCell(true);
  grid_->SetMoveAfterEdit(CGridCtrlEx::kMoveDown);
  // The grid comes right after the buttons in creation order; it is where typing goes first.
  setTabOrder(grid_, controls_.Get(kOk));
  setTabOrder(controls_.Get(kOk), controls_.Get(kCancel));
  grid_->show();

  connect(controls_.As<QPushButton>(kOk), &QPushButton::clicked, this, &CRecordFormDialog::accept);
  connect(controls_.As<QPushButton>(kCancel), &QPushButton::clicked, this, &QDialog::reject);
  FillGrid();
}

void CRecordFormDialog::FillGrid() {
  fields_.clear();
  if (recordset_ && recordset_->IsOpen() && !recordset_->GetFieldsInfo(fields_)) fields_.clear();
  const int rows = static_cast<int>(fields_.size());
  grid_->SetColumnCount(2);
  grid_->SetFixedColumnCount(1);
  grid_->SetFixedRowCount(0);
  grid_->SetRowCount(rows);
  CellId focus(0, 1);
  for (int r = 0; r < rows; ++r) {
    const DbFieldInfo& f = fields_[static_cast<std::size_t>(r)];
    grid_->StoreCellText(r, 0, f.isKeyColumn ? "* " + f.name : f.name);
    const int kind = DataTypeToColumnType(f.type);
    grid_->SetCellTypeByKind(r, 1, kind);
    // A computed value has no table to go back to: shown like the values the database makes.
    if (mode_ == kRecordFormDelete || f.isAutoIncrement || !HasBaseTable(f)) {
      grid_->SetCellState(r, 1, (grid_->GetCellState(r, 1) & ~(kCellFocused | kCellSelected)) | kCellReadOnly);
      grid_->SetCellBackColour(r, 1, kReadOnlyBackground);
      if (r == 0 && mode_ != kRecordFormDelete) focus = CellId(1, 1);
    }
    if (kind == gctText && f.definedSize > 0) {
      grid_->SetCellMaxLength(r, 1, static_cast<unsigned>(f.definedSize));
      if (f.definedSize > 254) grid_->SetCellLongText(r, 1, true);
    }
    // Number editors take every digit the column holds.
    if (auto* integer = dynamic_cast<CGridCellInteger*>(grid_->GetCell(r, 1)))
      integer->SetWidth(std::max(integer->GetWidth(), f.precision));
    if (auto* number = dynamic_cast<CGridCellNumericEx*>(grid_->GetCell(r, 1))) {
      number->SetWidth(std::max(number->GetWidth(), f.precision));
      if (f.numericScale > 0 && f.numericScale < 20) number->SetDecimals(f.numericScale);
    }
    if (kind == gctDate)
      if (auto* date = dynamic_cast<CGridCellDateTimeEx*>(grid_->GetCell(r, 1))) date->SetDisplayCode(4);
    if (mode_ != kRecordFormNew) {
      try {
        CDbGridCtrl::VariantToGridCell(recordset_->GetFieldVariant(f.name), *grid_, r, 1);
      } catch (const ado::ComError&) {
        grid_->StoreCellText(r, 1, "???");
      }
    }
  }
  // What the record holds is not a change: only the cells the user changes are written.
  grid_->SetModified(false);
  grid_->AutoSize();
  // Long texts get two lines, after sizing has given every row its one.
  for (int r = 0; r < rows; ++r)
    if (fields_[static_cast<std::size_t>(r)].definedSize > 254 &&
        DataTypeToColumnType(fields_[static_cast<std::size_t>(r)].type) == gctText)
      grid_->SetRowHeight(r, grid_->GetRowHeight(r) * 2);
  if (mode_ != kRecordFormDelete && focus.row < rows) grid_->SetFocusCell(focus.row, focus.col);
}

bool CRecordFormDialog::OnInitDialog() {
  CSizableDialog::OnInitDialog();
  AnchorControl(controls_.Get(kOk), ANCHOR_TOP_RIGHT);
  AnchorControl(controls_.Get(kCancel), ANCHOR_TOP_RIGHT);
  AnchorControl(grid_, ANCHOR_TOP_LEFT, ANCHOR_BOTTOM_RIGHT);
  FitValueColumn();
  if (mode_ != kRecordFormDelete && grid_->GetRowCount() > 0) {
    grid_->setFocus(Qt::OtherFocusReason);
    grid_->EnsureVisible(grid_->GetFocusCell());
  } else {
    controls_.Get(kCancel)->setFocus(Qt::OtherFocusReason);
  }
  return true;
}

void CRecordFormDialog::FitValueColumn() {
  if (!grid_ || grid_->GetColumnCount() < 2) return;
  const int width = grid_->viewport()->width() - grid_->GetColumnWidth(0);
  grid_->SetColumnWidth(1, std::max(width, 40));
  grid_->viewport()->update();
}

void CRecordFormDialog::resizeEvent(QResizeEvent* event) {
  CSizableDialog::resizeEvent(event);
  if (IsInitialized()) FitValueColumn();
}

void CRecordFormDialog::FocusValue(int row) {
  grid_->SetFocusCell(row, 1);
  grid_->EnsureVisible(row, 1);
  grid_->setFocus(Qt::OtherFocusReason);
  grid_->viewport()->update();
}

int CRecordFormDialog::FieldNamedIn(const std::string& errorText) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    const DbFieldInfo& f = fields_[i];
    if (MentionsName(errorText, f.baseColumnName.empty() ? f.name : f.baseColumnName) ||
        MentionsName(errorText, f.name))
      return static_cast<int>(i);
  }
  return -1;
}

bool CRecordFormDialog::Save() {
  if (!recordset_ || !recordset_->IsOpen()) return false;
  grid_->StopEdit();
  if (mode_ == kRecordFormDelete) {
    try {
      recordset_->Delete();
    } catch (const ado::ComError& e) {
      QelvoMessageBox(ComErrorText(e), MB_OK | MB_ICONEXCLAMATION, this);
      return false;
    }
    return true;
  }
  const bool isNew = mode_ == kRecordFormNew;
  int writing = -1;
  try {
    if (isNew) recordset_->AddNew();
    for (std::size_t i = 0; i < fields_.size(); ++i) {
      const DbFieldInfo& f = fields_[i];
      if (f.isAutoIncrement || f.type == ado::adBinary || !HasBaseTable(f)) continue;
      // An unchanged cell of an existing record keeps what the database holds, to the last
      // digit, whatever the cell could show of it.
      if (!isNew && !grid_->GetModified(static_cast<int>(i), 1)) continue;
      writing = static_cast<int>(i);
      GridCellToDbField(grid_, writing, 1, recordset_, f, isNew);
    }
    writing = -1;
    recordset_->Update();
  } catch (const ado::ComError& e) {
    std::string text = ComErrorText(e);
    // A value the database refused when the record was saved: the field its message names.
    const int row = writing >= 0 ? writing : FieldNamedIn(text);
    if (row >= 0) {
      FocusValue(row);
      text += FormatString("\r\nPlease check field \"%s\"", grid_->GetCellText(row, 0).c_str());
    }
    QelvoMessageBox(text, MB_OK | MB_ICONEXCLAMATION, this);
    try {
      recordset_->CancelUpdate();
    } catch (const ado::ComError&) {
    }
    return false;
  }
  return true;
}

void CRecordFormDialog::accept() {
  if (Save()) CSizableDialog::accept();
}

bool ShowRecordForm(DbRecordset* recordset, QWidget* parent, RecordFormMode mode) {
  CRecordFormDialog dialog(recordset, mode, parent);
  return Prompts().ExecDialog(dialog) == QDialog::Accepted;
}
