#pragma once
// Shared pieces of the result grid's tests: the offscreen application, real databases (a SQLite
// file in a temporary folder; the PostgreSQL and MariaDB servers named by QELVO_TEST_PG and
// QELVO_TEST_MARIADB), a window holding a
// CDbGridCtrl set up as the lower pane sets it up, and the user's clicks and typing.
#include <gtest/gtest.h>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "grid/db/DbGridCtrl.h"
#include "tests/support/gui/OffscreenApp.h"

class ScriptedPrompts;

namespace dbgridtest {

void EnsureApp();
using testsupport::Settle;

// A database the tests may run on, with its spelling of the types that differ.
struct TestDb {
  std::string name;                    // "SQLite", "PostgreSQL", "MariaDB", "PostgreSQLNative", "MariaDBNative"
  std::string serverConnectionString;  // empty for SQLite
  std::string doubleType;
  std::string blobType;
  std::string timestampType;
  bool isSqlite = false;
  std::string family;  // "SQLite", "PostgreSQL" or "MariaDB", whatever the provider
};
std::vector<TestDb> TestDbs();
inline void PrintTo(const TestDb& db, std::ostream* os) {
  *os << db.name;
}
std::string TestDbName(const testing::TestParamInfo<TestDb>& info);

// A database for one test: a fresh SQLite file, or the server's database with the named tables
// dropped first (and again at the end).
class ScratchDb {
 public:
  ScratchDb(const TestDb& db, std::vector<std::string> tables);
  ~ScratchDb();
  const std::string& ConnectionString() const { return connectionString_; }
  void Run(const std::vector<std::string>& statements);

 private:
  void DropTables();

  TestDb db_;
  std::vector<std::string> tables_;
  std::string folder_;
  std::string connectionString_;
};

// Every trace line of one kind while it lives.
class TraceCapture {
 public:
  explicit TraceCapture(char kind = 'G');
  ~TraceCapture();
  const std::vector<std::string>& Lines() const { return *lines_; }
  // The texts between the quotes of the lines that start with `prefix`.
  std::vector<std::string> Quoted(const std::string& prefix) const;
  void Clear() { lines_->clear(); }

 private:
  std::shared_ptr<std::vector<std::string>> lines_;
};

// Answers every message box and keeps what they said, while it lives.
class PromptCapture {
 public:
  PromptCapture();
  ~PromptCapture();
  ScriptedPrompts& Prompts() { return *prompts_; }

 private:
  std::shared_ptr<ScriptedPrompts> prompts_;
};

// The user's numeric locale for one test.
class ScopedUserLocale {
 public:
  explicit ScopedUserLocale(const std::string& name);
  ~ScopedUserLocale();
};

// A shown window filled by one CDbGridCtrl, set up as the lower pane sets it up: Initialize,
// diagnostics on, options and null label from the caller.
class GridWindow {
 public:
  explicit GridWindow(const GridOptions& options, const std::string& nullLabel = "<null>", QSize size = {900, 420},
                      DbGridStorage storage = DbGridStorage::Recordset);
  ~GridWindow();

  CDbGridCtrl& Grid() { return *grid_; }
  QWidget& Window() { return *window_; }
  // What the lower pane does for a single statement: open with the connection string, then fill.
  bool Run(const std::string& connectionString, const std::string& sql);
  // A left click in the middle of a cell, as the mouse does it.
  void Click(int row, int col);
  // Types `text` into a filter cell as a person does: click the cell (twice when it is not yet
  // the focus cell), type, and end with Enter.
  void TypeFilter(int col, const std::string& text);
  // The texts of data column `col`, top to bottom.
  std::vector<std::string> Column(int col);
  int DataRowCount();

 private:
  std::unique_ptr<QWidget> window_;
  CDbGridCtrl* grid_ = nullptr;
};

}  // namespace dbgridtest
