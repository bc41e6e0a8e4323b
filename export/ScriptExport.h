#pragma once
// The script export run: one generator over a list of tables (or over the current query) into the
// file of Export/OutputFile, under the wait cursor, then the configured viewer on the file.
//
// In order: the status panes are cleared; a connection of the run's own is opened with the
// connection string; the file is created, emptied or (Export/AppendMode) appended to; the
// generator's prologue; the structure pass over every name (Export/ExportMode 1 or 2, drop
// statements with Export/InsertDropOrZapTableStatement); the data pass over every name (mode 1 or
// 3: Export/MaxRecords, Export/InsertAutonumbers, and zap only in mode 3); the connection and the
// file are closed; RunScriptFileReader on the path; the record-count pane emptied and the elapsed
// milliseconds shown.
//
// A file that cannot be opened shows "Unable to write to file \"<path>\"" with the error icon and the
// run goes on writing nowhere (the viewer still starts); a write that fails on the way shows the
// same message when the file is closed. A database error ends the run at once with its text
// (ComErrorText, exclamation icon): what was written stays, the viewer is not started, the panes are
// not updated.
//
// The run reports each table and its rows written to ui.Progress; when that answers false the run
// stops after the last whole statement, closes the file, shows "Canceled" in the record-count pane
// and starts no viewer.
#include <optional>
#include <string>
#include <vector>

class ExportUi;
class ProcessStarter;
class ScriptGenerator;
class SettingsStore;

void RunScriptExport(const ScriptGenerator& generator, const std::string& connectionString,
                     const std::vector<std::string>& tableNames, const std::optional<std::string>& query, ExportUi& ui,
                     const SettingsStore& settings, ProcessStarter& starter);
// The same with the process-wide settings and process starter.
void RunScriptExport(const ScriptGenerator& generator, const std::string& connectionString,
                     const std::vector<std::string>& tableNames, const std::optional<std::string>& query, ExportUi& ui);
