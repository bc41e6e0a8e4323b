#pragma once
// The help page "Qelvo.html": beside the executable, or installed in the share folder, or — when
// neither has it — written out from the copy built into the program.
#include <string>

// The installed page, or empty when there is none (the SQL Syntax command is enabled by this).
std::string FindHelpPage();
// The installed page, else the built-in copy written to the user's data folder (refreshed when
// it differs); empty only when that folder cannot be written.
std::string EnsureHelpPage();
