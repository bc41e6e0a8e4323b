// Export on the lower pane: the rows of the shown result to a CSV file or an xlsx workbook, then
// the file opened with the desktop's program for it.
#include <optional>

#include "data/DbRecordset.h"
#include "data/ErrorText.h"
#include "data/Trace.h"
#include "data/ado/ComError.h"
#include "export/CsvExport.h"
#include "export/ExcelExport.h"
#include "grid/db/DbGridCtrl.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "platform/framework/WaitCursor.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/StatusPanes.h"
#include "workspace/ui/WindowExportUi.h"

bool CBottomView::CanExport() const {
  // Not before every row is in.
  if (!grid_ || fetchPending_) return false;
  DbRecordset* recordset = grid_->GetRecordset();
  return recordset && recordset->IsOpen();
}

void CBottomView::ExportResult() {
  if (!CanExport()) return;
  const bool csv = AppSettings().GetBool("Excel", "EnableCsv");
  const ResultExportFileChoice choice = ResultExportFileChoiceFor(csv);
  // A save dialog: the file is usually a new one, and one that exists is replaced only when the
  // user says so.
  FileDialogRequest request;
  request.parent = this;
  request.mode = FileDialogRequest::Mode::Save;
  request.initialName = choice.proposedName;
  request.defaultExtension = choice.defaultExtension;
  request.filter = choice.filter;
  request.overwritePrompt = true;
  request.noReadOnlyReturn = true;
  const std::optional<std::string> path = Prompts().FileDialog(request);
  if (!path) return;

  WaitCursor wait;
  DbRecordset& recordset = *grid_->GetRecordset();
  bool written = false;
  try {
    recordset.MoveFirst();
    if (recordset.GetRecordCount() <= 0) {
      wait.End();
      QelvoMessageBox("No data available for export", MB_OK | MB_ICONEXCLAMATION, this);
      return;
    }
    WindowExportUi ui(panes_, this);
    if (csv)
      written = WriteCsvFile(*path, recordset, AppSettings().GetString("Excel", "CsvSeparator"), ui);
    else
      written = WriteExcelFile(*path, "Export", recordset, ui);
    if (ui.Canceled() && panes_) panes_->SetRecordCountPane("Canceled");
  } catch (const ado::ComError& e) {
    wait.End();
    QelvoMessageBox(ComErrorText(e), MB_OK | MB_ICONERROR, this);
    return;
  } catch (const std::exception& e) {
    wait.End();
    Trace(TraceError, "CBottomView::ExportResult() : %s", e.what());
    QelvoMessageBox(e.what(), MB_OK | MB_ICONERROR, this);
    return;
  }
  wait.End();
  // The file is closed and complete: it opens at once in the program the desktop has for it.
  if (written) Prompts().OpenDocument(*path);
}
