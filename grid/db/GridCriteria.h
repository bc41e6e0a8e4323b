#pragma once
// The sort and filter criteria the result grid hands to its recordset, built from a field and
// the text a person typed. Plain functions, so that the exact texts can be checked on their own.
#include <string>

// The field name as the criteria name it: bare when it is a plain identifier (ASCII letters,
// digits, '_'), else in brackets with "]" doubled ("Customer Name" gives [Customer Name]).
std::string FilterFieldName(const std::string& name);

// "[name] ASC" or "[name] DESC"; the brackets are always written ("]" inside doubled).
std::string SortCriteria(const std::string& fieldName, bool ascending);

// A date typed into a filter cell, day first in the user's way ("1/2/2003", "01.02.03",
// "1-2-2003"), or ISO ("2003-02-01"); a two-digit year counts in 1930..2029, a missing year is
// the current one. False for anything that is not a real date.
bool ParseFilterDate(const std::string& token, int& year, int& month, int& day);

// The condition one filter cell adds for a column of `kind` (GridColumnType), or "" for none.
// `text` is the cell's text trimmed of blanks, tabs, CR and LF. For date columns `displayText`
// receives the normalised text the cell then shows ("dd/mm/yyyy" or two such dates separated by
// one blank, "" when the text holds no date); for other kinds it receives `text` unchanged.
std::string FilterCondition(int kind, const std::string& fieldName, const std::string& text, std::string& displayText);
