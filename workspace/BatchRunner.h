#pragma once
// Running a request of the workspace: the text is cut at the batch separator; one statement (or
// none) goes to the grid unchanged, two or more form a batch. A batch is confirmed, executed
// statement by statement on one connection, logged with "[K]"/"[E]" lines, and either hands its
// last statement to the grid (all others succeeded) or runs it too, writes the report and shows
// the summary, which offers the report: it opens in the configured viewer, or in a window of the
// program's own when no viewer starts (none configured, none installed) or the file could not be
// written.
//
// The window answers the questions and shows the messages through BatchUi; the viewer starts
// through a ProcessStarter; the report's path is given. A test supplies all three.
#include <string>
#include <vector>

class DbConnection;
class ProcessStarter;
class SettingsStore;

class BatchUi {
 public:
  virtual ~BatchUi() = default;
  // "Execute list of %ld queries ?" with Yes and No, the question icon; true for Yes.
  virtual bool ConfirmBatch(const std::string& question) = 0;
  // The batch starts: show the wait cursor, empty the grid and repaint it at once.
  virtual void BeginBatch() = 0;
  // The statements have run: end the wait cursor (always called once after BeginBatch).
  virtual void EndBatch() = 0;
  // "Queries : %ld\r\nErrors : %ld" with the offer to show the report, the information icon;
  // true when the person wants to see the report.
  virtual bool ShowSummary(const std::string& text) = 0;
  // Shows the report's text (lines ending in CR LF) in a window of the program's own.
  virtual void ShowReport(const std::string& path, const std::string& text) = 0;
};

// The statements of a request: General/BatchSeparator trimmed of blanks, tabs, CR and LF; when
// that is empty, the whole text is one statement.
std::vector<std::string> RequestStatements(const std::string& text, const SettingsStore& settings);

// The log lines of one outcome.
std::string BatchSuccessLine(size_t index, const std::string& statement);
std::string BatchFailureLine(size_t index, const std::string& statement);
std::string BatchErrorLine(const std::string& errorText);
std::string BatchSummaryText(size_t queries, size_t errors);

class BatchRunner {
 public:
  BatchRunner(BatchUi& ui, const SettingsStore& settings, ProcessStarter& starter, std::string reportPath);

  // The text to show in the grid for a request: the text itself, unchanged, unless it holds two or
  // more statements; then the batch runs and the result is its last statement, or "" when the batch
  // was refused or something failed. A null connection (none could be had) makes every statement
  // fail as on a closed connection.
  std::string Run(DbConnection* connection, const std::string& text);

  // The batch alone (statements.size() >= 2): the text to show, or "".
  std::string RunBatch(DbConnection* connection, const std::vector<std::string>& statements);

  // The log of the last batch, and its error count.
  const std::vector<std::string>& Log() const { return log_; }
  size_t Errors() const { return errors_; }
  const std::string& ReportPath() const { return reportPath_; }

 private:
  bool ExecuteLogged(DbConnection* connection, size_t index, const std::string& statement);

  BatchUi& ui_;
  const SettingsStore& settings_;
  ProcessStarter& starter_;
  std::string reportPath_;
  std::vector<std::string> log_;
  size_t errors_ = 0;
};
