#include "export/ScriptExport.h"

#include "data/DbConnection.h"
#include "data/ErrorText.h"
#include "data/Ticks.h"
#include "data/Trace.h"
#include "export/ExportUi.h"
#include "export/NameDelimiting.h"
#include "export/OutputFile.h"
#include "export/ScriptGenerator.h"
#include "workspace/ProgramStart.h"
#include "workspace/SettingsStore.h"

void RunScriptExport(const ScriptGenerator& generator, const std::string& connectionString,
                     const std::vector<std::string>& tableNames, const std::optional<std::string>& query, ExportUi& ui,
                     const SettingsStore& settings, ProcessStarter& starter) {
  struct ProgressReset {
    const ScriptGenerator& generator;
    ~ProgressReset() { generator.SetRowProgress(nullptr); }
  } reset{generator};
  ui.ResetStatusPanes();
  WaitCursorScope wait(ui);
  const long start = TickCount();
  try {
    DbConnection connection;
    connection.Open(connectionString, "", "");

    const std::string path = settings.GetString("Export", "OutputFile");
    TextFileStream out;
    if (!out.Open(path, settings.GetBool("Export", "AppendMode")))
      ui.ShowMessage("Unable to write to file \"" + path + "\"", MessageIcon::Error);

    const int mode = settings.GetInt("Export", "ExportMode");
    if (mode >= 1 && mode <= 3) out << generator.ScriptPrologue();
    if (mode == 1 || mode == 2) {
      const bool withDrop = settings.GetBool("Export", "InsertDropOrZapTableStatement");
      for (const std::string& name : tableNames) {
        ui.SetRecordCountPane(name);
        if (!ui.Progress(name, 0)) throw ExportCanceled();
        generator.GenerateStructure(connection, DelimitTableName(name, settings), query, withDrop, out);
      }
    }
    if (mode == 1 || mode == 3) {
      const int maxRecords = settings.GetInt("Export", "MaxRecords");
      const bool withAutonumbers = settings.GetBool("Export", "InsertAutonumbers");
      // In mode 1 the structure pass has dropped and recreated the tables already.
      const bool withZap = mode == 3 && settings.GetBool("Export", "InsertDropOrZapTableStatement");
      for (const std::string& name : tableNames) {
        ui.SetRecordCountPane(name);
        generator.SetRowProgress([&ui, &name](long rows) { return ui.Progress(name, rows); });
        generator.GenerateData(connection, DelimitTableName(name, settings), query, maxRecords, withAutonumbers,
                               withZap, out);
      }
    }

    connection.Close();
    if (out.IsOpen() && !out.Close()) {
      Trace(TraceError, "RunScriptExport() : writing \"%s\" failed", path.c_str());
      ui.ShowMessage("Unable to write to file \"" + path + "\"", MessageIcon::Error);
    }
    RunScriptFileReader(path, settings, starter);
    ui.SetRecordCountPane("");
    ui.SetElapsedPane(TickCount() - start);
  } catch (const ExportCanceled&) {
    // The file was closed after the last whole statement; the user asked for no viewer.
    Trace(TraceWarning, "RunScriptExport() : canceled");
    ui.SetRecordCountPane("Canceled");
  } catch (const ado::ComError& e) {
    ui.ShowMessage(ComErrorText(e), MessageIcon::Exclamation);
  } catch (const std::exception& e) {
    // Not a database error (memory, the file system): shown the same way rather than lost.
    Trace(TraceError, "RunScriptExport() : %s", e.what());
    ui.ShowMessage(e.what(), MessageIcon::Exclamation);
  }
}

void RunScriptExport(const ScriptGenerator& generator, const std::string& connectionString,
                     const std::vector<std::string>& tableNames, const std::optional<std::string>& query,
                     ExportUi& ui) {
  RunScriptExport(generator, connectionString, tableNames, query, ui, AppSettings(), AppProcessStarter());
}
