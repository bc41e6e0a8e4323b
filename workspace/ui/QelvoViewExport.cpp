// The script export commands of the workspace: for each target an export of tables picked in the
// "Export" dialog and an export of the current query under a typed table name.
#include <QPlainTextEdit>
#include <QTextCursor>
#include <memory>

#include "data/DbConnection.h"
#include "data/ErrorText.h"
#include "data/Trace.h"
#include "data/ado/ComError.h"
#include "export/MysqlScriptGenerator.h"
#include "export/SQLServerScriptGenerator.h"
#include "export/ScriptExport.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "platform/framework/WaitCursor.h"
#include "resources/CommandIds.h"
#include "workspace/ui/ExportDlg.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/WindowExportUi.h"

namespace {
std::unique_ptr<ScriptGenerator> NewGenerator(bool mysql) {
  if (mysql) return std::make_unique<MysqlScriptGenerator>();
  return std::make_unique<SQLServerScriptGenerator>();
}
}  // namespace

void CQelvoView::RegisterExportCommands() {
  CommandMap& map = Commands();
  map.On(ID_EXPORT_SQLSERVER_TABLES, [this] { ExportTables(false); });
  map.On(ID_EXPORT_MYSQL_TABLES, [this] { ExportTables(true); });
  map.On(ID_EXPORT_SQLSERVER_QUERY, [this] { ExportQuery(false); });
  map.On(ID_EXPORT_MYSQL_QUERY, [this] { ExportQuery(true); });
  auto hasQuery = [this](CommandUi& ui) { ui.Enable(!CurrentQueryText().empty()); };
  map.OnUpdate(ID_EXPORT_SQLSERVER_QUERY, hasQuery);
  map.OnUpdate(ID_EXPORT_MYSQL_QUERY, hasQuery);
}

std::string CQelvoView::CurrentQueryText() const {
  const QTextCursor cursor = QueryEditor()->textCursor();
  if (cursor.hasSelection()) {
    // The selection in plain text: paragraph separators become line feeds again.
    QString selected = cursor.selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    selected.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return selected.toStdString();
  }
  return QueryText();
}

void CQelvoView::ExportTables(bool mysql) {
  const std::string connectionString = ConnectionText();
  ExportDlg::TableList tables;
  {
    WaitCursor wait;
    try {
      DbConnection connection;
      connection.Open(connectionString, "", "");
      connection.EnumTables(tables, 1 | 2 | 4);
      connection.Close();
    } catch (const ado::ComError& e) {
      wait.End();
      // The dialog opens all the same, with what was listed.
      QelvoMessageBox(ComErrorText(e), MB_OK | MB_ICONEXCLAMATION, this);
    }
  }
  ExportDlg dialog(this);
  dialog.SetTableList(&tables);
  if (Prompts().ExecDialog(dialog) != QDialog::Accepted) return;
  std::vector<std::string> names;
  for (const auto& table : tables) names.push_back(table.first);
  const std::unique_ptr<ScriptGenerator> generator = NewGenerator(mysql);
  WindowExportUi ui(panes_, this);
  RunScriptExport(*generator, connectionString, names, std::nullopt, ui);
}

void CQelvoView::ExportQuery(bool mysql) {
  const std::string query = CurrentQueryText();
  const std::string connectionString = ConnectionText();
  ExportDlg dialog(this);
  if (Prompts().ExecDialog(dialog) != QDialog::Accepted) return;
  const std::unique_ptr<ScriptGenerator> generator = NewGenerator(mysql);
  WindowExportUi ui(panes_, this);
  RunScriptExport(*generator, connectionString, {dialog.TargetTableName()}, query, ui);
}
