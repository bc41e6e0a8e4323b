// List Tables, List Tables + Record Count and Enum Fields: each works on a connection of its own,
// opened on the connection editor's text for the command and closed when it ends.
#include <QMainWindow>
#include <QStatusBar>

#include "data/DbConnection.h"
#include "data/ErrorText.h"
#include "data/ado/ComError.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "platform/framework/WaitCursor.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/SchemaBrowsing.h"
#include "workspace/ui/TableCounting.h"
#include "workspace/ui/TableSelectDlg.h"
#include "workspace/ui/TextDlg.h"

namespace {

void CloseQuietly(DbConnection& connection) {
  try {
    connection.Close();
  } catch (const ado::ComError&) {
    // Already traced; the command's own error (if any) is the one to show.
  }
}

QStatusBar* StatusBarOf(QWidget* widget) {
  auto* frame = qobject_cast<QMainWindow*>(widget->window());
  return frame ? frame->statusBar() : nullptr;
}

}  // namespace

void CQelvoView::ListTables(bool withCounts) {
  const std::string connectionText = ConnectionTextWithoutPasswords();
  connections_.Remember(connectionText);
  ShowModifiedMarker(IDC_CONNECTION_LABEL, false);
  UpdateHistoryButtons();

  DbConnection connection;
  try {
    connection.Open(connectionText, "", "");
    const NameQuoteStyle style = QuoteStyleOf(connection);
    CTableSelectDlg dialog(this);
    connection.EnumTables(dialog.entries, kTableKindTable | kTableKindLink | kTableKindView);
    if (withCounts) {
      WaitCursor wait;
      dialog.counts =
          CountTableRecordsInteractively(connection, dialog.entries, style, AppSettings(), StatusBarOf(this));
    }
    dialog.title = "Table selection";
    dialog.prompt = "Please select table from list below";
    if (Prompts().ExecDialog(dialog) == QDialog::Accepted && !dialog.Result().empty()) {
      WaitCursor wait;
      SetQueryText(SelectStatementForTable(connection, dialog.Result(), style, AppSettings()));
      UpdateHistoryButtons();
    }
    connection.Close();
  } catch (const ado::ComError& error) {
    CloseQuietly(connection);
    QelvoMessageBox(ComErrorText(error), MB_OK | MB_ICONEXCLAMATION, this);
  }
}

void CQelvoView::EnumFields() {
  const std::string connectionText = ConnectionText();
  WaitCursor wait;
  try {
    DbConnection connection;
    connection.Open(connectionText, "", "");
    CTextDlg dialog(this);
    dialog.title = "All db fields ...";
    dialog.text = AllFieldsText(connection, QuoteStyleOf(connection), AppSettings());
    // The list is ready: the window that shows it is not a wait.
    wait.End();
    Prompts().ExecDialog(dialog);
  } catch (const ado::ComError& error) {
    wait.End();
    QelvoMessageBox(ComErrorText(error), MB_OK | MB_ICONEXCLAMATION, this);
  }
}
