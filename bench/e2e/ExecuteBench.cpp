// Execute of SELECT * over the million-row table, as a person runs it: the real main window
// (offscreen), the query in the editor, Execute, until the grid is filled and the status panes
// are set. The peer is the sqlite3 shell writing the same rows as CSV to /dev/null, in the same
// run. Prints the time ratio, the peak memory of each run, and whether a second run of the same
// query grew the memory (it must not: the old recordset and cells are freed first).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/RatioReporter.h"
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
    view.SetConnectionText(SqliteConnectionString(QELVO_BENCH_DB));
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
  for (auto _ : state) {
    ResetPeak();
    session.Frame().Router().Execute(ID_EXECUTE);
    measures.peakMb.push_back(PeakMb());
    measures.residentMb.push_back(ResidentMb());
    const std::string count = session.Frame().PaneText(ID_INDICATOR_RECORDS);
    measures.rows = std::atol(count.c_str());
    if (session.Frame().PaneText(ID_INDICATOR_ELAPSED).empty()) state.SkipWithError("the elapsed pane was not set");
    // A query that failed fills nothing, fast: no figure to compare.
    if (measures.rows <= 0) state.SkipWithError("no rows were shown (is the benchmark database there?)");
  }
  state.counters["rows"] = static_cast<double>(measures.rows);
}

void Sqlite3Csv(benchmark::State& state) {
  for (auto _ : state) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char program[] = "sqlite3";
    char csv[] = "-csv";
    std::string db = QELVO_BENCH_DB;
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

void PrintSummary(const RatioReporter& times) {
  const double ours = times.Time("QelvoExecute");
  const double peer = times.Time("Sqlite3Csv");
  std::printf("rows shown: %ld\n", measures.rows);
  std::printf("ratio Execute SELECT * until the grid is filled / sqlite3 -csv > /dev/null: %.2f (%.0f ms / %.0f ms)\n",
              peer > 0 ? ours / peer : 0.0, ours, peer);
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
