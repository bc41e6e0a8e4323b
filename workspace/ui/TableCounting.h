#pragma once
// Record counts for the table list, one table after the other. The status bar shows which table
// is being counted ("Counting Orders (3 of 12)..."); Esc stops the counting, and the tables not
// counted by then get kNoRecordCount. While it runs, other keys and mouse clicks are swallowed,
// so no other command can start in between.
#include <string>
#include <utility>
#include <vector>

#include "export/DatabaseNameQuoting.h"

class DbConnection;
class QStatusBar;
class SettingsStore;

// One count per entry, in order. `statusBar` may be null.
std::vector<long> CountTableRecordsInteractively(DbConnection& connection,
                                                 const std::vector<std::pair<std::string, int>>& entries,
                                                 NameQuoteStyle style, const SettingsStore& settings,
                                                 QStatusBar* statusBar);
