#include "bench/common/DatabaseBench.h"

#include <cstdio>
#include <vector>

#include "bench/common/PeerRun.h"
#include "data/ado/ComError.h"
#include "data/ado/Recordset.h"

const char* const kBigTableQuery = "SELECT ID, Name, City, Qty, Price, Ratio, Created, Active FROM BigTable";

const char* const kPostgresBigTable =
    "DROP TABLE IF EXISTS BigTable; "
    "CREATE TABLE BigTable (ID INTEGER PRIMARY KEY, Name VARCHAR(40) NOT NULL, City VARCHAR(30), Qty INTEGER NOT "
    "NULL, Price DECIMAL(10,2), Ratio REAL, Created TIMESTAMP, Active BOOLEAN); "
    "INSERT INTO BigTable SELECT i, 'Customer ' || ((i::bigint * 7919) % 1000003), CASE i % 7 WHEN 0 THEN 'Dublin' "
    "WHEN 1 THEN 'Milano' WHEN 2 THEN 'Paris' WHEN 3 THEN 'London' WHEN 4 THEN 'Osaka' WHEN 5 THEN NULL ELSE "
    "'Zürich' END, (i * 31) % 5000, ((i::bigint * 17) % 100000) / 100.0, (i % 1000) / 7.0, TIMESTAMP '2003-01-01' + "
    "(i % 7000) * INTERVAL '1 day' + (i % 86400) * INTERVAL '1 second', i % 3 <> 0 "
    "FROM generate_series(1, 1000000) AS i; ANALYZE BigTable";

ado::ConnectionPtr OpenConnection(const std::string& text) {
  ado::ConnectionPtr c;
  c.CreateInstance();
  c->Open(text, "", "");
  return c;
}

std::string NativeString(const ado::ConnectionString& odbc, const char* provider, const char* defaultPort) {
  ado::ConnectionString native;
  native.Set("Provider", provider);
  native.Set("Host", odbc.Get("SERVER").value_or("127.0.0.1"));
  native.Set("Port", odbc.Get("PORT").value_or(defaultPort));
  native.Set("Database", odbc.Get("DATABASE").value_or(""));
  native.Set("User ID", odbc.Get("UID").value_or(""));
  native.Set("Password", odbc.Get("PWD").value_or(""));
  return native.ToString();
}

void EnsureBigTable(const ado::ConnectionPtr& connection, const char* load, const char* server) {
  ado::RecordsetPtr rs;
  rs.CreateInstance();
  try {
    rs->Open("SELECT COUNT(*) FROM BigTable", connection, ado::adOpenKeyset, ado::adLockReadOnly, ado::adCmdText);
    if (rs->GetCollect(0L).ToInt64() == 1000000) return;
  } catch (const ado::ComError&) {
  }
  std::printf("loading 1,000,000 rows into %s's BigTable...\n", server);
  std::fflush(stdout);
  connection->Execute(load);
}

void RunInterleaved(int argc, char** argv, const std::function<void()>& prepare, RatioReporter::Summary summary) {
  std::vector<char*> args(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  args.push_back(interleave.data());
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  prepare();
  RatioReporter reporter(RatioReporter::Clock::Real, std::move(summary));
  benchmark::RunSpecifiedBenchmarks(&reporter);
}

void TimePsql(benchmark::State& state, const ado::ConnectionString& c, long& peak) {
  ChildEnvironment env("PGPASSWORD=" + c.Get("PWD").value_or(""));
  TimePeer(state,
           {"psql", "-X", "-At", "-h", c.Get("SERVER").value_or("127.0.0.1"), "-p", c.Get("PORT").value_or("5432"),
            "-U", c.Get("UID").value_or(""), "-d", c.Get("DATABASE").value_or(""), "-c", kBigTableQuery},
           env.Get(), peak, "psql failed");
}
