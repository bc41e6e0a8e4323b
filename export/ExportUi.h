#pragma once
// What the export runs show the user: the main frame's status panes, the wait cursor and message
// boxes. The main window implements it; tests record the calls. The export code never reaches a
// widget itself, so it stays in the core layer.
#include <stdexcept>
#include <string>

enum class MessageIcon { Error, Exclamation, Information };

class ExportUi {
 public:
  virtual ~ExportUi() = default;
  // The record-count pane gets an empty text and the elapsed pane none.
  virtual void ResetStatusPanes() = 0;
  virtual void SetRecordCountPane(const std::string& text) = 0;
  // Milliseconds, shown as "%ld.%02ld sec"; a negative count empties the pane.
  virtual void SetElapsedPane(long milliseconds) = 0;
  // Always paired: every Begin is followed by one End, also when the work fails.
  virtual void BeginWaitCursor() = 0;
  virtual void EndWaitCursor() = 0;
  // A modal message box. An empty caption means the application's title; a caption given (the
  // spreadsheet writer's "ERROR") also means the box has no owner window.
  virtual void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption = {}) = 0;
  // Where a long export is: the table (empty for a result export) and the rows written so far.
  // Called every few rows; the window shows it now and then and answers false once the user asked
  // to stop (Esc), and the export then ends after the last complete statement or row.
  virtual bool Progress(const std::string& table, long rows) {
    (void)table;
    (void)rows;
    return true;
  }
};

// How an export stops when Progress answered false: thrown between two statements or rows.
class ExportCanceled : public std::runtime_error {
 public:
  ExportCanceled() : std::runtime_error("Export canceled") {}
};

// Rows between two Progress calls.
inline constexpr long kProgressRows = 64;

// Shows the wait cursor for the life of the object.
class WaitCursorScope {
 public:
  explicit WaitCursorScope(ExportUi& ui) : ui_(ui) { ui_.BeginWaitCursor(); }
  ~WaitCursorScope() { ui_.EndWaitCursor(); }
  WaitCursorScope(const WaitCursorScope&) = delete;
  WaitCursorScope& operator=(const WaitCursorScope&) = delete;

 private:
  ExportUi& ui_;
};
