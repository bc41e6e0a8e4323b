// The native MariaDB provider on the million-row table loaded into MariaDB, in one run:
//  - open with the client cursor and read every value through the provider,
//  - the mariadb client, `mariadb --batch --quick` with its output to /dev/null,
//  - the ODBC provider on the same server, for comparison,
//  - the bare client library, text protocol (mysql_use_result, values untouched) and binary
//    protocol (a prepared statement streamed into bound buffers): what the provider adds, and
//    which transfer is the cheaper one.
// Repetitions are interleaved; wall time is compared, since the peer runs as a child process and
// the server does part of the work for all. Memory: a child process of this program opens and
// walks the table with the native provider alone, and its peak is set against the bytes of the
// rows its recordset holds.
//
// Needs a MariaDB server: QELVO_TEST_MARIADB holds its ODBC connection string (scripts/servers.sh
// writes it into env.sh). The table BigTable is made there on first use.
#include <benchmark/benchmark.h>
#include <mysql.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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
// The rows of sample/big_table.sql, made by MariaDB itself.
const char* const kLoad =
    "DROP TABLE IF EXISTS BigTable; "
    "CREATE TABLE BigTable (ID INTEGER PRIMARY KEY, Name VARCHAR(40) NOT NULL, City VARCHAR(30), Qty INTEGER NOT "
    "NULL, Price DECIMAL(10,2), Ratio FLOAT, Created DATETIME, Active BOOLEAN) CHARACTER SET utf8mb4; "
    "INSERT INTO BigTable SELECT seq, CONCAT('Customer ', (seq * 7919) % 1000003), CASE seq % 7 WHEN 0 THEN "
    "'Dublin' WHEN 1 THEN 'Milano' WHEN 2 THEN 'Paris' WHEN 3 THEN 'London' WHEN 4 THEN 'Osaka' WHEN 5 THEN NULL "
    "ELSE 'Zürich' END, (seq * 31) % 5000, ((seq * 17) % 100000) / 100.0, (seq % 1000) / 7.0, TIMESTAMP "
    "'2003-01-01 00:00:00' + INTERVAL (seq % 7000) DAY + INTERVAL (seq % 86400) SECOND, seq % 3 <> 0 FROM "
    "seq_1_to_1000000; ANALYZE TABLE BigTable";

std::string Odbc() {
  const char* text = std::getenv("QELVO_TEST_MARIADB");
  return text ? text : "";
}

ado::ConnectionString Server() {
  return ado::ConnectionString::Parse(Odbc());
}

std::string Native() {
  return NativeString(Server(), "MariaDB", "3306");
}

ado::ConnectionPtr& NativeConnection() {
  static ado::ConnectionPtr connection = OpenConnection(Native());
  return connection;
}

ado::ConnectionPtr& OdbcConnection() {
  static ado::ConnectionPtr connection = OpenConnection(Odbc());
  return connection;
}

// "--walk-native FILE": the native provider's walk alone in this process; writes the bytes the
// recordset held.
int WalkNative(char** argv) {
  WriteNumber(argv[2], static_cast<long>(WalkClientCursor(NativeConnection(), kBigTableQuery)));
  return 0;
}

MYSQL* BareConnect() {
  ado::ConnectionString c = Server();
  MYSQL* m = mysql_init(nullptr);
  mysql_options(m, MYSQL_SET_CHARSET_NAME, "utf8mb4");
  if (!mysql_real_connect(m, c.Get("SERVER").value_or("127.0.0.1").c_str(), c.Get("UID").value_or("").c_str(),
                          c.Get("PWD").value_or("").c_str(), c.Get("DATABASE").value_or("").c_str(),
                          static_cast<unsigned>(std::stoi(c.Get("PORT").value_or("3306"))), nullptr, 0)) {
    mysql_close(m);
    return nullptr;
  }
  return m;
}

void BareTextProtocol(benchmark::State& state) {
  MYSQL* m = BareConnect();
  if (!m) return state.SkipWithError("no connection");
  for (auto _ : state) {
    mysql_real_query(m, kBigTableQuery, std::strlen(kBigTableQuery));
    MYSQL_RES* result = mysql_use_result(m);
    long rows = 0;
    while (MYSQL_ROW row = mysql_fetch_row(result)) {
      benchmark::DoNotOptimize(row);
      ++rows;
    }
    mysql_free_result(result);
    benchmark::DoNotOptimize(rows);
  }
  mysql_close(m);
}

void BareBinaryProtocol(benchmark::State& state) {
  MYSQL* m = BareConnect();
  if (!m) return state.SkipWithError("no connection");
  for (auto _ : state) {
    MYSQL_STMT* stmt = mysql_stmt_init(m);
    mysql_stmt_prepare(stmt, kBigTableQuery, std::strlen(kBigTableQuery));
    mysql_stmt_execute(stmt);
    // Bound as the provider would bind them: integers, a float, texts, a time.
    long long id = 0, qty = 0, active = 0;
    float ratio = 0;
    char name[161], city[121], price[16];
    MYSQL_TIME created{};
    unsigned long lengths[8] = {};
    my_bool nulls[8] = {};
    MYSQL_BIND binds[8];
    std::memset(binds, 0, sizeof binds);
    auto bind = [&](int i, enum_field_types type, void* buffer, unsigned long size) {
      binds[i].buffer_type = type;
      binds[i].buffer = buffer;
      binds[i].buffer_length = size;
      binds[i].length = &lengths[i];
      binds[i].is_null = &nulls[i];
    };
    bind(0, MYSQL_TYPE_LONGLONG, &id, 8);
    bind(1, MYSQL_TYPE_STRING, name, sizeof name);
    bind(2, MYSQL_TYPE_STRING, city, sizeof city);
    bind(3, MYSQL_TYPE_LONGLONG, &qty, 8);
    bind(4, MYSQL_TYPE_STRING, price, sizeof price);
    bind(5, MYSQL_TYPE_FLOAT, &ratio, 4);
    bind(6, MYSQL_TYPE_DATETIME, &created, sizeof created);
    bind(7, MYSQL_TYPE_LONGLONG, &active, 8);
    mysql_stmt_bind_result(stmt, binds);
    long rows = 0;
    while (mysql_stmt_fetch(stmt) == 0) ++rows;
    benchmark::DoNotOptimize(rows);
    mysql_stmt_close(stmt);
  }
  mysql_close(m);
}

std::map<std::string, long> peaks;
std::size_t heldBytes = 0;

void NativeClientCursor(benchmark::State& state) {
  for (auto _ : state) heldBytes = WalkClientCursor(NativeConnection(), kBigTableQuery);
}

void OdbcClientCursor(benchmark::State& state) {
  for (auto _ : state) WalkClientCursor(OdbcConnection(), kBigTableQuery);
}

void MariadbQuickToDevNull(benchmark::State& state) {
  ado::ConnectionString c = Server();
  ChildEnvironment env("MYSQL_PWD=" + c.Get("PWD").value_or(""));
  TimePeer(state,
           {"mariadb", "--no-defaults", "--batch", "--quick", "-h", c.Get("SERVER").value_or("127.0.0.1"), "-P",
            c.Get("PORT").value_or("3306"), "-u", c.Get("UID").value_or(""), c.Get("DATABASE").value_or(""), "-e",
            kBigTableQuery},
           env.Get(), peaks["mariadb"], "mariadb failed");
}

BENCHMARK(NativeClientCursor)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(MariadbQuickToDevNull)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(OdbcClientCursor)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BareTextProtocol)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(BareBinaryProtocol)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();

void PrintSummary(const RatioReporter& times) {
  std::printf(
      "median wall time: native provider %.0f ms, mariadb --batch --quick %.0f ms, ODBC provider %.0f ms, bare "
      "text protocol %.0f ms, bare binary protocol %.0f ms\n",
      times.Time("NativeClientCursor"), times.Time("MariadbQuickToDevNull"), times.Time("OdbcClientCursor"),
      times.Time("BareTextProtocol"), times.Time("BareBinaryProtocol"));
  times.Ratio("NativeClientCursor", "MariadbQuickToDevNull", "open+walk (client cursor) / mariadb --batch --quick",
              1.0);
  times.Ratio("NativeClientCursor", "OdbcClientCursor", "native provider / ODBC provider, same server", 0);
  times.Ratio("NativeClientCursor", "BareTextProtocol", "native provider / bare text-protocol fetch", 0);
  times.Ratio("BareBinaryProtocol", "BareTextProtocol", "bare binary protocol / bare text protocol", 0);
  // The native walk alone in a child process of its own, for its peak.
  const std::string heldFile = TemporaryFile("/tmp/qelvo-bench-held-");
  ChildRun walk = RunQuiet({"/proc/self/exe", "--walk-native", heldFile}, environ);
  const std::size_t held = static_cast<std::size_t>(ReadNumber(heldFile));
  unlink(heldFile.c_str());
  if (walk.status == 0 && held > 0) {
    const double ratio = static_cast<double>(walk.peakBytes) / static_cast<double>(held);
    std::printf("ratio %-52s %6.2f  (target <= 1.2) %s\n", "peak memory of the process / rows held (native)", ratio,
                ratio <= 1.2 ? "ok" : "OVER");
  }
  std::printf(
      "memory: rows held by the recordset %.1f MB; peak of a process that only walks them natively %.1f MB; peak "
      "of the mariadb client %.1f MB\n",
      held / 1e6, walk.peakBytes / 1e6, peaks["mariadb"] / 1e6);
}
}  // namespace

int main(int argc, char** argv) {
  if (IsPeakOf(argc, argv)) return PeakOf(argv);
  if (Odbc().empty()) {
    std::printf(
        "bench_mariadb: no MariaDB server. Start one with scripts/servers.sh start DIR and source "
        "DIR/env.sh (it sets QELVO_TEST_MARIADB).\n");
    return 0;
  }
  if (argc >= 3 && std::string(argv[1]) == "--walk-native") return WalkNative(argv);
  RunInterleaved(
      argc, argv, [] { EnsureBigTable(NativeConnection(), kLoad, "MariaDB"); }, PrintSummary);
  return 0;
}
