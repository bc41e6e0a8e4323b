#pragma once
// ADO's sort syntax over the cursor engine: "[Field] ASC, Other DESC".
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/ado/ValueView.h"

struct SortKey {
  int column = 0;
  bool descending = false;
};

// Raises ComError (adErrInvalidArgument, with a message naming the problem) for malformed
// criteria or an unknown field. An empty or blank text gives no keys (natural order).
std::vector<SortKey> ParseSortCriteria(std::string_view criteria, const std::vector<CriteriaColumn>& columns);

// Typed comparison: numbers by value across widths, dates by value, texts case-insensitively
// (ties broken by bytes), NULL (and empty) before every value. Negative, zero or positive.
int CompareValues(const ValueView& a, const ValueView& b);

// Stable sort of the row numbers by the keys (ascending puts NULLs first, descending last).
void SortRows(std::vector<std::uint32_t>& rows, const std::vector<SortKey>& keys, const RowSource& source);
