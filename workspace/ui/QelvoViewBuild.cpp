// The connection-string builder ("..."): the data-link dialog in OleDB mode, a driver choice and
// the driver's prompt in ODBC mode.
#include <QPlainTextEdit>

#include "data/ConnectionSecrets.h"
#include "data/DbConnection.h"
#include "data/ErrorText.h"
#include "data/OdbcConnectionBuilder.h"
#include "data/OdbcDrivers.h"
#include "data/ado/ComError.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "workspace/ui/QelvoView.h"
#include "workspace/ui/SelectListDlg.h"

void CQelvoView::BuildConnectionString() {
  switch (ConnectionMode()) {
    case kModeOleDb:
      BuildOleDbConnectionString();
      break;
    case kModeOdbc:
      BuildOdbcConnectionString();
      break;
    case kModeNone:
      break;
  }
}

void CQelvoView::BuildOleDbConnectionString() {
  try {
    DbConnection connection;
    std::string built = connection.CreateOLEDBConnectionString(ConnectionText());
    if (!built.empty()) SetConnectionText(PutPasswordsAway(built));
  } catch (const ado::ComError& error) {
    QelvoMessageBox(ComErrorText(error), MB_OK | MB_ICONEXCLAMATION, this);
  }
}

void CQelvoView::BuildOdbcConnectionString() {
  std::vector<std::string> drivers;
  if (!ListOdbcDrivers(drivers)) return;
  CSelectListDlg dialog(this);
  dialog.title = "ODBC Driver selection";
  dialog.prompt = "Please select an ODBC driver :";
  dialog.items = drivers;
  dialog.Prepare();
  if (Prompts().ExecDialog(dialog) != QDialog::Accepted || dialog.Result().empty()) return;
  std::string built = ::BuildOdbcConnectionString(static_cast<QWidget*>(this), dialog.Result());
  // The editor never shows a password: the driver's PWD goes to the secret store at once.
  if (!built.empty()) SetConnectionText(PutPasswordsAway(built));
}
