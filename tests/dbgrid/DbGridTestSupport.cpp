#include "tests/dbgrid/DbGridTestSupport.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <cstdlib>
#include <filesystem>

#include "data/DbConnection.h"
#include "data/Trace.h"
#include "data/ado/ComError.h"
#include "platform/framework/ScriptedPrompts.h"
#include "tests/support/data/TestDatabases.h"
#include "tests/support/dbgrid/GridDriving.h"
#include "text/UserLocale.h"

namespace dbgridtest {

void EnsureApp() {
  testsupport::EnsureOffscreenApp("tests_dbgrid");
}

std::vector<TestDb> TestDbs() {
  std::vector<TestDb> list;
  list.push_back(TestDb{"SQLite", "", "DOUBLE", "BLOB", "DATETIME", true, "SQLite"});
  if (const char* pg = std::getenv("QELVO_TEST_PG"); pg && *pg) {
    list.push_back(TestDb{"PostgreSQL", pg, "DOUBLE PRECISION", "BYTEA", "TIMESTAMP", false, "PostgreSQL"});
    list.push_back(TestDb{"PostgreSQLNative", NativePostgresString(pg), "DOUBLE PRECISION", "BYTEA", "TIMESTAMP", false,
                          "PostgreSQL"});
  }
  if (const char* my = std::getenv("QELVO_TEST_MARIADB"); my && *my) {
    // Double quotes around names, as the suite's statements write them for every database.
    const std::string ansiQuotes = ";InitStmt={SET SESSION sql_mode = CONCAT(@@sql_mode, ',ANSI_QUOTES')}";
    list.push_back(TestDb{"MariaDB", std::string(my) + ansiQuotes, "DOUBLE", "LONGBLOB", "DATETIME", false, "MariaDB"});
    list.push_back(TestDb{"MariaDBNative", NativeMariaDbString(my) + ansiQuotes, "DOUBLE", "LONGBLOB", "DATETIME",
                          false, "MariaDB"});
  }
  return list;
}

std::string TestDbName(const testing::TestParamInfo<TestDb>& info) {
  return info.param.name;
}

ScratchDb::ScratchDb(const TestDb& db, std::vector<std::string> tables) : db_(db), tables_(std::move(tables)) {
  if (db.isSqlite) {
    std::string pattern = (std::filesystem::temp_directory_path() / "qelvo-dbgrid-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    folder_ = pattern;
    connectionString_ = "Provider=SQLite;Data Source=" + folder_ + "/grid.db;Create=True";
  } else {
    connectionString_ = db.serverConnectionString;
    DropTables();
  }
}

ScratchDb::~ScratchDb() {
  if (!db_.isSqlite) {
    try {
      DropTables();
    } catch (const ado::ComError&) {
    }
  }
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

void ScratchDb::DropTables() {
  std::vector<std::string> drops;
  for (const std::string& t : tables_) drops.push_back("DROP TABLE IF EXISTS " + t);
  Run(drops);
}

void ScratchDb::Run(const std::vector<std::string>& statements) {
  DbConnection connection;
  connection.Open(connectionString_, "", "");
  for (const std::string& s : statements) connection.Execute(s);
  connection.Close();
}

TraceCapture::TraceCapture(char kind) : lines_(std::make_shared<std::vector<std::string>>()) {
  auto lines = lines_;
  TraceSetObserver([lines, kind](const std::string&, char k, const std::string& text) {
    if (k == kind) lines->push_back(text);
  });
}

TraceCapture::~TraceCapture() {
  TraceSetObserver({});
}

std::vector<std::string> TraceCapture::Quoted(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& line : *lines_) {
    if (line.rfind(prefix, 0) != 0) continue;
    const std::size_t open = line.find('"', prefix.size());
    const std::size_t close = line.rfind('"');
    if (open != std::string::npos && close > open) out.push_back(line.substr(open + 1, close - open - 1));
  }
  return out;
}

PromptCapture::PromptCapture() : prompts_(std::make_shared<ScriptedPrompts>()) {
  SetPromptSeam(prompts_);
}

PromptCapture::~PromptCapture() {
  SetPromptSeam(nullptr);
}

ScopedUserLocale::ScopedUserLocale(const std::string& name) {
  if (!SetUserNumericLocale(name)) ADD_FAILURE() << "locale " << name << " is not installed";
}

ScopedUserLocale::~ScopedUserLocale() {
  SetUserNumericLocale("");
}

GridWindow::GridWindow(const GridOptions& options, const std::string& nullLabel, QSize size, DbGridStorage storage) {
  EnsureApp();
  window_ = std::make_unique<QWidget>();
  auto* layout = new QVBoxLayout(window_.get());
  layout->setContentsMargins(0, 0, 0, 0);
  grid_ = new CDbGridCtrl(window_.get(), storage);
  grid_->SetDlgCtrlID(CDbGridCtrl::kControlId);
  layout->addWidget(grid_);
  grid_->Initialize();
  grid_->SetEditable(false);
  grid_->SetDiagnostics(true);
  grid_->SetOptions(options);
  CDbGridCtrl::SetNullLabel(nullLabel);
  window_->resize(size);
  window_->setWindowTitle(QStringLiteral("Qelvo result grid"));
  window_->show();
  QApplication::setActiveWindow(window_.get());
  (void)QTest::qWaitForWindowExposed(window_.get());
  grid_->setFocus(Qt::OtherFocusReason);
  Settle();
}

GridWindow::~GridWindow() {
  window_.reset();
  CDbGridCtrl::SetNullLabel("");
  Settle();
}

bool GridWindow::Run(const std::string& connectionString, const std::string& sql) {
  const bool opened = grid_->OpenRecordset(connectionString, sql);
  grid_->Update(false);
  Settle();
  return opened;
}

void GridWindow::Click(int row, int col) {
  testsupport::ClickGridCell(*grid_, row, col);
}

void GridWindow::TypeFilter(int col, const std::string& text) {
  testsupport::TypeGridFilter(*grid_, col, text);
}

std::vector<std::string> GridWindow::Column(int col) {
  std::vector<std::string> texts;
  for (int row = grid_->GetFirstDataRow(); row < grid_->GetRowCount(); ++row)
    texts.push_back(grid_->GetCellText(row, col));
  return texts;
}

int GridWindow::DataRowCount() {
  return grid_->GetRowCount() - grid_->GetFirstDataRow();
}

}  // namespace dbgridtest
