// Execute of SELECT * over the benchmark table, as a person runs it: the real main window
// (offscreen), the query in the editor, Execute, the event loop running while the rows arrive on
// the worker, until the fetch has ended and the status panes are final. The peer is the sqlite3
// shell writing the same rows as CSV to /dev/null, in the same run. Prints the time ratio, when
// the first screen of rows showed, the largest lateness of a 10 ms timer during the fetch, the
// peak memory of each run and whether a second run grew it (it must not), and sorting and
// filtering all rows in the window against the same ORDER BY and WHERE stepped in libsqlite3.
// QELVO_BENCH_E2E_DB names another database with a BigTable (the ten-million-row one that the
// target bench_data_10m makes on demand); QELVO_BENCH_E2E_CONNECTION a connection string to run the
// window's Execute on instead (a server with the same BigTable), the peer staying on the file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/RatioReporter.h"
#include "data/DbRecordset.h"
#include "data/ado/Recordset.h"
#include "grid/db/DbGridCtrl.h"
#include "platform/framework/ScriptedPrompts.h"
#include "resources/CommandIds.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/FirstStart.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoApp.h"
#include "workspace/ui/QelvoView.h"

extern char** environ;

namespace {
const char* const kQuery = "SELECT * FROM BigTable";

std::string BenchDb() {
  const char* other = std::getenv("QELVO_BENCH_E2E_DB");
  return other && *other ? other : QELVO_BENCH_DB;
}

// Resident and peak resident memory of this process, in bytes (/proc/self/status).
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(field) + ":";
  while (std::getline(status, line))
    if (line.rfind(prefix, 0) == 0) return std::atol(line.c_str() + prefix.size());
  return -1;
}
double ResidentMb() {
  return StatusKb("VmRSS") / 1024.0;
}
double PeakMb() {
  return StatusKb("VmHWM") / 1024.0;
}
// Starts the peak over from the current resident size.
void ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

struct Measures {
  double baselineMb = 0;
  std::vector<double> peakMb;      // per Execute
  std::vector<double> residentMb;  // after each Execute
  double sqlitePeakMb = 0;
  long rows = 0;
  std::vector<double> firstScreenMs;  // per Execute: the grid showed data rows
  std::vector<double> latenessMs;     // per Execute: the largest lateness of a 10 ms timer
  double heldMb = 0;                  // the recordset's rows and index after the last run
} measures;

// The program with a settings folder of its own, the benchmark database in the editors.
class Session {
 public:
  Session() {
    configHome_ = QDir::tempPath().toStdString() + "/qelvo-bench-e2e-XXXXXX";
    if (!mkdtemp(configHome_.data())) std::abort();
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome_));
    SetPromptSeam(std::make_shared<ScriptedPrompts>());
    if (!app_.InitInstance()) std::abort();
    app_.MainFrame()->resize(1200, 800);
    CQelvoView& view = *app_.MainFrame()->TopView();
    const char* other = std::getenv("QELVO_BENCH_E2E_CONNECTION");
    view.SetConnectionText(other && *other ? std::string(other) : SqliteConnectionString(BenchDb()));
    view.SetQueryText(kQuery);
    QApplication::processEvents();
  }
  ~Session() {
    app_.ExitInstance();
    QDir(QString::fromStdString(configHome_)).removeRecursively();
  }
  CMainFrame& Frame() { return *app_.MainFrame(); }

 private:
  std::string configHome_;
  CQelvoApp app_;
};

std::unique_ptr<Session> session;
Session& TheSession() {
  if (!session) session = std::make_unique<Session>();
  return *session;
}

void QelvoExecute(benchmark::State& state) {
  Session& session = TheSession();
  measures.baselineMb = ResidentMb();
  CBottomView& bottom = *session.Frame().BottomView();
  CDbGridCtrl& grid = *bottom.Grid();
  for (auto _ : state) {
    ResetPeak();
    // A 10 ms timer: how late it fires while the rows arrive is how long the window is deaf.
    QElapsedTimer clock;
    double lastTick = 0;
    double lateness = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
      lateness = std::max(lateness, now - lastTick - 10.0);
      lastTick = now;
    });
    clock.start();
    ticker.start();
    session.Frame().Router().Execute(ID_EXECUTE);
    double firstScreen = -1;
    auto seeRows = [&] {
      if (firstScreen < 0 && grid.GetRowCount() > grid.GetFirstDataRow())
        firstScreen = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    };
    // Lateness counts from before Execute's own call: a window that froze inside it was deaf too.
    seeRows();
    while (bottom.IsFetching()) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
      seeRows();
    }
    seeRows();
    ticker.stop();
    measures.firstScreenMs.push_back(firstScreen);
    measures.latenessMs.push_back(lateness);
    measures.peakMb.push_back(PeakMb());
    measures.residentMb.push_back(ResidentMb());
    const std::string count = session.Frame().PaneText(ID_INDICATOR_RECORDS);
    measures.rows = std::atol(count.c_str());
    if (session.Frame().PaneText(ID_INDICATOR_ELAPSED).empty()) state.SkipWithError("the elapsed pane was not set");
    // A query that failed fills nothing, fast: no figure to compare.
    if (measures.rows <= 0) state.SkipWithError("no rows were shown (is the benchmark database there?)");
  }
  state.counters["rows"] = static_cast<double>(measures.rows);
  if (DbRecordset* rs = grid.GetRecordset(); rs && rs->IsOpen())
    measures.heldMb = static_cast<double>(AdoRecordsetOf(*rs)->MemoryBytes()) / (1024.0 * 1024.0);
}

// Sorting and filtering every row of the shown result, as the header click and the filter row do.
void QelvoSortInWindow(benchmark::State& state) {
  CDbGridCtrl& grid = *TheSession().Frame().BottomView()->Grid();
  bool ascending = true;
  for (auto _ : state) {
    grid.SortRecordset(2, ascending);  // Name
    ascending = !ascending;
  }
}

void QelvoFilterInWindow(benchmark::State& state) {
  CDbGridCtrl& grid = *TheSession().Frame().BottomView()->Grid();
  for (auto _ : state) {
    grid.FilterRecordset("Name LIKE 'Customer 1%' AND Qty = 1500");
    state.PauseTiming();
    grid.FilterRecordset("");
    state.ResumeTiming();
  }
}

// The peers: the same order and condition in libsqlite3, stepped to the last row.
long StepAll(const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(BenchDb().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  long rows = 0;
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK)
    while (sqlite3_step(stmt) == SQLITE_ROW) ++rows;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return rows;
}

void SqliteOrderBy(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(StepAll("SELECT * FROM BigTable ORDER BY Name"));
}

void SqliteWhere(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(StepAll("SELECT * FROM BigTable WHERE Name LIKE 'Customer 1%' AND Qty = 1500"));
}

void Sqlite3Csv(benchmark::State& state) {
  for (auto _ : state) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char program[] = "sqlite3";
    char csv[] = "-csv";
    std::string db = BenchDb();
    std::string query = kQuery;
    char* argv[] = {program, csv, db.data(), query.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "sqlite3", &actions, nullptr, argv, environ) != 0) {
      state.SkipWithError("sqlite3 could not be started");
      break;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    posix_spawn_file_actions_destroy(&actions);
    measures.sqlitePeakMb = std::max(measures.sqlitePeakMb, usage.ru_maxrss / 1024.0);
  }
}

// Two runs each: the second Execute is the one that must not grow memory.
BENCHMARK(Sqlite3Csv)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(QelvoExecute)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(SqliteOrderBy)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(QelvoSortInWindow)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(SqliteWhere)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(QelvoFilterInWindow)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void PrintSummary(const RatioReporter& times) {
  const double ours = times.Time("QelvoExecute");
  const double peer = times.Time("Sqlite3Csv");
  std::printf("rows shown: %ld\n", measures.rows);
  std::printf("ratio Execute SELECT * until every row is in / sqlite3 -csv > /dev/null: %.2f (%.0f ms / %.0f ms)\n",
              peer > 0 ? ours / peer : 0.0, ours, peer);
  for (std::size_t i = 0; i < measures.firstScreenMs.size(); ++i)
    std::printf("run %zu: first screen of rows after %.0f ms; largest lateness of a 10 ms timer %.0f ms\n", i + 1,
                measures.firstScreenMs[i], measures.latenessMs[i]);
  times.Ratio("QelvoSortInWindow", "SqliteOrderBy", "Sort all rows in the window / ORDER BY", 1.0);
  times.Ratio("QelvoFilterInWindow", "SqliteWhere", "Filter all rows in the window / WHERE", 1.0);
  std::printf("memory: the recordset's rows and index %.1f MB\n", measures.heldMb);
  std::printf("memory: program before the first run %.1f MB\n", measures.baselineMb);
  for (std::size_t i = 0; i < measures.peakMb.size(); ++i)
    std::printf("memory: run %zu peak %.1f MB, resident after it %.1f MB\n", i + 1, measures.peakMb[i],
                measures.residentMb[i]);
  std::printf("memory: sqlite3 -csv peak %.1f MB\n", measures.sqlitePeakMb);
  if (measures.peakMb.size() >= 2) {
    // A few MB of allocator slack is not growth; a second copy of the rows would be hundreds.
    const double growth = measures.peakMb[1] - measures.peakMb[0];
    const double residentGrowth = measures.residentMb[1] - measures.residentMb[0];
    const bool ok = growth <= 16.0 && residentGrowth <= 16.0;
    std::printf("memory: second run peak %+.1f MB, resident %+.1f MB against the first: %s\n", growth, residentGrowth,
                ok ? "ok (no growth)" : "GROWS");
  }
}
}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  // Wall time: the peer is another process, whose CPU time is not ours to read per run.
  RatioReporter reporter(RatioReporter::Clock::Real, PrintSummary);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  session.reset();
  return 0;
}
