// Filter criteria from any text (first line), rows from the rest: compiling may only raise
// ComError, matching never fails, and NOT (criteria) holds exactly where the criteria are false:
// rows where they are unknown (a NULL compared) pass neither.
#include <cstdlib>
#include <string>

#include "data/ado/ComError.h"
#include "data/ado/FilterParser.h"
#include "tests/fuzz/FuzzRows.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto [criteria, lines] = SplitFirstLine(data, size);
  std::unique_ptr<ado::FilterExpression> filter;
  try {
    filter = ado::CompileFilter(criteria, FuzzColumns());
  } catch (const ado::ComError&) {
    return 0;
  }
  if (!filter) std::abort();
  std::unique_ptr<ado::FilterExpression> negated;
  if (criteria.find_first_not_of(" \t\r\n\f\v") != std::string_view::npos) {
    try {
      negated = ado::CompileFilter("NOT (" + std::string(criteria) + "\n)", FuzzColumns());
    } catch (const ado::ComError&) {
      // Only the nesting limit may refuse what compiled alone.
    }
  }
  const FuzzRows table(lines);
  for (std::uint32_t row = 0; row < table.Size(); ++row) {
    const ado::Truth truth = filter->Evaluate(table, row);
    if (filter->Matches(table, row) != (truth == ado::Truth::True)) std::abort();
    if (!negated) continue;
    const ado::Truth opposite = negated->Evaluate(table, row);
    if (truth == ado::Truth::Unknown ? opposite != ado::Truth::Unknown
                                     : (opposite == ado::Truth::True) == (truth == ado::Truth::True))
      std::abort();
  }
  return 0;
}
