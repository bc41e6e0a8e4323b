// The lower pane while the statement runs and the rows of its result arrive on a worker thread:
// nothing here waits for the worker. A timer says that the statement runs until its columns are
// known, shows the first screen of rows once it exists, grows the grid with the rows read and
// counts them in the status bar; the end, or Stop, shows a failure and makes everything final.
#include <QTimer>
#include <algorithm>

#include "data/DbRecordset.h"
#include "data/ErrorText.h"
#include "data/Ticks.h"
#include "data/ado/ComError.h"
#include "grid/db/DbGridCtrl.h"
#include "platform/framework/MessageBox.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/StatusPaneText.h"
#include "workspace/ui/StatusPanes.h"

namespace {
// Often enough that rows seem to flow, rarely enough to cost nothing beside the fetch.
constexpr int kFetchTickMs = 40;
}  // namespace

void CBottomView::BeginFetchDisplay(long startTicks) {
  if (!fetchTimer_) {
    fetchTimer_ = new QTimer(this);
    fetchTimer_->setInterval(kFetchTickMs);
    connect(fetchTimer_, &QTimer::timeout, this, [this] { OnFetchTick(); });
  }
  fetchPending_ = true;
  fetchLaidOut_ = false;
  fetchMessage_ = nullptr;
  fetchStart_ = startTicks;
  fetchTimer_->start();
  emit FetchStateChanged();
  OnFetchTick();
}

void CBottomView::OnFetchTick() {
  if (!fetchPending_ || !grid_) return;
  DbRecordset* recordset = grid_->GetRecordset();
  const bool running = recordset && recordset->IsFetching();
  if (running && recordset->IsExecuting()) {
    // No column yet: the statement runs.
    ShowFetchMessage(ExecutingText);
    if (panes_) panes_->SetElapsedPane(TickCount() - fetchStart_);
    return;
  }
  // The worker is done: the end shows what failed before anything reads the rows (a layout
  // would end the fetch itself and leave the failure to a call that swallows it).
  if (!running) {
    FinishFetchDisplay();
    return;
  }
  ShowFetchMessage(FetchingText);
  const long rows = recordset->GetViewCount();
  if (!fetchLaidOut_) {
    // The first layout sizes the columns by the rows there are: it waits for a screen of them.
    const int screen = grid_->viewport()->height() / std::max(1, grid_->fontMetrics().height()) + 1;
    if (rows < screen) return;
    fetchLaidOut_ = true;
    grid_->Update(false);
  } else {
    grid_->SyncRowCountFromRecordset();
  }
  if (panes_) {
    panes_->SetRecordCountPane(RecordCountPaneText(rows));
    panes_->SetElapsedPane(TickCount() - fetchStart_);
  }
}

void CBottomView::ShowFetchMessage(std::string (*text)()) {
  // Set once per stage: the status bar is not redrawn on every tick.
  if (fetchMessage_ == text) return;
  // A word said before the run (no secret service, say) comes back when the fetch ends.
  if (!fetchMessage_ && panes_) messageBeforeFetch_ = panes_->StatusMessage();
  fetchMessage_ = text;
  if (panes_) panes_->ShowStatusMessage(text());
}

void CBottomView::FinishFetchDisplay() {
  if (!fetchPending_) return;
  fetchPending_ = false;
  if (fetchTimer_) fetchTimer_->stop();
  if (fetchMessage_) {
    fetchMessage_ = nullptr;
    if (panes_) panes_->ShowStatusMessage(messageBeforeFetch_);
  }
  if (!grid_) return;
  // Ends the statement and the fetch; what failed in them is shown here, once: a failed
  // statement as a failed open, a failure half way with the rows before it kept.
  DbRecordset* recordset = grid_->GetRecordset();
  const bool wasOpen = recordset && recordset->IsOpen();
  const bool succeeded = grid_->EndOpen();
  // A statement that failed leaves the panes as a failed open does.
  const bool failedOpen = !succeeded && wasOpen && !recordset->IsOpen();
  try {
    if (!fetchLaidOut_) {
      fetchLaidOut_ = true;
      grid_->Update(false);
    } else {
      grid_->FinishFetch();
    }
  } catch (const ado::ComError& e) {
    QelvoMessageBox(ComErrorText(e), MB_OK | MB_ICONEXCLAMATION, this);
  }
  if (!failedOpen) {
    ShowRecordCount();
    if (panes_) panes_->SetElapsedPane(TickCount() - fetchStart_);
  } else if (panes_) {
    panes_->SetElapsedPane(-1);
  }
  emit FetchStateChanged();
}

void CBottomView::StopFetch() {
  if (!fetchPending_ || !grid_) return;
  DbRecordset* recordset = grid_->GetRecordset();
  const bool running = recordset && recordset->IsFetching();
  if (recordset) recordset->Cancel();
  FinishFetchDisplay();
  if (running && panes_) panes_->ShowStatusMessage(StoppedAfterText(recordset->GetViewCount()));
}
