#pragma once
// CBottomView: the lower pane of the main window. It owns the result grid (CDbGridCtrl, control
// id 101, filling the pane) and runs the document's request whenever the document updates its
// views: one statement (or none) opens in the grid with the record count and the elapsed time
// in the status bar; two or more statements run as a batch (BatchRunner) after a confirmation.
// The statement runs and the rows of its result arrive on a worker thread while the window
// answers: the status bar says "Executing..." until the columns are known, the grid shows the
// first screen as soon as it exists and grows with a timer, the record-count pane counts along,
// and Stop (Esc, the toolbar) ends the statement or keeps the rows read so far
// (BottomViewFetch.cpp).
//
// Commands reaching the pane are offered to the grid first (the edit commands on its cells),
// then to the pane's own table (Print, and what other parts register on Commands()).
#include <QWidget>
#include <memory>
#include <string>

#include "platform/framework/CommandTarget.h"
#include "workspace/BatchRunner.h"
#include "workspace/ProgramStart.h"
#include "workspace/ui/QelvoDoc.h"

class CDbGridCtrl;
class QPrinter;
class QTimer;
class StatusPanes;
class WaitCursor;

class CBottomView : public QWidget, public CommandTarget, public DocView, private BatchUi {
  Q_OBJECT
 public:
  // `panes` may be null (no status bar).
  CBottomView(CQelvoDoc& document, StatusPanes* panes, QWidget* parent = nullptr);
  ~CBottomView() override;

  // Creates the grid (once) and runs the document's request, which is still empty at start.
  void OnInitialUpdate();
  // Runs the document's request (see the header comment).
  void OnUpdate(DocView* sender) override;

  // The Grid settings into the grid's options, and the null label.
  void ReloadGridOptions();
  // ReloadGridOptions, then lays the open result out again from the rows already fetched: the
  // request is not run again, so a statement that changes data never runs twice.
  void RelayoutGrid();

  // Prints the grid (header and footer texts left to the grid's defaults) on `printer`, or on
  // the printer chosen in the print dialog when null.
  void Print(QPrinter* printer = nullptr);
  bool CanPrint() const;
  // Export: the shown result to CSV (Excel/EnableCsv) or an xlsx workbook, chosen in a save
  // dialog, then opened with the desktop's program. Enabled while the grid's recordset is open.
  void ExportResult();
  bool CanExport() const;
  // Shows the grid's pages as Print would print them, on the same printer, in a preview window.
  void PrintPreview();
  // The printer Print starts from (the application's, set up by Print Setup); may be null.
  void SetPrinter(QPrinter* printer) { printer_ = printer; }

  CDbGridCtrl* Grid() const { return grid_; }
  // Rows of the result are still arriving.
  bool IsFetching() const { return fetchPending_; }
  // Stops the fetch under way, keeping its rows, and says after how many rows in the message
  // area; nothing without a fetch.
  void StopFetch();
  // The batch of the last run (its log and error count).
  const BatchRunner& LastBatch() const { return *batch_; }
  // The keyboard focus to the grid.
  void FocusPane();

  bool OnCommand(int id) override;
  bool HasCommandHandler(int id) const override;
  bool OnUpdateCommand(CommandUi& ui) override;

 signals:
  // A fetch began or ended: Stop and the commands that wait for every row change state.
  void FetchStateChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // BatchUi.
  bool ConfirmBatch(const std::string& question) override;
  void BeginBatch() override;
  void EndBatch() override;
  bool ShowSummary(const std::string& text) override;
  void ShowReport(const std::string& path, const std::string& text) override;

  static bool IsGridCommand(int id);

  // ---- Record commands (BottomViewRecords.cpp): New, Edit, Delete and Duplicate Record.
  void RegisterRecordCommands();
  // The recordset is open (New Record's rule).
  bool CanAddRecord() const;
  // The recordset is open and the selected row is a data row (Edit, Delete, Duplicate).
  bool CanChangeRecord() const;
  // The record form in `mode` (a RecordFormMode) on the selected record, then the grid reopened.
  void RunRecordForm(int mode);
  void DuplicateRecord();
  // Runs the statement again and refills, selecting data row `keepRow` again when it exists.
  void RefreshAfterRecordChange(int keepRow);
  // The record-count pane: the records, "3 of 10" under a filter, or the rows a statement
  // without a result changed.
  void ShowRecordCount();
  void OnGridDoubleClick(int row, int col);

  // ---- The fetch on the worker (BottomViewFetch.cpp).
  // After an open: follows the fetch with the timer, or finishes at once when it has ended.
  void BeginFetchDisplay(long startTicks);
  // A timer tick: the first layout once a screen of rows exists, then the grid's row count and
  // the record-count pane; the end when the worker is done.
  void OnFetchTick();
  // The end (or a stop): every record shown, sort and filters again, the final panes.
  void FinishFetchDisplay();
  // What the status bar says at this stage of the fetch (the statement runs, rows arrive).
  void ShowFetchMessage(std::string (*text)());
  // The process-wide starter as it is when the viewer starts (tests replace it).
  class CurrentStarter : public ProcessStarter {
   public:
    bool Start(const std::vector<std::string>& arguments, bool wait) override;
  };

  CQelvoDoc& document_;
  StatusPanes* panes_;
  CurrentStarter starter_;
  CDbGridCtrl* grid_ = nullptr;
  std::unique_ptr<BatchRunner> batch_;
  std::unique_ptr<WaitCursor> batchWait_;
  QPrinter* printer_ = nullptr;
  QTimer* fetchTimer_ = nullptr;
  bool fetchPending_ = false;
  bool fetchLaidOut_ = false;                // the grid has been laid out for the arriving rows
  std::string (*fetchMessage_)() = nullptr;  // what the status bar says while the statement runs or rows arrive
  std::string messageBeforeFetch_;           // the status bar's message before that
  long fetchStart_ = 0;
};
