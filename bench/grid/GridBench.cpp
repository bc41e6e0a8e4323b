// The grid control against its floor, in one run:
//  - filling a 1,000,000 x 8 grid with texts (SetCellText), against a std::vector<std::string>
//    filled with the same texts: time, and heap bytes per cell beyond the texts' own bytes;
//  - the same rows as a result grid holds them: column definitions of the typed kinds (integer,
//    number, date, check box) laid on the rows, and the values stored into the compact cells;
//  - painting one screen and scrolling to the end and painting again, for 1,000 and for
//    1,000,000 rows: the time must not grow with the row count.
// Prints the ratios at the end. Heap use is read from the allocator (mallinfo2), so it counts
// every block's overhead too.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/RatioReporter.h"
#include "grid/GridCellCheckEx.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"
#include "grid/GridCtrl.h"
#include "grid/GridCtrlEx.h"

namespace {

constexpr int kRows = 1'000'000;
constexpr int kCols = 8;

// Texts like a query's: ids, names, towns, quantities, prices, ratios, timestamps, flags.
const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = [] {
    static const char* const towns[] = {"Rome", "Bern", "Oslo", "Lisbon", "Copenhagen", "Ljubljana"};
    std::vector<std::string> t;
    t.reserve(static_cast<std::size_t>(kRows) * kCols);
    char buffer[64];
    for (int r = 0; r < kRows; ++r) {
      t.push_back(std::to_string(r + 1));
      t.push_back("Customer " + std::to_string(r * 7 % 100000));
      t.push_back(towns[r % 6]);
      t.push_back(std::to_string(r % 1000));
      std::snprintf(buffer, sizeof buffer, "%d.%02d", r % 10000, r % 100);
      t.push_back(buffer);
      std::snprintf(buffer, sizeof buffer, "0.%06d", (r * 37) % 1000000);
      t.push_back(buffer);
      std::snprintf(buffer, sizeof buffer, "2024-%02d-%02d %02d:%02d:%02d", 1 + r % 12, 1 + r % 28, r % 24, r % 60,
                    (r * 7) % 60);
      t.push_back(buffer);
      t.push_back(r % 2 ? "1" : "0");
    }
    return t;
  }();
  return texts;
}

std::size_t TextBytes() {
  static const std::size_t bytes = [] {
    std::size_t n = 0;
    for (const std::string& s : Texts()) n += s.size();
    return n;
  }();
  return bytes;
}

std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

std::map<std::string, double> g_results;

void BM_FillGrid(benchmark::State& state) {
  const std::vector<std::string>& texts = Texts();
  double perCell = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::size_t before = HeapInUse();
    auto grid = std::make_unique<CGridCtrl>();
    grid->resize(800, 600);
    grid->SetColumnCount(kCols);
    state.ResumeTiming();
    grid->SetRowCount(kRows);
    std::size_t i = 0;
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < kCols; ++c) grid->SetCellText(r, c, texts[i++]);
    state.PauseTiming();
    const std::size_t used = HeapInUse() - before;
    perCell = (static_cast<double>(used) - static_cast<double>(TextBytes())) / (static_cast<double>(kRows) * kCols);
    benchmark::DoNotOptimize(grid->GetCellText(kRows - 1, kCols - 1));
    grid.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_cell_beyond_text"] = perCell;
  g_results["fill_grid_bytes"] = perCell;
}
BENCHMARK(BM_FillGrid)->Unit(benchmark::kMillisecond)->Iterations(3);

// The columns of Texts() with the kinds a database gives them; the texts of the two text columns
// count as the texts' bytes.
void BM_FillTypedGrid(benchmark::State& state) {
  const std::vector<std::string>& texts = Texts();
  static const int kinds[kCols] = {gctInteger,   gctText,      gctText, gctInteger,
                                   gctNumericEx, gctNumericEx, gctDate, gctCheckbox};
  std::vector<GridColumnDef> defs(kCols);
  for (int c = 0; c < kCols; ++c) defs[static_cast<std::size_t>(c)].kind = kinds[c];
  std::size_t textBytes = 0;
  for (int r = 0; r < kRows; ++r)
    textBytes +=
        texts[static_cast<std::size_t>(r) * kCols + 1].size() + texts[static_cast<std::size_t>(r) * kCols + 2].size();
  double perCell = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::size_t before = HeapInUse();
    auto grid = std::make_unique<CGridCtrlEx>();
    grid->resize(800, 600);
    grid->SetColumns(defs);
    grid->SetRowCount(1);
    grid->SetFixedRowCount(1);
    state.ResumeTiming();
    grid->SetRowCount(kRows + 1);
    grid->ApplyColumnDefsToRows(1, kRows);
    std::size_t i = 0;
    for (int r = 1; r <= kRows; ++r, i += kCols) {
      const int n = r - 1;
      grid->StoreCompactValue(r, 0, CGridCellInteger::ClassInfo(), CGridCellInteger::EncodeValue(n + 1));
      grid->StoreCellText(r, 1, texts[i + 1]);
      grid->StoreCellText(r, 2, texts[i + 2]);
      grid->StoreCompactValue(r, 3, CGridCellInteger::ClassInfo(), CGridCellInteger::EncodeValue(n % 1000));
      grid->StoreCompactValue(r, 4, CGridCellNumericEx::ClassInfo(),
                              CGridCellNumericEx::EncodeValue((n % 10000) + (n % 100) / 100.0));
      grid->StoreCompactValue(r, 5, CGridCellNumericEx::ClassInfo(),
                              CGridCellNumericEx::EncodeValue(((n * 37) % 1000000) / 1e6));
      grid->StoreCompactValue(
          r, 6, CGridCellDateTimeEx::ClassInfo(),
          CGridCellDateTimeEx::EncodeValue({2024, 1 + n % 12, 1 + n % 28, n % 24, n % 60, (n * 7) % 60},
                                           CGridCellDateTimeEx::Status::Valid));
      grid->StoreCompactValue(r, 7, CGridCellCheckEx::ClassInfo(), static_cast<std::uint64_t>(n % 2));
    }
    state.PauseTiming();
    const std::size_t used = HeapInUse() - before;
    perCell = (static_cast<double>(used) - static_cast<double>(textBytes)) / (static_cast<double>(kRows) * kCols);
    benchmark::DoNotOptimize(grid->GetCellText(kRows, kCols - 2));
    grid.reset();
    state.ResumeTiming();
  }
  state.counters["bytes_per_cell_beyond_text"] = perCell;
  g_results["fill_typed_bytes"] = perCell;
}
BENCHMARK(BM_FillTypedGrid)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FillVectorOfStrings(benchmark::State& state) {
  const std::vector<std::string>& texts = Texts();
  double perCell = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const std::size_t before = HeapInUse();
    state.ResumeTiming();
    std::vector<std::string> copy;
    copy.reserve(texts.size());
    for (const std::string& t : texts) copy.push_back(t);
    state.PauseTiming();
    const std::size_t used = HeapInUse() - before;
    perCell = (static_cast<double>(used) - static_cast<double>(TextBytes())) / static_cast<double>(texts.size());
    benchmark::DoNotOptimize(copy.back());
    copy = {};
    state.ResumeTiming();
  }
  state.counters["bytes_per_cell_beyond_text"] = perCell;
  g_results["fill_vector_bytes"] = perCell;
}
BENCHMARK(BM_FillVectorOfStrings)->Unit(benchmark::kMillisecond)->Iterations(3);

// One screen painted, then the view scrolled to the last row and painted again, then back.
void BM_PaintAndScroll(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  CGridCtrl grid(nullptr, rows, kCols, 1, 1);
  grid.resize(800, 600);
  grid.show();
  const std::vector<std::string>& texts = Texts();
  std::size_t i = 0;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < kCols; ++c) grid.StoreCellText(r, c, texts[i++]);
  grid.SetFocusCell(1, 1);
  QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    grid.viewport()->render(&image);
    grid.EnsureVisible(rows - 1, kCols - 1);
    grid.viewport()->render(&image);
    grid.EnsureVisible(1, 1);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_PaintAndScroll)->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

// Auto-sizing one column of a million rows, against measuring the same texts with the font's
// metrics directly (the floor: what any auto-size must do).
void BM_AutoSizeColumn(benchmark::State& state) {
  CGridCtrl grid(nullptr, kRows, kCols, 1, 1);
  const std::vector<std::string>& texts = Texts();
  for (int r = 0; r < kRows; ++r) grid.StoreCellText(r, 1, texts[static_cast<std::size_t>(r) * kCols + 1]);
  for (auto _ : state) benchmark::DoNotOptimize(grid.AutoSizeColumn(1));
}
BENCHMARK(BM_AutoSizeColumn)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_MeasureTexts(benchmark::State& state) {
  const std::vector<std::string>& texts = Texts();
  const QFontMetrics metrics(QApplication::font());
  for (auto _ : state) {
    int widest = 0;
    for (int r = 0; r < kRows; ++r)
      widest = std::max(
          widest, metrics.horizontalAdvance(QString::fromStdString(texts[static_cast<std::size_t>(r) * kCols + 1])));
    benchmark::DoNotOptimize(widest);
  }
}
BENCHMARK(BM_MeasureTexts)->Unit(benchmark::kMillisecond)->Iterations(2);

// Collects CPU times by benchmark name for the summary: the machine is shared, and wall time
// counts the other processes too.

}  // namespace

void PrintSummary(const RatioReporter& times) {
  std::printf("Summary\n");
  if (times.Time("BM_FillGrid/iterations:3") > 0 && times.Time("BM_FillVectorOfStrings/iterations:3") > 0)
    std::printf("  fill 1,000,000 x 8 texts: grid / vector<string> CPU time = %.2f\n",
                times.Time("BM_FillGrid/iterations:3") / times.Time("BM_FillVectorOfStrings/iterations:3"));
  if (g_results.count("fill_grid_bytes"))
    std::printf("  heap bytes per cell beyond the text: grid %.1f (target <= 48), vector<string> %.1f\n",
                g_results["fill_grid_bytes"], g_results["fill_vector_bytes"]);
  if (times.Time("BM_FillTypedGrid/iterations:3") > 0 && times.Time("BM_FillVectorOfStrings/iterations:3") > 0)
    std::printf("  fill 1,000,000 x 8 typed values as a result grid does: grid / vector<string> CPU time = %.2f\n",
                times.Time("BM_FillTypedGrid/iterations:3") / times.Time("BM_FillVectorOfStrings/iterations:3"));
  if (g_results.count("fill_typed_bytes"))
    std::printf("  heap bytes per typed cell beyond the text: grid %.1f\n", g_results["fill_typed_bytes"]);
  if (times.Time("BM_PaintAndScroll/1000") > 0 && times.Time("BM_PaintAndScroll/1000000") > 0)
    std::printf("  paint + scroll to the end: 1,000,000 rows / 1,000 rows CPU time = %.2f (target <= 1.20)\n",
                times.Time("BM_PaintAndScroll/1000000") / times.Time("BM_PaintAndScroll/1000"));
  if (times.Time("BM_AutoSizeColumn/iterations:2") > 0 && times.Time("BM_MeasureTexts/iterations:2") > 0)
    std::printf("  auto-size a column of 1,000,000 rows: grid / measuring the texts CPU time = %.2f\n",
                times.Time("BM_AutoSizeColumn/iterations:2") / times.Time("BM_MeasureTexts/iterations:2"));
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(RatioReporter::Clock::Cpu, PrintSummary);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
