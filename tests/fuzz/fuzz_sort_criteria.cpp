// Sort criteria from any text (first line), rows from the rest: parsing may only raise
// ComError, and the sorted order must agree with CompareValues and keep equal rows in order.
#include <cstdlib>

#include "data/ado/ComError.h"
#include "data/ado/SortCriteria.h"
#include "data/ado/UserCollation.h"
#include "tests/fuzz/FuzzRows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // CompareValues is the engine's own text order, which sorting follows under the C collation.
  static const bool cCollation = ado::SetUserCollationLocale("C.UTF-8");
  (void)cCollation;
  const auto [criteria, lines] = SplitFirstLine(data, size);
  const std::vector<ado::CriteriaColumn>& columns = FuzzColumns();
  std::vector<ado::SortKey> keys;
  try {
    keys = ado::ParseSortCriteria(criteria, columns);
  } catch (const ado::ComError&) {
    return 0;
  }
  for (const ado::SortKey& k : keys)
    if (k.column < 0 || static_cast<std::size_t>(k.column) >= columns.size()) std::abort();
  if (keys.empty()) keys = {{0, false}, {8, true}};  // still exercise the sort on the input's rows

  const FuzzRows table(lines);
  std::vector<std::uint32_t> rows(table.Size());
  for (std::uint32_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint32_t>(rows.size() - 1 - i);
  ado::SortRows(rows, keys, table);
  std::vector<bool> seen(rows.size());
  for (std::uint32_t r : rows) {
    if (r >= seen.size() || seen[r]) std::abort();
    seen[r] = true;
  }
  for (std::size_t i = 1; i < rows.size(); ++i) {
    int c = 0;
    for (const ado::SortKey& k : keys) {
      c = ado::CompareValues(table.Get(rows[i - 1], k.column), table.Get(rows[i], k.column));
      if (k.descending) c = -c;
      if (c != 0) break;
    }
    // Equal rows keep the order they came in (here: descending row numbers).
    if (c > 0 || (c == 0 && rows[i - 1] < rows[i])) std::abort();
  }
  return 0;
}
