// The result grid's two cell stores on the benchmark table, in one run:
//  - memory: the heap the grid takes beside its recordset after Execute's fill, with its data
//    rows made from the recordset (what the program does) against cells copied into the grid
//    (the peer: how the grid held results before);
//  - painting one screen, scrolling to the last row and painting again, with the rows made
//    afresh each time, for 1,000 and for 1,000,000 rows: the time must not grow with the rows.
// Heap use is read from the allocator (mallinfo2), so it counts every block's overhead too.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "bench/common/RatioReporter.h"
#include "data/DbRecordset.h"
#include "data/ado/Recordset.h"
#include "grid/db/DbGridCtrl.h"

namespace {

const char* StorageName(DbGridStorage storage) {
  return storage == DbGridStorage::Recordset ? "recordset cells" : "owned cells";
}

std::size_t HeapBytes() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

std::unique_ptr<CDbGridCtrl> OpenGrid(DbGridStorage storage, long rows) {
  auto grid = std::make_unique<CDbGridCtrl>(nullptr, storage);
  grid->Initialize();
  grid->resize(1000, 700);
  grid->show();
  const std::string sql = "SELECT * FROM BigTable LIMIT " + std::to_string(rows);
  if (!grid->OpenRecordset(std::string("Provider=SQLite;Data Source=") + QELVO_BENCH_DB, sql)) return nullptr;
  grid->Update(true);
  return grid;
}

struct Figures {
  std::size_t recordsetBytes = 0;
  std::map<DbGridStorage, std::size_t> gridBytes;
  long rows = 0;
} figures;

// Heap after the fill, less the heap before and the recordset's rows.
void BM_ResultGridMemory(benchmark::State& state) {
  const auto storage = static_cast<DbGridStorage>(state.range(0));
  for (auto _ : state) {
    malloc_trim(0);
    const std::size_t before = HeapBytes();
    std::unique_ptr<CDbGridCtrl> grid = OpenGrid(storage, 1'000'000);
    if (!grid) {
      state.SkipWithError("the benchmark table could not be read");
      return;
    }
    QApplication::processEvents();
    const std::size_t after = HeapBytes();
    const std::size_t recordset = AdoRecordsetOf(*grid->GetRecordset())->MemoryBytes();
    figures.recordsetBytes = recordset;
    figures.rows = grid->GetRowCount() - grid->GetFirstDataRow();
    figures.gridBytes[storage] = after > before + recordset ? after - before - recordset : 0;
  }
}
BENCHMARK(BM_ResultGridMemory)
    ->Arg(static_cast<int>(DbGridStorage::OwnedCells))
    ->Arg(static_cast<int>(DbGridStorage::Recordset))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void BM_ResultGridPaintAndScroll(benchmark::State& state) {
  const long rows = state.range(0);
  std::unique_ptr<CDbGridCtrl> grid = OpenGrid(DbGridStorage::Recordset, rows);
  if (!grid) {
    state.SkipWithError("the benchmark table could not be read");
    return;
  }
  QImage image(grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  const int last = grid->GetRowCount() - 1;
  const int lastCol = grid->GetColumnCount() - 1;
  for (auto _ : state) {
    grid->Update(false);  // every row is made again from the recordset
    grid->viewport()->render(&image);
    grid->EnsureVisible(last, lastCol);
    grid->viewport()->render(&image);
    grid->EnsureVisible(grid->GetFirstDataRow(), 1);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_ResultGridPaintAndScroll)->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

void PrintSummary(const RatioReporter& times) {
  times.Ratio("BM_ResultGridPaintAndScroll/1000000", "BM_ResultGridPaintAndScroll/1000",
              "result grid paint+scroll, 1,000,000 rows / 1,000 rows", 2.0);
  std::printf("memory: %ld rows, recordset %.1f MB\n", figures.rows, figures.recordsetBytes / 1e6);
  for (const auto& [storage, bytes] : figures.gridBytes)
    std::printf("memory: grid with %s %.1f MB beside it (%.2f bytes a row)\n", StorageName(storage), bytes / 1e6,
                figures.rows > 0 ? static_cast<double>(bytes) / static_cast<double>(figures.rows) : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(RatioReporter::Clock::Real, PrintSummary);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  return 0;
}
