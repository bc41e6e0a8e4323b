#pragma once
// The batch report "QelvoReport.txt": beside the executable, or in the user's data folder
// ($XDG_DATA_HOME/Tolvane/Qelvo) when the executable's folder cannot be written.
#include <string>
#include <vector>

inline constexpr const char* ReportFileName = "QelvoReport.txt";

// The folder of the running executable ("" when it cannot be found).
std::string ExecutableFolder();
// The user's data folder of the program, created when missing.
std::string UserDataFolder();
// The report's path: in executableFolder when that folder exists and is writable, else in
// dataFolder.
std::string ChooseReportPath(const std::string& executableFolder, const std::string& dataFolder);
// ChooseReportPath for the running program.
std::string DefaultReportPath();

// Writes the lines afresh (an existing file is truncated), each ending in CR LF. False when the
// file cannot be written whole.
bool WriteReportFile(const std::string& path, const std::vector<std::string>& lines);
