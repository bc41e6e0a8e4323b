#include "bench/common/DatabaseBench.h"

#include <cstdio>
#include <vector>

#include "data/ado/ComError.h"
#include "data/ado/Recordset.h"

ado::ConnectionPtr OpenConnection(const std::string& text) {
  ado::ConnectionPtr c;
  c.CreateInstance();
  c->Open(text, "", "");
  return c;
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
