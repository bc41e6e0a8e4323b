// Filter criteria from any text (first line), rows from the rest: compiling may only raise
// ComError, matching never fails, and NOT (criteria) matches exactly the other rows.
#include <cstdlib>
#include <string>

#include "data/ado/ComError.h"
#include "data/ado/FilterCriteria.h"
#include "tests/fuzz/FuzzRows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [criteria, lines] = SplitFirstLine(data, size);
  std::unique_ptr<FilterExpression> filter;
  try {
    filter = CompileFilter(criteria, FuzzColumns());
  } catch (const ComError&) {
    return 0;
  }
  if (!filter) std::abort();
  std::unique_ptr<FilterExpression> negated;
  if (criteria.find_first_not_of(" \t\r\n\f\v") != std::string_view::npos) {
    try {
      negated = CompileFilter("NOT (" + std::string(criteria) + "\n)", FuzzColumns());
    } catch (const ComError&) {
      // Only the nesting limit may refuse what compiled alone.
    }
  }
  const FuzzRows table(lines);
  for (std::uint32_t row = 0; row < table.Size(); ++row) {
    const bool match = filter->Matches(table, row);
    if (negated && negated->Matches(table, row) == match) std::abort();
  }
  return 0;
}
