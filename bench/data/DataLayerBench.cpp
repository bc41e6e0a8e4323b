// The data layer against raw libsqlite3 on the million-row table, in one run:
//  - open with the client cursor and read every value, against a sqlite3_step loop;
//  - Sort by a text column, against ORDER BY stepped to the end;
//  - Filter with a LIKE prefix and an integer equality, against the same WHERE.
// Prints each ratio (ours / peer) and the memory the open recordset holds against the size of
// the same rows written as CSV.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bench/common/RatioReporter.h"
#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "data/ado/Recordset.h"

namespace {
const char* const kQuery = "SELECT ID, Name, City, Qty, Price, Ratio, Created, Active FROM BigTable";
const std::string kConnection = std::string("Provider=SQLite;Data Source=") + QELVO_BENCH_DB;

sqlite3* RawDb() {
  static sqlite3* db = [] {
    sqlite3* d = nullptr;
    sqlite3_open_v2(QELVO_BENCH_DB, &d, SQLITE_OPEN_READONLY, nullptr);
    return d;
  }();
  return db;
}

DbConnection& Connection() {
  static DbConnection* c = [] {
    auto* conn = new DbConnection;
    conn->Open(kConnection, "", "");
    return conn;
  }();
  return *c;
}

// Steps a query to its end, touching every column as a reader of its values would.
std::size_t StepAll(const char* sql) {
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(RawDb(), sql, -1, &s, nullptr);
  std::size_t bytes = 0;
  int columns = sqlite3_column_count(s);
  while (sqlite3_step(s) == SQLITE_ROW) {
    for (int c = 0; c < columns; ++c) {
      switch (sqlite3_column_type(s, c)) {
        case SQLITE_INTEGER:
          bytes += static_cast<std::size_t>(sqlite3_column_int64(s, c) & 1);
          break;
        case SQLITE_FLOAT:
          bytes += sqlite3_column_double(s, c) > 0.5 ? 1 : 0;
          break;
        case SQLITE_TEXT:
          bytes += static_cast<std::size_t>(sqlite3_column_bytes(s, c));
          break;
        default:
          break;
      }
    }
  }
  sqlite3_finalize(s);
  return bytes;
}

std::size_t CsvBytes() {
  sqlite3_stmt* s = nullptr;
  sqlite3_prepare_v2(RawDb(), kQuery, -1, &s, nullptr);
  std::size_t bytes = 0;
  int columns = sqlite3_column_count(s);
  while (sqlite3_step(s) == SQLITE_ROW) {
    for (int c = 0; c < columns; ++c) {
      bytes += static_cast<std::size_t>(sqlite3_column_bytes(s, c)) + 1;  // value and separator
      const unsigned char* t = sqlite3_column_text(s, c);
      if (t && std::strpbrk(reinterpret_cast<const char*>(t), ",\"\r\n")) bytes += 2;
    }
    bytes += 1;  // the line end beyond the last separator
  }
  sqlite3_finalize(s);
  return bytes;
}

void WalkSqlite(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(StepAll(kQuery));
}

std::size_t heldBytes = 0;

void WalkQelvo(benchmark::State& state) {
  RecordsetCursorLocation = 3;
  for (auto _ : state) {
    DbRecordset rs;
    rs.Open(&Connection(), kQuery);
    long fields = rs.GetFieldCount();
    std::size_t bytes = 0;
    while (!rs.IsEOF()) {
      for (long i = 0; i < fields; ++i) {
        ado::Variant v = rs.GetFieldVariantIdx(i);
        bytes += v.vt() == ado::VT_BSTR ? v.Str().size() : 1;
      }
      rs.MoveNext();
    }
    benchmark::DoNotOptimize(bytes);
    heldBytes = AdoRecordsetOf(rs)->MemoryBytes();
    rs.Close();
  }
}

void SortSqlite(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(
        StepAll("SELECT ID, Name, City, Qty, Price, Ratio, Created, Active "
                "FROM BigTable ORDER BY Name"));
}

void FilterSqlite(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(
        StepAll("SELECT ID, Name, City, Qty, Price, Ratio, Created, Active FROM BigTable "
                "WHERE Name LIKE 'Customer 1%' AND Qty = 1500"));
}

DbRecordset& OpenRecordset() {
  static DbRecordset* rs = [] {
    RecordsetCursorLocation = 3;
    auto* r = new DbRecordset;
    r->Open(&Connection(), kQuery);
    return r;
  }();
  return *rs;
}

void SortQelvo(benchmark::State& state) {
  DbRecordset& rs = OpenRecordset();
  for (auto _ : state) {
    rs.Sort("[Name] ASC");
    state.PauseTiming();
    rs.Sort("");
    state.ResumeTiming();
  }
}

void FilterQelvo(benchmark::State& state) {
  DbRecordset& rs = OpenRecordset();
  for (auto _ : state) {
    rs.Filter("Name LIKE 'Customer 1%' AND Qty = 1500");
    benchmark::DoNotOptimize(rs.GetRecordCount());
    state.PauseTiming();
    rs.Filter(nullptr);
    state.ResumeTiming();
  }
}

BENCHMARK(WalkSqlite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(WalkQelvo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(SortSqlite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(SortQelvo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(FilterSqlite)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(FilterQelvo)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void PrintSummary(const RatioReporter& times) {
  times.Ratio("WalkQelvo", "WalkSqlite", "open+walk (client cursor) / sqlite3_step", 2.0);
  times.Ratio("SortQelvo", "SortSqlite", "Sort by text / ORDER BY", 1.0);
  times.Ratio("FilterQelvo", "FilterSqlite", "Filter LIKE + = / WHERE", 1.0);
  if (heldBytes == 0) return;  // the walk was filtered out
  const double csv = static_cast<double>(CsvBytes());
  std::printf("memory held by the open recordset: %.1f MB, rows as CSV: %.1f MB, ratio %.2f (target <= 2.0)\n",
              heldBytes / 1e6, csv / 1e6, heldBytes / csv);
}
}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // CPU time: the ratio must not depend on what else the machine runs meanwhile.
  RatioReporter reporter(RatioReporter::Clock::Cpu, PrintSummary);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  return 0;
}
