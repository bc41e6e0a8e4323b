// The ODBC provider on the million-row table loaded into PostgreSQL, in one run:
//  - open with the client cursor and read every value through the provider,
//  - unixODBC's isql fetching the same query through the same driver and connection string,
//  - psql -At -c with its output to /dev/null.
// A fourth run, the bare driver (SQLExecDirect and block fetches into bound buffers, values left
// untouched), shows what the provider itself adds. Repetitions are interleaved, so that the machine's other work weighs
// on all of them alike; wall time is compared, since the peers run as child processes and the server does part of the
// work for all three. Prints the ratios and the memory each side took.
//
// Needs a PostgreSQL server: QELVO_TEST_PG holds its ODBC connection string (scripts/servers.sh
// writes it into env.sh). The table BigTable is made there on first use.
#include <benchmark/benchmark.h>
#include <sql.h>
#include <sqlext.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/common/DatabaseBench.h"
#include "bench/common/PeerRun.h"
#include "bench/common/RatioReporter.h"
#include "bench/common/RecordsetWalk.h"
#include "data/ado/Connection.h"
#include "data/ado/ConnectionString.h"

extern char** environ;

namespace {
std::string Odbc() {
  const char* text = std::getenv("QELVO_TEST_PG");
  return text ? text : "";
}

ado::ConnectionPtr& Connection() {
  static ado::ConnectionPtr connection = OpenConnection(Odbc());
  return connection;
}

// The same query through the bare driver: bound buffers of the C types the provider uses, block
// fetches, nothing done with the values.
void BareDriver(benchmark::State& state) {
  SQLHENV env = nullptr;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLHDBC dbc = nullptr;
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  std::string text = Odbc();
  if (!SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS, nullptr, 0,
                                      nullptr, SQL_DRIVER_NOPROMPT)))
    state.SkipWithError("the driver did not connect");
  const SQLSMALLINT types[8] = {SQL_C_SBIGINT, SQL_C_WCHAR, SQL_C_WCHAR, SQL_C_SBIGINT,
                                SQL_C_CHAR,    SQL_C_FLOAT, SQL_C_CHAR,  SQL_C_BIT};
  const SQLLEN sizes[8] = {8, 162, 122, 8, 46, 4, 48, 1};
  constexpr SQLULEN kRows = 256;
  std::vector<std::vector<char>> buffers(8);
  std::vector<std::vector<SQLLEN>> indicators(8);
  for (auto _ : state) {
    SQLHSTMT stmt = nullptr;
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
    SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(kBigTableQuery)), SQL_NTS);
    SQLULEN fetched = 0;
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kRows), 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
    for (int i = 0; i < 8; ++i) {
      buffers[i].assign(static_cast<std::size_t>(sizes[i]) * kRows, 0);
      indicators[i].assign(kRows, 0);
      SQLBindCol(stmt, static_cast<SQLUSMALLINT>(i + 1), types[i], buffers[i].data(), sizes[i], indicators[i].data());
    }
    long rows = 0;
    while (SQL_SUCCEEDED(SQLFetch(stmt))) rows += static_cast<long>(fetched);
    benchmark::DoNotOptimize(rows);
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  }
  SQLDisconnect(dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
}

std::map<std::string, long> peaks;
std::size_t heldBytes = 0;
long providerPeak = 0;

void ProviderClientCursor(benchmark::State& state) {
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  for (auto _ : state) {
    heldBytes = WalkClientCursor(Connection(), kBigTableQuery);
  }
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  providerPeak = after.ru_maxrss * 1024L;
}

std::string QueryFile() {
  static std::string path = [] {
    std::string file = TemporaryFile("/tmp/qelvo-bench-odbc-");
    std::ofstream(file) << kBigTableQuery << '\n';
    return file;
  }();
  return path;
}

void IsqlSameDriver(benchmark::State& state) {
  TimePeer(state, {"isql", "-k", Odbc(), "-b", "-d|"}, environ, peaks["isql"], "isql failed", QueryFile());
}

void PsqlToDevNull(benchmark::State& state) {
  TimePsql(state, ado::ConnectionString::Parse(Odbc()), peaks["psql"]);
}

BENCHMARK(BareDriver)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(ProviderClientCursor)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(IsqlSameDriver)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(PsqlToDevNull)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();

void PrintSummary(const RatioReporter& times) {
  std::printf("median wall time: provider %.0f ms, bare driver %.0f ms, isql %.0f ms, psql %.0f ms\n",
              times.Time("ProviderClientCursor"), times.Time("BareDriver"), times.Time("IsqlSameDriver"),
              times.Time("PsqlToDevNull"));
  times.Ratio("ProviderClientCursor", "IsqlSameDriver", "open+walk (client cursor) / isql, same driver", 1.2);
  times.Ratio("ProviderClientCursor", "PsqlToDevNull", "open+walk (client cursor) / psql -At > /dev/null", 2.0);
  times.Ratio("ProviderClientCursor", "BareDriver", "open+walk (client cursor) / bare driver fetch", 0);
  std::printf(
      "memory: rows held by the recordset %.1f MB; peak of this process %.1f MB (psqlODBC's own copy of the "
      "result included); peak of isql %.1f MB; peak of psql %.1f MB\n",
      heldBytes / 1e6, providerPeak / 1e6, peaks["isql"] / 1e6, peaks["psql"] / 1e6);
}
}  // namespace

int main(int argc, char** argv) {
  if (IsPeakOf(argc, argv)) return PeakOf(argv);
  if (Odbc().empty()) {
    std::printf(
        "bench_odbc: no PostgreSQL server. Start one with scripts/servers.sh start DIR and source "
        "DIR/env.sh (it sets QELVO_TEST_PG).\n");
    return 0;
  }
  RunInterleaved(
      argc, argv, [] { EnsureBigTable(Connection(), kPostgresBigTable, "PostgreSQL"); }, PrintSummary);
  unlink(QueryFile().c_str());
  return 0;
}
