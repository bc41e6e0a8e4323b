#pragma once
// The texts of the status bar's record-count and elapsed-time panes.
#include <string>

// "%ld.%02ld sec" of whole seconds and hundredths (truncated) for ms >= 0; "" for ms < 0.
std::string ElapsedPaneText(long milliseconds);
// "%ld" of a record count (-1 when the count is unknown).
std::string RecordCountPaneText(long count);
// The rows a filter shows and the records behind it: "3 of 10"; only the count when the total is
// unknown (-1).
std::string FilteredCountPaneText(long shown, long total);
// "1 row affected", "12 rows affected"; "" when the database did not say (-1).
std::string RowsAffectedPaneText(long affected);
// The message after Stop: "Stopped after 412,000 rows" (grouped as the user's numbers are).
std::string StoppedAfterText(long rows);
// The message while the statement runs, before its first rows: "Executing...".
std::string ExecutingText();
// The message while rows arrive, until the last one: "Fetching rows...".
std::string FetchingText();
