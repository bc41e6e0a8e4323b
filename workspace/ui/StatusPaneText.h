#pragma once
// The texts of the status bar's record-count and elapsed-time panes.
#include <string>

// "%ld.%02ld sec" of whole seconds and hundredths (truncated) for ms >= 0; "" for ms < 0.
std::string ElapsedPaneText(long milliseconds);
// "%ld" of a record count (-1 when the count is unknown).
std::string RecordCountPaneText(long count);
