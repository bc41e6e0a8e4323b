#pragma once
// Cutting a query text into the statements of a batch.
#include <string>
#include <vector>

// The statements of a text, in order; none is empty and none has leading or trailing blanks, tabs,
// CR or LF.
// - Lines end at LF. A line whose first character is '#', or whose first two are "--", is a
//   comment and skipped; only column 1 counts (an indented "--" line belongs to a statement).
// - A line that ends with the separator (after trimming; byte-wise, case-sensitive) ends a
//   statement; a separator inside a line is part of the statement.
// - The lines of one statement are joined by single blanks (a blank line still adds its blank),
//   and text after the last separator forms a last statement of its own.
std::vector<std::string> SplitStatements(const std::string& text, const std::string& separator);
