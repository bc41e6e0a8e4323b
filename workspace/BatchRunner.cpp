#include "workspace/BatchRunner.h"

#include <cstdio>

#include "data/DbConnection.h"
#include "data/ErrorText.h"
#include "data/Trace.h"
#include "text/TextUtil.h"
#include "workspace/ProgramStart.h"
#include "workspace/ReportFile.h"
#include "workspace/SettingsStore.h"
#include "workspace/StatementSplitter.h"

std::vector<std::string> RequestStatements(const std::string& text, const SettingsStore& settings) {
  std::string separator = Trim(settings.GetString("General", "BatchSeparator"));
  if (separator.empty()) return {text};
  return SplitStatements(text, separator);
}

namespace {
// The statement text goes in whole: a formatting buffer would cut long statements.
std::string StatementLine(const char* tag, size_t index, const std::string& statement) {
  char head[32];
  std::snprintf(head, sizeof head, "[%s] %3zu \"", tag, index);
  return head + statement + "\"";
}

class WaitGuard {
 public:
  explicit WaitGuard(BatchUi& ui) : ui_(ui) { ui_.BeginBatch(); }
  ~WaitGuard() { End(); }
  void End() {
    if (active_) ui_.EndBatch();
    active_ = false;
  }

 private:
  BatchUi& ui_;
  bool active_ = true;
};
}  // namespace

std::string BatchSuccessLine(size_t index, const std::string& statement) {
  return StatementLine("K", index, statement);
}

std::string BatchFailureLine(size_t index, const std::string& statement) {
  return StatementLine("E", index, statement);
}

std::string BatchErrorLine(const std::string& errorText) {
  return "[E] Error: " + errorText;
}

std::string BatchSummaryText(size_t queries, size_t errors) {
  char text[64];
  std::snprintf(text, sizeof text, "Queries : %zu\r\nErrors : %zu", queries, errors);
  return text;
}

BatchRunner::BatchRunner(BatchUi& ui, const SettingsStore& settings, ProcessStarter& starter, std::string reportPath)
    : ui_(ui), settings_(settings), starter_(starter), reportPath_(std::move(reportPath)) {}

std::string BatchRunner::Run(DbConnection* connection, const std::string& text) {
  std::vector<std::string> statements = RequestStatements(text, settings_);
  if (statements.size() >= 2) return RunBatch(connection, statements);
  return text;
}

bool BatchRunner::ExecuteLogged(DbConnection* connection, size_t index, const std::string& statement) {
  try {
    if (!connection) throw ado::ComError(ado::adErrObjectClosed);
    connection->Execute(statement);
    log_.push_back(BatchSuccessLine(index, statement));
    return true;
  } catch (const ado::ComError& error) {
    ++errors_;
    log_.push_back(BatchFailureLine(index, statement));
    log_.push_back(BatchErrorLine(ComErrorText(error)));
    return false;
  }
}

std::string BatchRunner::RunBatch(DbConnection* connection, const std::vector<std::string>& statements) {
  log_.clear();
  errors_ = 0;
  const size_t n = statements.size();
  if (n == 0) return {};
  char question[64];
  std::snprintf(question, sizeof question, "Execute list of %zu queries ?", n);
  if (!ui_.ConfirmBatch(question)) return {};

  WaitGuard wait(ui_);
  for (size_t i = 0; i + 1 < n; ++i) ExecuteLogged(connection, i, statements[i]);
  if (errors_ == 0) return statements.back();

  ExecuteLogged(connection, n - 1, statements.back());
  const bool written = WriteReportFile(reportPath_, log_);
  if (!written) Trace(TraceWarning, "BatchRunner::RunBatch() : cannot write \"%s\"", reportPath_.c_str());
  wait.End();
  if (!ui_.ShowSummary(BatchSummaryText(n, errors_))) return {};
  // Without a viewer, or without the file, the person would never see which statement failed.
  if (!written || !RunScriptFileReader(reportPath_, settings_, starter_)) {
    std::string text;
    for (const std::string& line : log_) text += line + "\r\n";
    ui_.ShowReport(reportPath_, text);
  }
  return {};
}
