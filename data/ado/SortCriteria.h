#pragma once
// ADO's sort syntax over the cursor engine: "[Field] ASC, Other DESC".
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "data/ado/ValueView.h"
#include "text/CaseFold.h"

namespace ado {

struct SortKey {
  int column = 0;
  bool descending = false;
};

// Comma-separated keys "field [ASC|DESC]"; a field is a bare name or a [bracketed] name in which
// "]]" stands for "]" (brackets are needed when the name holds a comma or starts with a bracket;
// a bare name may hold blanks). Keywords and field names are case-insensitive.
// Raises ComError (adErrInvalidArgument, with a message naming the problem) for malformed
// criteria or an unknown field. An empty or blank text gives no keys (natural order).
std::vector<SortKey> ParseSortCriteria(std::string_view criteria, const std::vector<CriteriaColumn>& columns);

// Typed comparison: numbers by value across widths, dates by value, texts case-insensitively
// (ties broken by bytes), NULL (and empty) before every value. Negative, zero or positive.
// Values of different kinds order as: NULL, boolean, number, date, text, bytes, anything else.
int CompareValues(const ValueView& a, const ValueView& b);

// Stable sort of the row numbers by the keys (ascending puts NULLs first, descending last).
// Reads each key's value once per row; the comparisons work on those views. Texts order in the
// user's collation (UserCollationLocale, one key per text made once per sort), or as
// CompareValues orders them when that collation is the C one.
void SortRows(std::vector<std::uint32_t>& rows, const std::vector<SortKey>& keys, const RowSource& source);

// The column named `name` (case-insensitive by text/CaseFold.h, as texts compare), or -1.
int FindCriteriaColumn(std::string_view name, const std::vector<CriteriaColumn>& columns);

// An automation date as a number that grows with time (automation dates before 1900 count
// the time of day forward from a negative day number, so they do not order by plain value).
double ChronologicalDate(double oleDate);

}  // namespace ado
