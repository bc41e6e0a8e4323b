// List Tables on a database of 2,000 tables, as a person meets it: the command in the real main
// window (offscreen) until the table dialog is open and filled, and one keystroke in its filter
// (the list narrowed and refilled). The peer is the sqlite3 shell listing the same tables
// (SELECT name FROM sqlite_master) in the same run. Prints the ratio and the absolute times; the
// dialog should open in well under a second and a keystroke should take a few milliseconds.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <cstdio>
#include <memory>
#include <string>

#include "bench/common/RatioReporter.h"
#include "grid/GridCtrlEx.h"
#include "platform/framework/ScriptedPrompts.h"
#include "resources/CommandIds.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoApp.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/TableSelectDlg.h"

extern char** environ;

namespace {
constexpr int kTables = 2000;

std::string folder;
std::string databasePath;
int rowsShown = 0;
int rowsAfterFilter = 0;

// kTables tables of three columns each; every tenth a view.
void MakeDatabase() {
  folder = QDir::tempPath().toStdString() + "/qelvo-bench-tables-XXXXXX";
  if (!mkdtemp(folder.data())) std::abort();
  databasePath = folder + "/tables.db";
  sqlite3* db = nullptr;
  if (sqlite3_open(databasePath.c_str(), &db) != SQLITE_OK) std::abort();
  std::string script = "BEGIN;";
  for (int i = 0; i < kTables; ++i) {
    const std::string name = "table_" + std::to_string(i);
    if (i % 10 == 9)
      script += "CREATE VIEW " + name + " AS SELECT * FROM table_0;";
    else
      script += "CREATE TABLE " + name + " (id INTEGER PRIMARY KEY, name TEXT, amount REAL);";
  }
  script += "COMMIT;";
  if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
  sqlite3_close(db);
}

class Session {
 public:
  Session() {
    configHome_ = folder + "/config";
    QDir().mkpath(QString::fromStdString(configHome_));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome_));
    prompts_ = std::make_shared<ScriptedPrompts>();
    SetPromptSeam(prompts_);
    if (!app_.InitInstance()) std::abort();
    app_.MainFrame()->resize(1200, 800);
    app_.MainFrame()->TopView()->SetConnectionText(SqliteConnectionString(databasePath));
    QApplication::processEvents();
  }
  ~Session() { app_.ExitInstance(); }
  CMainFrame& Frame() { return *app_.MainFrame(); }
  ScriptedPrompts& Prompts() { return *prompts_; }

 private:
  std::string configHome_;
  std::shared_ptr<ScriptedPrompts> prompts_;
  CQelvoApp app_;
};

std::unique_ptr<Session> session;
Session& TheSession() {
  if (!session) session = std::make_unique<Session>();
  return *session;
}

// From the command to the dialog shown with every table in it.
void QelvoOpenTableList(benchmark::State& state) {
  Session& s = TheSession();
  for (auto _ : state) {
    s.Prompts().AnswerDialog([](QDialog& dialog) {
      auto& tables = static_cast<CTableSelectDlg&>(dialog);
      tables.FilterEdit()->clear();
      tables.show();
      QApplication::processEvents();
      rowsShown = tables.Grid()->GetRowCount() - 1;
      return int(QDialog::Rejected);
    });
    s.Frame().Router().Execute(ID_LIST_TABLES);
  }
  if (rowsShown != kTables) state.SkipWithError("not every table was listed");
}

// One keystroke in the filter of an open dialog: "table_1" narrows 2,000 rows to 111.
void QelvoFilterKeystroke(benchmark::State& state) {
  CTableSelectDlg dialog;
  for (int i = 0; i < kTables; ++i) dialog.entries.emplace_back("table_" + std::to_string(i), i % 10 == 9 ? 4 : 1);
  dialog.show();
  QApplication::processEvents();
  for (auto _ : state) {
    dialog.FilterEdit()->setText(QStringLiteral("table_1"));
    rowsAfterFilter = dialog.Grid()->GetRowCount() - 1;
    state.PauseTiming();
    dialog.FilterEdit()->clear();
    state.ResumeTiming();
  }
  if (rowsAfterFilter != 1111) state.SkipWithError("the filter kept the wrong rows");
}

void Sqlite3ListTables(benchmark::State& state) {
  for (auto _ : state) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char program[] = "sqlite3";
    std::string db = databasePath;
    std::string query = "SELECT name, type FROM sqlite_master WHERE type IN ('table', 'view')";
    char* argv[] = {program, db.data(), query.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "sqlite3", &actions, nullptr, argv, environ) != 0) {
      state.SkipWithError("sqlite3 could not be started");
      break;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
  }
}

BENCHMARK(Sqlite3ListTables)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(QelvoOpenTableList)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(QelvoFilterKeystroke)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void PrintSummary(const RatioReporter& times) {
  const double open = times.Time("QelvoOpenTableList");
  const double key = times.Time("QelvoFilterKeystroke");
  const double peer = times.Time("Sqlite3ListTables");
  std::printf("tables listed: %d of %d\n", rowsShown, kTables);
  std::printf("ratio List Tables until the dialog is filled / sqlite3 listing the tables: %.2f (%.1f ms / %.1f ms)\n",
              peer > 0 ? open / peer : 0.0, open, peer);
  std::printf("open within one second: %s\n", open > 0 && open < 1000.0 ? "yes" : "NO");
  std::printf("filter keystroke over %d tables: %.2f ms (%d rows kept)\n", kTables, key, rowsAfterFilter);
}
}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  MakeDatabase();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(RatioReporter::Clock::Real, PrintSummary);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  session.reset();
  QDir(QString::fromStdString(folder)).removeRecursively();
  return 0;
}
