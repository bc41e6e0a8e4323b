// The lower pane while the rows of a result arrive on a worker thread: nothing here waits for
// the worker. A timer shows the first screen of rows once it exists, grows the grid with the
// rows read and counts them in the status bar; the end, or Stop, makes everything final.
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
  fetchStart_ = startTicks;
  fetchTimer_->start();
  emit FetchStateChanged();
  OnFetchTick();
}

void CBottomView::OnFetchTick() {
  if (!fetchPending_ || !grid_) return;
  DbRecordset* recordset = grid_->GetRecordset();
  const bool running = recordset && recordset->IsFetching();
  const long rows = recordset ? recordset->GetViewCount() : 0;
  if (!fetchLaidOut_) {
    // The first layout sizes the columns by the rows there are: it waits for a screen of them.
    const int screen = grid_->viewport()->height() / std::max(1, grid_->fontMetrics().height()) + 1;
    if (running && rows < screen) return;
    fetchLaidOut_ = true;
    grid_->Update(false);
  } else {
    grid_->SyncRowCountFromRecordset();
  }
  if (panes_) {
    panes_->SetRecordCountPane(RecordCountPaneText(rows));
    panes_->SetElapsedPane(TickCount() - fetchStart_);
  }
  if (!running) FinishFetchDisplay();
}

void CBottomView::FinishFetchDisplay() {
  if (!fetchPending_) return;
  fetchPending_ = false;
  if (fetchTimer_) fetchTimer_->stop();
  if (!grid_) return;
  try {
    // Ends the fetch; what failed in it is raised here, once, with the rows before it kept.
    if (DbRecordset* recordset = grid_->GetRecordset()) recordset->WaitForFetch();
  } catch (const ado::ComError& e) {
    QelvoMessageBox(ComErrorText(e), MB_OK | MB_ICONEXCLAMATION, this);
  }
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
  ShowRecordCount();
  if (panes_) panes_->SetElapsedPane(TickCount() - fetchStart_);
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
