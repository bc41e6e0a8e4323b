// The exports on the million-row table, each beside a peer in the same run:
//  - CSV export (open the query, WriteCsvFile) against `sqlite3 -csv` writing the same query;
//  - the MySQL data script (GenerateData's INSERT statements) against `sqlite3 .dump` of the table;
//  - the whole database as a MySQL script (the export run: every table, structure and data) against
//    `sqlite3 .dump` of the whole database;
//  - the xlsx export (WriteExcelFile) against libxlsxwriter fed straight by sqlite3_step; its rows
//    per second, and its memory for 100,000 and for 1,000,000 rows, which must be the same.
// Times are CPU seconds (ours: this process; peers run as child processes: theirs), so that the
// ratios do not depend on what else the machine runs. Prints each ratio (ours / peer).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "bench/common/RatioReporter.h"
#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "data/ado/Recordset.h"
#include "export/CsvExport.h"
#include "export/ExcelExport.h"
#include "export/ExportUi.h"
#include "export/MysqlScriptGenerator.h"
#include "export/OutputFile.h"
#include "export/ScriptExport.h"
#include "workspace/MemoryProfileStore.h"
#include "workspace/ProgramStart.h"
#include "workspace/SettingsStore.h"

namespace {
const char* const kQuery = "SELECT ID, Name, City, Qty, Price, Ratio, Created, Active FROM BigTable";
const std::string kConnection = std::string("Provider=SQLite;Data Source=") + QELVO_BENCH_DB;

std::string OutputFolder() {
  static const std::string folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "qelvo-bench-export-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return pattern;
  }();
  return folder;
}

std::string OutputFile(const char* name) {
  return OutputFolder() + "/" + name;
}

double Seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
}

double SelfCpu() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

// Runs a shell command and returns the CPU seconds it used.
double ChildCpu(const std::string& command) {
  const pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
  return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

class SilentUi : public ExportUi {
 public:
  void ResetStatusPanes() override {}
  void SetRecordCountPane(const std::string&) override {}
  void SetElapsedPane(long) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  void ShowMessage(const std::string& text, MessageIcon, const std::string&) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
};

DbConnection& Connection() {
  static DbConnection* c = [] {
    auto* conn = new DbConnection;
    conn->Open(kConnection, "", "");
    return conn;
  }();
  return *c;
}

void CsvSqliteShell(benchmark::State& state) {
  const std::string command =
      std::string("sqlite3 -csv ") + QELVO_BENCH_DB + " '" + kQuery + "' > " + OutputFile("peer.csv");
  for (auto _ : state) state.SetIterationTime(ChildCpu(command));
}

void CsvQelvo(benchmark::State& state) {
  SilentUi ui;
  for (auto _ : state) {
    const double start = SelfCpu();
    DbRecordset rs;
    rs.Open(&Connection(), kQuery);
    if (!WriteCsvFile(OutputFile("ours.csv"), rs, ",", ui)) state.SkipWithError("CSV export failed");
    rs.Close();
    state.SetIterationTime(SelfCpu() - start);
  }
}

void InsertsSqliteDump(benchmark::State& state) {
  const std::string command =
      std::string("sqlite3 ") + QELVO_BENCH_DB + " '.dump BigTable' > " + OutputFile("peer-dump.sql");
  for (auto _ : state) state.SetIterationTime(ChildCpu(command));
}

void InsertsQelvo(benchmark::State& state) {
  SettingsStore settings;
  MemoryProfileStore profile;
  settings.LoadAll(profile);
  MysqlScriptGenerator generator{settings};
  for (auto _ : state) {
    const double start = SelfCpu();
    TextFileStream out;
    out.Open(OutputFile("ours-inserts.sql"), false);
    generator.GenerateData(Connection(), "BigTable", std::nullopt, 0, true, false, out);
    if (!out.Close()) state.SkipWithError("script export failed");
    state.SetIterationTime(SelfCpu() - start);
  }
}

void WholeDatabaseSqliteDump(benchmark::State& state) {
  const std::string command = std::string("sqlite3 ") + QELVO_BENCH_DB + " .dump > " + OutputFile("peer-whole.sql");
  for (auto _ : state) state.SetIterationTime(ChildCpu(command));
}

class NoProgramStarter : public ProcessStarter {
 public:
  bool Start(const std::vector<std::string>&, bool) override { return true; }
};

// What Tools > Script generator > MySQL target > Export tables does with every table checked.
void WholeDatabaseQelvo(benchmark::State& state) {
  SettingsStore settings;
  MemoryProfileStore profile;
  settings.LoadAll(profile);
  settings.SetText("Export", "OutputFile", OutputFile("ours-whole.sql"));
  settings.SetText("Export", "AppendMode", "0");
  settings.SetText("Export", "ExportMode", "1");
  settings.SetText("General", "ScriptFileReader", "");
  std::vector<std::string> tables;
  Connection().EnumTables(tables, 1);
  MysqlScriptGenerator generator{settings};
  SilentUi ui;
  NoProgramStarter starter;
  for (auto _ : state) {
    const double start = SelfCpu();
    RunScriptExport(generator, kConnection, tables, std::nullopt, ui, settings, starter);
    state.SetIterationTime(SelfCpu() - start);
  }
}

// libxlsxwriter in constant-memory mode fed by sqlite3_step: the least any xlsx export can do.
void XlsxRawLibrary(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(QELVO_BENCH_DB, &db, SQLITE_OPEN_READONLY, nullptr);
  for (auto _ : state) {
    const double start = SelfCpu();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(OutputFile("peer.xlsx").c_str(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Export");
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, kQuery, -1, &s, nullptr);
    const int columns = sqlite3_column_count(s);
    for (int c = 0; c < columns; ++c)
      worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), sqlite3_column_name(s, c), nullptr);
    lxw_row_t row = 1;
    while (sqlite3_step(s) == SQLITE_ROW) {
      for (int c = 0; c < columns; ++c) {
        switch (sqlite3_column_type(s, c)) {
          case SQLITE_INTEGER:
          case SQLITE_FLOAT:
            worksheet_write_number(sheet, row, static_cast<lxw_col_t>(c), sqlite3_column_double(s, c), nullptr);
            break;
          case SQLITE_TEXT:
            worksheet_write_string(sheet, row, static_cast<lxw_col_t>(c),
                                   reinterpret_cast<const char*>(sqlite3_column_text(s, c)), nullptr);
            break;
          default:
            break;
        }
      }
      ++row;
    }
    sqlite3_finalize(s);
    workbook_close(book);
    state.SetIterationTime(SelfCpu() - start);
  }
  sqlite3_close(db);
}

double xlsxSeconds = 0;

void XlsxQelvo(benchmark::State& state) {
  SilentUi ui;
  for (auto _ : state) {
    DbRecordset rs;
    rs.Open(&Connection(), kQuery);
    const double start = SelfCpu();
    if (!WriteExcelFile(OutputFile("ours.xlsx"), "Export", rs, ui)) state.SkipWithError("xlsx export failed");
    xlsxSeconds = SelfCpu() - start;
    rs.Close();
    state.SetIterationTime(xlsxSeconds);
  }
}

long StatusKilobytes(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + std::strlen(key), nullptr, 10);
  return 0;
}

// In a child process of its own, so that its peak is its own: the memory the open recordset
// holds, and how much higher the peak climbs while the workbook is written.
void XlsxMemory(long rows, long& recordsetKb, long& writerKb) {
  int pipeFd[2];
  if (pipe(pipeFd) != 0) return;
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeFd[0]);
    SilentUi ui;
    DbRecordset rs;
    const long before = StatusKilobytes("VmRSS:");
    rs.Open(&Connection(), std::string(kQuery) + " LIMIT " + std::to_string(rows));
    const long opened = StatusKilobytes("VmHWM:");
    WriteExcelFile(OutputFile("memory.xlsx"), "Export", rs, ui);
    const long peak = StatusKilobytes("VmHWM:");
    long result[2] = {opened - before, peak - opened};
    if (write(pipeFd[1], result, sizeof result) != static_cast<ssize_t>(sizeof result)) _exit(1);
    _exit(0);
  }
  close(pipeFd[1]);
  long result[2] = {0, 0};
  if (read(pipeFd[0], result, sizeof result) != static_cast<ssize_t>(sizeof result)) result[0] = result[1] = -1;
  close(pipeFd[0]);
  waitpid(pid, nullptr, 0);
  recordsetKb = result[0];
  writerKb = result[1];
}

BENCHMARK(CsvSqliteShell)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(CsvQelvo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(InsertsSqliteDump)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(InsertsQelvo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(WholeDatabaseSqliteDump)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(WholeDatabaseQelvo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(XlsxRawLibrary)->Unit(benchmark::kMillisecond)->Iterations(2)->UseManualTime();
BENCHMARK(XlsxQelvo)->Unit(benchmark::kMillisecond)->Iterations(2)->UseManualTime();

void PrintSummary(const RatioReporter& times) {
  times.Ratio("CsvQelvo", "CsvSqliteShell", "CSV export / sqlite3 -csv", 1.0);
  times.Ratio("InsertsQelvo", "InsertsSqliteDump", "MySQL INSERT script / sqlite3 .dump", 1.0);
  times.Ratio("WholeDatabaseQelvo", "WholeDatabaseSqliteDump", "whole-database MySQL script / sqlite3 .dump", 1.0);
  times.Ratio("XlsxQelvo", "XlsxRawLibrary", "xlsx export / libxlsxwriter fed by sqlite3_step", 2.0);
  if (xlsxSeconds > 0) std::printf("xlsx export: %.0f rows per second (CPU)\n", 1e6 / xlsxSeconds);
  if (!times.Has("XlsxQelvo")) return;
  long recordset100k = 0, writer100k = 0, recordset1m = 0, writer1m = 0;
  XlsxMemory(100000, recordset100k, writer100k);
  XlsxMemory(1000000, recordset1m, writer1m);
  std::printf("xlsx writer memory above the open recordset: %.1f MB for 100,000 rows, %.1f MB for 1,000,000 rows %s\n",
              writer100k / 1024.0, writer1m / 1024.0,
              writer1m <= writer100k + 4096 ? "(does not grow: ok)" : "(GROWS)");
  std::printf("(the open recordset itself: %.1f MB and %.1f MB)\n", recordset100k / 1024.0, recordset1m / 1024.0);
  std::error_code ignored;
  std::filesystem::remove_all(OutputFolder(), ignored);
}
}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(RatioReporter::Clock::Real, PrintSummary);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  return 0;
}
