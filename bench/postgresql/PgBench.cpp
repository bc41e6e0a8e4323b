// The native PostgreSQL provider on the million-row table, in one run:
//  - open with the client cursor and read every value through the provider,
//  - psql -At -c with its output to /dev/null, the peer to beat,
//  - the same query through bare libpq in single-row mode, its values as text and as binary, to
//    show what the transfer format costs,
//  - the provider's open and walk alone in a process of its own, for the peak memory against the
//    rows the recordset holds.
// Repetitions are interleaved so that the machine's other work weighs on all of them alike; wall
// time is compared, since psql runs as a child process and the server does part of the work.
//
// Needs a PostgreSQL server: QELVO_TEST_PG holds its ODBC connection string (scripts/servers.sh
// writes it into env.sh), from which the native string is made. The table BigTable is made there
// on first use.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/common/DatabaseBench.h"
#include "bench/common/PeerRun.h"
#include "bench/common/RatioReporter.h"
#include "bench/common/RecordsetWalk.h"
#include "data/ado/Connection.h"
#include "data/ado/ConnectionString.h"
#include "data/ado/Recordset.h"

extern char** environ;

namespace {
ado::ConnectionString Odbc() {
  const char* text = std::getenv("QELVO_TEST_PG");
  return ado::ConnectionString::Parse(text ? text : "");
}

std::string Native() {
  return NativeString(Odbc(), "PostgreSQL", "5432");
}

std::string Libpq() {
  ado::ConnectionString c = Odbc();
  return "host=" + c.Get("SERVER").value_or("127.0.0.1") + " port=" + c.Get("PORT").value_or("5432") +
         " dbname=" + c.Get("DATABASE").value_or("") + " user=" + c.Get("UID").value_or("") +
         " password=" + c.Get("PWD").value_or("");
}

ado::ConnectionPtr& Connection() {
  static ado::ConnectionPtr connection = OpenConnection(Native());
  return connection;
}

// Opens the table with the client cursor and reads every value; the bytes the rows hold.
std::size_t OpenAndWalk() {
  return WalkClientCursor(Connection(), kBigTableQuery);
}

// The query through libpq alone, one row at a time, each value touched in the given format.
void BareLibpq(benchmark::State& state, int format) {
  PGconn* c = PQconnectdb(Libpq().c_str());
  if (PQstatus(c) != CONNECTION_OK) state.SkipWithError("libpq did not connect");
  for (auto _ : state) {
    PQsendQueryParams(c, kBigTableQuery, 0, nullptr, nullptr, nullptr, nullptr, format);
    PQsetSingleRowMode(c);
    std::size_t bytes = 0;
    while (PGresult* r = PQgetResult(c)) {
      if (PQresultStatus(r) == PGRES_SINGLE_TUPLE)
        for (int i = 0; i < 8; ++i) bytes += PQgetisnull(r, 0, i) ? 0 : static_cast<std::size_t>(PQgetlength(r, 0, i));
      PQclear(r);
    }
    benchmark::DoNotOptimize(bytes);
  }
  PQfinish(c);
}
void BareLibpqText(benchmark::State& state) {
  BareLibpq(state, 0);
}
void BareLibpqBinary(benchmark::State& state) {
  BareLibpq(state, 1);
}

std::map<std::string, long> peaks;
std::size_t heldBytes = 0;

void ProviderClientCursor(benchmark::State& state) {
  for (auto _ : state) heldBytes = OpenAndWalk();
}

void PsqlToDevNull(benchmark::State& state) {
  TimePsql(state, Odbc(), peaks["psql"]);
}

// The provider's open and walk in a fresh process: its peak is the provider's alone.
void ProviderProcess(benchmark::State& state) {
  TimePeer(state, {"/proc/self/exe", "--walk-once"}, environ, peaks["provider"], "the walk failed");
}

// A process that has only started: what the libraries take before any row.
void EmptyProcess(benchmark::State& state) {
  TimePeer(state, {"/proc/self/exe", "--connect-only"}, environ, peaks["empty"], nullptr);
}

BENCHMARK(ProviderClientCursor)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(PsqlToDevNull)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(BareLibpqText)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(BareLibpqBinary)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(ProviderProcess)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1)->UseRealTime();
BENCHMARK(EmptyProcess)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(1)->UseRealTime();

void PrintSummary(const RatioReporter& times) {
  std::printf("median wall time: provider %.0f ms, psql %.0f ms, bare libpq text %.0f ms, binary %.0f ms\n",
              times.Time("ProviderClientCursor"), times.Time("PsqlToDevNull"), times.Time("BareLibpqText"),
              times.Time("BareLibpqBinary"));
  times.Ratio("ProviderClientCursor", "PsqlToDevNull", "open+walk (client cursor) / psql -At > /dev/null", 1.0);
  times.Ratio("BareLibpqBinary", "BareLibpqText", "bare libpq binary / text transfer", 0);
  std::printf(
      "memory: rows held by the recordset %.1f MB; peak of a process that opened and walked them %.1f MB (%.2fx, "
      "target 1.2x); of one that only connected %.1f MB, so the rows cost %.2fx what they hold; peak of psql %.1f "
      "MB\n",
      heldBytes / 1e6, peaks["provider"] / 1e6, heldBytes ? static_cast<double>(peaks["provider"]) / heldBytes : 0.0,
      peaks["empty"] / 1e6, heldBytes ? static_cast<double>(peaks["provider"] - peaks["empty"]) / heldBytes : 0.0,
      peaks["psql"] / 1e6);
}
}  // namespace

int main(int argc, char** argv) {
  if (IsPeakOf(argc, argv)) return PeakOf(argv);
  if (argc >= 2 && std::string(argv[1]) == "--walk-once") return OpenAndWalk() > 0 ? 0 : 1;
  if (argc >= 2 && std::string(argv[1]) == "--connect-only")
    return Connection()->GetState() == ado::adStateOpen ? 0 : 1;
  if (!std::getenv("QELVO_TEST_PG")) {
    std::printf(
        "bench_pg: no PostgreSQL server. Start one with scripts/servers.sh start DIR and source DIR/env.sh (it sets "
        "QELVO_TEST_PG).\n");
    return 0;
  }
  RunInterleaved(
      argc, argv, [] { EnsureBigTable(Connection(), kPostgresBigTable, "PostgreSQL"); }, PrintSummary);
  return 0;
}
