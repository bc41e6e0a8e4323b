#pragma once
// ADO's filter criteria grammar over the cursor engine: clauses "field op value" joined by AND /
// OR with parentheses. Criteria never reach the database as SQL.
#include <memory>
#include <string_view>
#include <vector>

#include "data/ado/FilterEvaluation.h"
#include "data/ado/ValueView.h"

namespace ado {

// Compiles the criteria against the columns; raises ComError (adErrInvalidArgument, with a clear
// message) for malformed criteria, unknown fields and values that do not convert to the field's
// type. Blank criteria match every row.
//
// Grammar: clauses "field op value" with =, <> (or !=), <, >, <=, >=; "field [NOT] LIKE 'pattern'"
// ('%' or '*' for any run of characters, anywhere; text fields only); "field IS [NOT] NULL",
// "field = NULL", "field <> NULL"; joined by AND (binding tighter) and OR, with NOT and
// parentheses. Fields are bare names or [bracketed] ("]]" for "]"); keywords and field names are
// case-insensitive. Values: 'text' or "text" (the quote doubled inside), #date#, numbers (with
// '.' or the user's decimal point), TRUE / FALSE. Each value is converted once to the field's
// type: text fields compare case-insensitively (fixed-width char fields without trailing
// blanks); numbers by value across types; booleans take 0 as false and other numbers as true;
// dates are read by ScanDate (text/DateScan.h: ISO, day first or a time alone; a day and month
// without a year is refused), and stand for the whole span written (a day, a minute, a second), so D = '2003-02-01'
// holds for every time of that day. NULL values satisfy only the NULL tests (also under NOT); a value that cannot be
// compared with the constant (a text in a numeric field) is only "<>" to it.
std::unique_ptr<FilterExpression> CompileFilter(std::string_view criteria, const std::vector<CriteriaColumn>& columns);

}  // namespace ado
