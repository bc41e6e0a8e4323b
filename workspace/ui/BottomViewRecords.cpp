// The lower pane's record commands: New, Edit, Delete and Duplicate Record on the result grid's
// recordset. Each ends by running the statement again, so the grid shows what the database holds.
#include <algorithm>

#include "data/DbRecordset.h"
#include "data/ErrorText.h"
#include "data/ado/ComError.h"
#include "grid/db/DbGridCtrl.h"
#include "grid/db/RecordFormDialog.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/StatusPaneText.h"
#include "workspace/ui/StatusPanes.h"

void CBottomView::RegisterRecordCommands() {
  CommandMap& map = Commands();
  map.On(ID_RECORD_NEW, [this] { RunRecordForm(kRecordFormNew); });
  map.OnUpdate(ID_RECORD_NEW, [this](CommandUi& ui) { ui.Enable(CanAddRecord()); });
  map.On(ID_RECORD_EDIT, [this] { RunRecordForm(kRecordFormEdit); });
  map.OnUpdate(ID_RECORD_EDIT, [this](CommandUi& ui) { ui.Enable(CanChangeRecord()); });
  map.On(ID_RECORD_DELETE, [this] { RunRecordForm(kRecordFormDelete); });
  map.OnUpdate(ID_RECORD_DELETE, [this](CommandUi& ui) { ui.Enable(CanChangeRecord()); });
  map.On(ID_RECORD_DUPLICATE, [this] { DuplicateRecord(); });
  map.OnUpdate(ID_RECORD_DUPLICATE, [this](CommandUi& ui) { ui.Enable(CanChangeRecord()); });
}

bool CBottomView::CanAddRecord() const {
  // Changes wait until every row is in.
  return grid_ && !fetchPending_ && grid_->GetRecordset() && grid_->GetRecordset()->IsOpen();
}

bool CBottomView::CanChangeRecord() const {
  return CanAddRecord() && grid_->GetSelectedDataRow() >= 0;
}

void CBottomView::RunRecordForm(int mode) {
  if (mode == kRecordFormNew ? !CanAddRecord() : !CanChangeRecord()) return;
  // A value still being typed in place is saved first, as leaving the cell would.
  grid_->StopEdit();
  const int row = grid_->GetSelectedDataRow();
  if (mode != kRecordFormNew) {
    // The form works on the current record: make sure it is the selected row's.
    try {
      grid_->MoveRecordsetToRow(row);
    } catch (const ado::ComError& e) {
      QelvoMessageBox(ComErrorText(e), MB_OK | MB_ICONEXCLAMATION, this);
      return;
    }
  }
  ShowRecordForm(grid_->GetRecordset(), this, static_cast<RecordFormMode>(mode));
  RefreshAfterRecordChange(row);
}

void CBottomView::DuplicateRecord() {
  if (!CanChangeRecord()) return;
  grid_->StopEdit();
  const int row = grid_->GetSelectedDataRow();
  long key = -1;
  try {
    grid_->MoveRecordsetToRow(row);
    key = grid_->GetRecordset()->DuplicateRecord();
  } catch (const ado::ComError& e) {
    QelvoMessageBox(ComErrorText(e), MB_OK | MB_ICONEXCLAMATION, this);
  }
  RefreshAfterRecordChange(key >= 1 ? -1 : row);
  if (key >= 1) grid_->FindRowByKey(key);
}

void CBottomView::RefreshAfterRecordChange(int keepRow) {
  // Every row at once: the row to select again may be far down.
  grid_->SetFetchOnWorker(false);
  grid_->ReopenRecordset();
  grid_->SetFetchOnWorker(true);
  grid_->Update(false);
  ShowRecordCount();
  // The person keeps their place: the same row again, or the last one when the table shrank.
  if (keepRow >= grid_->GetFirstDataRow() && grid_->GetRowCount() > grid_->GetFirstDataRow())
    grid_->SelectRow(std::min(keepRow, grid_->GetRowCount() - 1), true);
}

void CBottomView::OnGridDoubleClick(int row, int) {
  if (!grid_ || grid_->IsEditable()) return;
  if (row < grid_->GetFirstDataRow() || !CanChangeRecord()) return;
  RunRecordForm(kRecordFormEdit);
}
