#include "workspace/ui/BottomView.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QResizeEvent>
#include <QTimer>

#include "data/DbConnection.h"
#include "data/DbConnectionHolder.h"
#include "data/DbRecordset.h"
#include "data/Ticks.h"
#include "data/ado/ComError.h"
#include "grid/db/DbGridCtrl.h"
#include "grid/db/GridOptions.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "platform/framework/WaitCursor.h"
#include "resources/CommandIds.h"
#include "workspace/ProgramStart.h"
#include "workspace/ReportFile.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/StatusPaneText.h"
#include "workspace/ui/StatusPanes.h"
#include "workspace/ui/TextDlg.h"

CBottomView::CBottomView(CQelvoDoc& document, StatusPanes* panes, QWidget* parent)
    : QWidget(parent), document_(document), panes_(panes) {
  setObjectName(QStringLiteral("BottomView"));
  batch_ = std::make_unique<BatchRunner>(static_cast<BatchUi&>(*this), AppSettings(), starter_, DefaultReportPath());
  document_.AddView(this);
  Commands().On(ID_FILE_PRINT, [this] { Print(); });
  Commands().OnUpdate(ID_FILE_PRINT, [this](CommandUi& ui) { ui.Enable(CanPrint()); });
  Commands().On(ID_EXPORT, [this] { ExportResult(); });
  Commands().OnUpdate(ID_EXPORT, [this](CommandUi& ui) { ui.Enable(CanExport()); });
  RegisterRecordCommands();
  Commands().On(ID_STOP, [this] { StopFetch(); });
  Commands().OnUpdate(ID_STOP, [this](CommandUi& ui) { ui.Enable(IsFetching()); });
  Commands().On(ID_FILE_PRINT_PREVIEW, [this] { PrintPreview(); });
  Commands().OnUpdate(ID_FILE_PRINT_PREVIEW, [this](CommandUi& ui) { ui.Enable(CanPrint()); });
}

CBottomView::~CBottomView() {
  document_.RemoveView(this);
  // A fetch under way stops before the pane goes: its worker uses the grid's connection.
  if (fetchTimer_) fetchTimer_->stop();
  fetchPending_ = false;
  if (grid_) grid_->PurgeRecordset(false);
}

bool CBottomView::CurrentStarter::Start(const std::vector<std::string>& arguments, bool wait) {
  return AppProcessStarter().Start(arguments, wait);
}

void CBottomView::OnInitialUpdate() {
  if (!grid_) {
    grid_ = new CDbGridCtrl(this);
    grid_->Create(rect(), this, CDbGridCtrl::kControlId);
    grid_->Initialize();
    grid_->SetEditable(AppSettings().GetBool("Grid", "InPlaceEdit"));
    grid_->SetDiagnostics(true);
    grid_->SetFetchOnWorker(true);
    connect(grid_, &CDbGridCtrl::FilterChanged, this, [this] { ShowRecordCount(); });
    connect(grid_, &CDbGridCtrl::FilterRefused, this, [this](const QString& reason) {
      if (panes_) panes_->ShowStatusMessage(reason.toStdString());
    });
    connect(grid_, &CGridCtrl::Notify, this, [this](GridNotify& n) {
      if (n.code == kNotifyDoubleClick) OnGridDoubleClick(n.row, n.col);
    });
    grid_->show();
  }
  OnUpdate(nullptr);
}

void CBottomView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (grid_) grid_->setGeometry(0, 0, event->size().width(), event->size().height());
}

void CBottomView::FocusPane() {
  if (grid_)
    grid_->setFocus(Qt::OtherFocusReason);
  else
    setFocus(Qt::OtherFocusReason);
}

void CBottomView::ReloadGridOptions() {
  if (!grid_) return;
  grid_->SetOptions(ReadGridOptions(AppSettings()));
  CDbGridCtrl::SetNullLabel(AppSettings().GetString("Grid", "NullFieldLabel"));
}

void CBottomView::RelayoutGrid() {
  if (!grid_) return;
  ReloadGridOptions();
  // Without an open result there is nothing to lay out; the next run lays the grid out anew.
  if (DbRecordset* recordset = grid_->GetRecordset(); recordset && recordset->IsOpen()) grid_->Update(false);
}

void CBottomView::OnUpdate(DocView*) {
  if (!grid_) return;
  // A new run stops the rows of the last one still arriving: that worker uses the connection.
  if (fetchPending_) {
    if (DbRecordset* recordset = grid_->GetRecordset()) recordset->Cancel();
    FinishFetchDisplay();
  }
  ReloadGridOptions();
  const std::string connectionString = document_.ConnectionString();
  const std::string text = document_.StatementText();
  bool opened = false;
  if (!connectionString.empty()) {
    CurrentConnectionString = connectionString;
    if (panes_) panes_->SetConnectionPane(connectionString);
    DbConnection* connection = nullptr;
    // A dead connection shows up as failures of the statements themselves.
    try {
      connection = grid_->GetConnectionHolder().GetConnection();
      if (connection) connection->ReOpen();
    } catch (const ado::ComError&) {
      // A connection that failed to open still tells each statement why.
      if (!connection) connection = grid_->GetConnectionHolder().Current();
    }
    const std::string toShow = batch_->Run(connection, text);
    if (!toShow.empty()) {
      const long t0 = TickCount();
      grid_->OpenRecordset(connectionString, toShow);
      if (DbRecordset* recordset = grid_->GetRecordset(); recordset && recordset->IsOpen()) {
        // The statement runs and its rows arrive on the worker; the timer shows them, and the
        // end shows a failure of the statement and makes the panes final.
        BeginFetchDisplay(t0);
        return;
      }
      const long t1 = TickCount();
      opened = true;
      if (panes_) panes_->SetElapsedPane(t1 - t0);
    }
  }
  grid_->Update(false);
  // After the layout, which brings back the filter the grid had.
  if (opened) ShowRecordCount();
}

void CBottomView::ShowRecordCount() {
  if (!panes_ || !grid_) return;
  DbRecordset* recordset = grid_->GetRecordset();
  std::string text = RecordCountPaneText(-1);
  try {
    if (recordset && recordset->IsOpen()) {
      const long count = recordset->GetRecordCount();
      text = grid_->IsFilterActive() ? FilteredCountPaneText(count, recordset->GetUnfilteredRecordCount())
                                     : RecordCountPaneText(count);
    } else if (recordset) {
      // No result: the rows the statement changed, or nothing when the database did not say (a
      // CREATE TABLE) or the statement failed; never a bare -1.
      text = RowsAffectedPaneText(recordset->GetRowsAffected());
    }
  } catch (const ado::ComError&) {
  }
  panes_->SetRecordCountPane(text);
}

bool CBottomView::ConfirmBatch(const std::string& question) {
  return QelvoMessageBox(question, MB_YESNO | MB_ICONQUESTION, this) == IDYES;
}

void CBottomView::BeginBatch() {
  batchWait_ = std::make_unique<WaitCursor>();
  // The batch may change what the old result showed: it goes with the emptied grid, so that no
  // later re-layout brings back rows from before the batch.
  grid_->PurgeRecordset(true);
  grid_->SetRowCount(0);
  grid_->SetColumnCount(0);
  grid_->repaint();
}

void CBottomView::EndBatch() {
  batchWait_.reset();
}

bool CBottomView::ShowSummary(const std::string& text) {
  return QelvoMessageBox(text + "\r\n\r\nShow the report?", MB_YESNO | MB_ICONINFORMATION, this) == IDYES;
}

void CBottomView::ShowReport(const std::string& path, const std::string& text) {
  CTextDlg dialog(this);
  dialog.title = "Batch report - " + path;
  dialog.text = text;
  dialog.setWindowTitle(QString::fromStdString(dialog.title));
  Prompts().ExecDialog(dialog);
}

bool CBottomView::CanPrint() const {
  // Not a result half read.
  return grid_ && !fetchPending_ && grid_->GetRowCount() > grid_->GetFirstDataRow();
}

void CBottomView::Print(QPrinter* printer) {
  if (!CanPrint()) return;
  grid_->SetPrintHeaderText({}, {});
  grid_->SetPrintFooterText({}, {});
  if (printer) {
    grid_->Print(*printer);
    return;
  }
  QPrinter local(QPrinter::HighResolution);
  QPrinter& chosen = printer_ ? *printer_ : local;
  QPrintDialog dialog(&chosen, this);
  if (Prompts().ExecDialog(dialog) != QDialog::Accepted) return;
  WaitCursor wait;
  grid_->Print(chosen);
}

void CBottomView::PrintPreview() {
  if (!CanPrint()) return;
  grid_->SetPrintHeaderText({}, {});
  grid_->SetPrintFooterText({}, {});
  QPrinter local(QPrinter::HighResolution);
  QPrintPreviewDialog dialog(printer_ ? printer_ : &local, this);
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
    WaitCursor wait;
    grid_->Print(*printer);
  });
  Prompts().ExecDialog(dialog);
}

bool CBottomView::IsGridCommand(int id) {
  return id == ID_EDIT_COPY || id == ID_EDIT_CUT || id == ID_EDIT_PASTE || id == ID_EDIT_SELECT_ALL;
}

bool CBottomView::OnCommand(int id) {
  if (grid_ && IsGridCommand(id) && grid_->OnCommand(id)) return true;
  return CommandTarget::OnCommand(id);
}

bool CBottomView::HasCommandHandler(int id) const {
  return (grid_ && IsGridCommand(id)) || CommandTarget::HasCommandHandler(id);
}

bool CBottomView::OnUpdateCommand(CommandUi& ui) {
  if (grid_ && IsGridCommand(ui.Id())) {
    ui.Enable(grid_->IsCommandEnabled(ui.Id()));
    return true;
  }
  return CommandTarget::OnUpdateCommand(ui);
}
