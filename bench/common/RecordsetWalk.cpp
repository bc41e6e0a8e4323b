#include "bench/common/RecordsetWalk.h"

#include <benchmark/benchmark.h>

#include "data/ado/Recordset.h"

std::size_t WalkClientCursor(const ado::ConnectionPtr& connection, const char* query) {
  ado::RecordsetPtr rs;
  rs.CreateInstance();
  rs->PutCursorLocation(ado::adUseClient);
  rs->Open(query, connection, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText);
  long fields = rs->GetFields()->GetCount();
  std::size_t bytes = 0;
  while (!rs->GetEOF()) {
    for (long i = 0; i < fields; ++i) {
      ado::Variant v = rs->GetCollect(i);
      bytes += v.vt() == ado::VT_BSTR ? v.Str().size() : 1;
    }
    rs->MoveNext();
  }
  benchmark::DoNotOptimize(bytes);
  std::size_t held = rs->MemoryBytes();
  rs->Close();
  return held;
}
