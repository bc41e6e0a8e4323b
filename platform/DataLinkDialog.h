#pragma once
// The data-link dialog: builds or edits a connection string for one of the providers, SQLite (a
// database file), ODBC (a data source name or driver attributes), PostgreSQL and MariaDB (servers
// reached natively), and tests it.
//
// Strings it writes:
//   Provider=SQLite;Data Source=/path/file.db[;Create=True][;other attributes]
//   Provider=MSDASQL[;DSN=name][;other attributes][;DATABASE=catalog][;UID=user][;PWD=password]
//   Provider=PostgreSQL[;Host=h][;Port=n][;Database=d][;User ID=u][;Password=p][;other attributes]
//   Provider=MariaDB[;Host=h][;Port=n][;Database=d][;User ID=u][;Password=p][;other attributes]
// A string it is given to edit is read back into these fields; attributes it has no field for
// go to "Other attributes" and so are kept. A string that cannot be read, or that names another
// provider, is explained in the dialog and its readable attributes kept.
#include <QDialog>
#include <optional>
#include <string>

#include "platform/framework/ControlTable.h"

namespace ado {
class ConnectionString;
}
class QWidget;

class DataLinkDialog : public QDialog {
  Q_OBJECT
 public:
  enum ControlId {
    kProvider = 1100,
    kSqlitePage = 1101,
    kOdbcPage = 1102,
    kSqliteFile = 1110,
    kSqliteBrowse = 1111,
    kSqliteCreate = 1112,
    kOdbcDsn = 1120,
    kOdbcUser = 1121,
    kOdbcPassword = 1122,
    kOdbcCatalog = 1123,
    kOther = 1130,
    kNote = 1131,
    kTestConnection = 1140,
    kPgPage = 1190,
    kPgHost = 1191,
    kPgPort = 1192,
    kPgDatabase = 1193,
    kPgUser = 1194,
    kPgPassword = 1195,
    kMariaPage = 1150,
    kMariaHost = 1151,
    kMariaPort = 1152,
    kMariaDatabase = 1153,
    kMariaUser = 1154,
    kMariaPassword = 1155,
    kOk = 1,
    kCancel = 2,
  };
  enum Provider { kSqliteProvider = 0, kOdbcProvider = 1, kPostgresProvider = 2, kMariaProvider = 3 };

  explicit DataLinkDialog(const std::string& initial = {}, QWidget* parent = nullptr);

  // The string the fields describe; with explain set, an incomplete or unreadable field is
  // reported in a message box (and the field gets the focus) and nothing is returned.
  std::optional<std::string> BuildConnectionString(bool explain);
  // The accepted string (empty until OK succeeded).
  const std::string& Result() const { return result_; }

  void SetProvider(Provider provider);
  Provider CurrentProvider() const;
  // Opens a connection with the current string and says whether it worked.
  void TestConnection();
  void BrowseSqliteFile();

  QWidget* Control(int id) const { return controls_.Get(id); }

  void accept() override;

 private:
  void Load(const std::string& initial);
  // A PostgreSQL or MariaDB string into that provider's page.
  void LoadServer(Provider provider, const ado::ConnectionString& parsed);
  void ShowProviderPage();

  ControlTable controls_;
  std::string result_;
};

// Runs the dialog (through the prompt seam); the connection string, or nothing on Cancel.
std::optional<std::string> RunDataLinkDialog(QWidget* parent, const std::string& initial);

// Makes the dialog the data layer's data-link prompt (ado::DataLinks), owned by `owner`.
void RegisterDataLinkDialog(QWidget* owner);
