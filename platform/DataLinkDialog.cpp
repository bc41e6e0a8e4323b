#include "platform/DataLinkDialog.h"

#include <strings.h>

#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include "data/ErrorText.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/ConnectionString.h"
#include "data/ado/DataLinks.h"
#include "platform/OdbcConnect.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "platform/framework/WaitCursor.h"

namespace {

using C = DataLinkDialog;

const ControlDef kFrame[] = {
    {1103, ControlKind::Static, "&Provider:", 7, 9, 40, 8},
    {C::kProvider, ControlKind::DropDownList, "", 50, 7, 110, 13},
    {1104, ControlKind::GroupBox, "Connection", 7, 26, 246, 84},
    {C::kSqlitePage, ControlKind::Placeholder, "", 13, 37, 234, 70},
    {C::kOdbcPage, ControlKind::Placeholder, "", 13, 37, 234, 70},
    {C::kPgPage, ControlKind::Placeholder, "", 13, 37, 234, 70},
    {C::kMariaPage, ControlKind::Placeholder, "", 13, 37, 234, 70},
    {1105, ControlKind::Static, "Other &attributes (key=value;...):", 7, 116, 246, 8},
    {C::kOther, ControlKind::Edit, "", 7, 126, 246, 13},
    {C::kNote, ControlKind::Static, "", 7, 143, 246, 18},
    {C::kTestConnection, ControlKind::PushButton, "&Test Connection", 7, 166, 70, 14},
    {C::kOk, ControlKind::DefPushButton, "OK", 147, 166, 50, 14},
    {C::kCancel, ControlKind::PushButton, "Cancel", 203, 166, 50, 14},
};

const ControlDef kSqliteControls[] = {
    {1113, ControlKind::Static, "Database &file (Data Source):", 0, 2, 200, 8},
    {C::kSqliteFile, ControlKind::Edit, "", 0, 13, 210, 13},
    {C::kSqliteBrowse, ControlKind::PushButton, "...", 214, 13, 20, 13},
    {C::kSqliteCreate, ControlKind::CheckBox, "&Create the file when it does not exist", 0, 32, 200, 10},
};

const ControlDef kOdbcControls[] = {
    {1124, ControlKind::Static, "&Data source name (DSN):", 0, 3, 96, 8},
    {C::kOdbcDsn, ControlKind::ComboBox, "", 100, 1, 134, 13},
    {1125, ControlKind::Static, "&User name:", 0, 21, 96, 8},
    {C::kOdbcUser, ControlKind::Edit, "", 100, 19, 134, 13},
    {1126, ControlKind::Static, "Pass&word:", 0, 39, 96, 8},
    {C::kOdbcPassword, ControlKind::Edit, "", 100, 37, 134, 13, ControlFlag::Password},
    {1127, ControlKind::Static, "Initial &catalog (DATABASE):", 0, 57, 96, 8},
    {C::kOdbcCatalog, ControlKind::Edit, "", 100, 55, 134, 13},
};

const ControlDef kPgControls[] = {
    {1196, ControlKind::Static, "&Host:", 0, 3, 96, 8},
    {C::kPgHost, ControlKind::Edit, "", 100, 1, 80, 13},
    {1197, ControlKind::Static, "P&ort:", 186, 3, 18, 8},
    {C::kPgPort, ControlKind::Edit, "", 206, 1, 28, 13},
    {1198, ControlKind::Static, "&Database:", 0, 21, 96, 8},
    {C::kPgDatabase, ControlKind::Edit, "", 100, 19, 134, 13},
    {1199, ControlKind::Static, "&User name:", 0, 39, 96, 8},
    {C::kPgUser, ControlKind::Edit, "", 100, 37, 134, 13},
    {1189, ControlKind::Static, "Pass&word:", 0, 57, 96, 8},
    {C::kPgPassword, ControlKind::Edit, "", 100, 55, 134, 13, ControlFlag::Password},
};

const ControlDef kMariaControls[] = {
    {1156, ControlKind::Static, "&Host:", 0, 3, 96, 8},
    {C::kMariaHost, ControlKind::Edit, "", 100, 1, 80, 13},
    {1157, ControlKind::Static, "P&ort:", 186, 3, 18, 8},
    {C::kMariaPort, ControlKind::Edit, "", 206, 1, 28, 13},
    {1158, ControlKind::Static, "&Database:", 0, 21, 96, 8},
    {C::kMariaDatabase, ControlKind::Edit, "", 100, 19, 134, 13},
    {1159, ControlKind::Static, "&User name:", 0, 39, 96, 8},
    {C::kMariaUser, ControlKind::Edit, "", 100, 37, 134, 13},
    {1160, ControlKind::Static, "Pass&word:", 0, 57, 96, 8},
    {C::kMariaPassword, ControlKind::Edit, "", 100, 55, 134, 13, ControlFlag::Password},
};

bool Is(const std::string& key, const char* name) {
  return strcasecmp(key.c_str(), name) == 0;
}

QString Text(QWidget* control) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text().trimmed();
  if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText().trimmed();
  return {};
}

}  // namespace

DataLinkDialog::DataLinkDialog(const std::string& initial, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Data Link Properties"));
  const DialogUnits units;
  controls_.Create(this, kFrame, units);
  controls_.Create(Control(kSqlitePage), kSqliteControls, units);
  controls_.Create(Control(kOdbcPage), kOdbcControls, units);
  controls_.Create(Control(kPgPage), kPgControls, units);
  controls_.Create(Control(kMariaPage), kMariaControls, units);
  setFixedSize(units.ToPixels(QSize(260, 187)));

  auto* provider = controls_.As<QComboBox>(kProvider);
  provider->addItem(QStringLiteral("SQLite"));
  provider->addItem(QStringLiteral("ODBC"));
  provider->addItem(QStringLiteral("PostgreSQL"));
  controls_.As<QLineEdit>(kPgHost)->setPlaceholderText(QStringLiteral("localhost"));
  controls_.As<QLineEdit>(kPgPort)->setPlaceholderText(QStringLiteral("5432"));
  provider->addItem(QStringLiteral("MariaDB"));
  controls_.As<QLineEdit>(kMariaHost)->setPlaceholderText(QStringLiteral("localhost"));
  controls_.As<QLineEdit>(kMariaPort)->setPlaceholderText(QStringLiteral("3306"));
  auto* dsn = controls_.As<QComboBox>(kOdbcDsn);
  for (const std::string& name : ListOdbcDataSources()) dsn->addItem(QString::fromStdString(name));
  dsn->setCurrentIndex(-1);
  auto* note = controls_.As<QLabel>(kNote);
  note->setWordWrap(true);
  note->setStyleSheet(QStringLiteral("color: #a00000"));

  connect(provider, &QComboBox::currentIndexChanged, this, &DataLinkDialog::ShowProviderPage);
  connect(controls_.As<QPushButton>(kSqliteBrowse), &QPushButton::clicked, this, &DataLinkDialog::BrowseSqliteFile);
  connect(controls_.As<QPushButton>(kTestConnection), &QPushButton::clicked, this, &DataLinkDialog::TestConnection);
  connect(controls_.As<QPushButton>(kOk), &QPushButton::clicked, this, &DataLinkDialog::accept);
  connect(controls_.As<QPushButton>(kCancel), &QPushButton::clicked, this, &DataLinkDialog::reject);

  Load(initial);
  ShowProviderPage();
}

void DataLinkDialog::SetProvider(Provider provider) {
  controls_.As<QComboBox>(kProvider)->setCurrentIndex(provider);
}

DataLinkDialog::Provider DataLinkDialog::CurrentProvider() const {
  switch (controls_.As<QComboBox>(kProvider)->currentIndex()) {
    case kOdbcProvider:
      return kOdbcProvider;
    case kPostgresProvider:
      return kPostgresProvider;
    case kMariaProvider:
      return kMariaProvider;
    default:
      return kSqliteProvider;
  }
}

void DataLinkDialog::ShowProviderPage() {
  const Provider provider = CurrentProvider();
  Control(kSqlitePage)->setVisible(provider == kSqliteProvider);
  Control(kOdbcPage)->setVisible(provider == kOdbcProvider);
  Control(kPgPage)->setVisible(provider == kPostgresProvider);
  Control(kMariaPage)->setVisible(provider == kMariaProvider);
}

void DataLinkDialog::Load(const std::string& initial) {
  SetProvider(kSqliteProvider);
  if (initial.find_first_not_of(" \t\r\n") == std::string::npos) return;
  ado::ConnectionString parsed;
  try {
    parsed = ado::ConnectionString::Parse(initial);
  } catch (const ado::ComError& error) {
    controls_.As<QLabel>(kNote)->setText(
        tr("The current connection string could not be read (%1); it is kept if you cancel.")
            .arg(QString::fromStdString(error.Description())));
    return;
  }
  const std::string provider = parsed.Get("Provider").value_or("");
  const bool sqlite = Is(provider, "SQLite");
  if (Is(provider, "PostgreSQL")) {
    LoadServer(kPostgresProvider, parsed);
    return;
  }
  if (Is(provider, "MariaDB") || Is(provider, "MySQL")) {
    LoadServer(kMariaProvider, parsed);
    return;
  }
  if (!sqlite) {
    SetProvider(kOdbcProvider);
    if (!provider.empty() && strncasecmp(provider.c_str(), "MSDASQL", 7) != 0)
      controls_.As<QLabel>(kNote)->setText(
          tr("The provider \"%1\" is not available here; its other attributes are kept below.")
              .arg(QString::fromStdString(provider)));
  }
  ado::ConnectionString other;
  for (const ado::ConnectionString::Attribute& attribute : parsed.Attributes()) {
    const std::string& key = attribute.key;
    const QString value = QString::fromStdString(attribute.value);
    if (Is(key, "Provider")) continue;
    if (sqlite && (Is(key, "Data Source") || Is(key, "Database"))) {
      controls_.As<QLineEdit>(kSqliteFile)->setText(value);
    } else if (sqlite && Is(key, "Create")) {
      controls_.As<QCheckBox>(kSqliteCreate)
          ->setChecked(value.compare("true", Qt::CaseInsensitive) == 0 || value == "1" ||
                       value.compare("yes", Qt::CaseInsensitive) == 0);
    } else if (!sqlite && (Is(key, "DSN") || Is(key, "Data Source"))) {
      controls_.As<QComboBox>(kOdbcDsn)->setCurrentText(value);
    } else if (!sqlite && (Is(key, "UID") || Is(key, "User ID"))) {
      controls_.As<QLineEdit>(kOdbcUser)->setText(value);
    } else if (!sqlite && (Is(key, "PWD") || Is(key, "Password"))) {
      controls_.As<QLineEdit>(kOdbcPassword)->setText(value);
    } else if (!sqlite && (Is(key, "DATABASE") || Is(key, "Initial Catalog"))) {
      controls_.As<QLineEdit>(kOdbcCatalog)->setText(value);
    } else {
      other.Set(key, attribute.value);
    }
  }
  controls_.As<QLineEdit>(kOther)->setText(QString::fromStdString(other.ToOdbcString()));
}

namespace {
// A server provider's page: its fields, and the keys each field reads from a connection string.
struct ServerPage {
  DataLinkDialog::Provider provider;
  const char* name;  // the Provider keyword
  int host, port, database, user, password;
  std::vector<const char*> hostKeys, databaseKeys, userKeys;
};

const ServerPage kPgServerPage{DataLinkDialog::kPostgresProvider, "PostgreSQL",
                               DataLinkDialog::kPgHost,           DataLinkDialog::kPgPort,
                               DataLinkDialog::kPgDatabase,       DataLinkDialog::kPgUser,
                               DataLinkDialog::kPgPassword,       {"Host", "Server", "Data Source"},
                               {"Database", "Initial Catalog"},   {"User ID", "UID", "User"}};
const ServerPage kMariaServerPage{DataLinkDialog::kMariaProvider,
                                  "MariaDB",
                                  DataLinkDialog::kMariaHost,
                                  DataLinkDialog::kMariaPort,
                                  DataLinkDialog::kMariaDatabase,
                                  DataLinkDialog::kMariaUser,
                                  DataLinkDialog::kMariaPassword,
                                  {"Host", "Server", "Data Source", "Address"},
                                  {"Database", "Initial Catalog", "DB"},
                                  {"User ID", "UID", "User", "User Name"}};

const ServerPage& PageOf(DataLinkDialog::Provider provider) {
  return provider == DataLinkDialog::kMariaProvider ? kMariaServerPage : kPgServerPage;
}

bool IsAny(const std::string& key, const std::vector<const char*>& names) {
  for (const char* name : names)
    if (Is(key, name)) return true;
  return false;
}
}  // namespace

void DataLinkDialog::LoadServer(Provider provider, const ado::ConnectionString& parsed) {
  const ServerPage& page = PageOf(provider);
  SetProvider(provider);
  ado::ConnectionString other;
  for (const ado::ConnectionString::Attribute& attribute : parsed.Attributes()) {
    const std::string& key = attribute.key;
    const QString value = QString::fromStdString(attribute.value);
    if (Is(key, "Provider")) continue;
    if (IsAny(key, page.hostKeys))
      controls_.As<QLineEdit>(page.host)->setText(value);
    else if (Is(key, "Port"))
      controls_.As<QLineEdit>(page.port)->setText(value);
    else if (IsAny(key, page.databaseKeys))
      controls_.As<QLineEdit>(page.database)->setText(value);
    else if (IsAny(key, page.userKeys))
      controls_.As<QLineEdit>(page.user)->setText(value);
    else if (Is(key, "Password") || Is(key, "PWD"))
      controls_.As<QLineEdit>(page.password)->setText(value);
    else
      other.Set(key, attribute.value);
  }
  controls_.As<QLineEdit>(kOther)->setText(QString::fromStdString(other.ToString()));
}

std::optional<std::string> DataLinkDialog::BuildConnectionString(bool explain) {
  auto refuse = [&](int control, const QString& message) -> std::optional<std::string> {
    if (explain) {
      QelvoMessageBox(message.toStdString(), MB_OK | MB_ICONEXCLAMATION, this);
      Control(control)->setFocus();
    }
    return std::nullopt;
  };
  ado::ConnectionString other;
  try {
    other = ado::ConnectionString::Parse(Text(Control(kOther)).toStdString());
  } catch (const ado::ComError& error) {
    return refuse(kOther,
                  tr("The other attributes cannot be read: %1").arg(QString::fromStdString(error.Description())));
  }
  ado::ConnectionString result;
  if (CurrentProvider() == kSqliteProvider) {
    const QString file = Text(Control(kSqliteFile));
    if (file.isEmpty()) return refuse(kSqliteFile, tr("Choose the database file (Data Source)."));
    result.Set("Provider", "SQLite");
    result.Set("Data Source", file.toStdString());
    if (controls_.As<QCheckBox>(kSqliteCreate)->isChecked()) result.Set("Create", "True");
    for (const auto& attribute : other.Attributes()) result.Set(attribute.key, attribute.value);
    return result.ToString();
  }
  if (CurrentProvider() == kPostgresProvider || CurrentProvider() == kMariaProvider) {
    const ServerPage& page = PageOf(CurrentProvider());
    const QString port = Text(Control(page.port));
    bool number = false;
    const int portNumber = port.toInt(&number);
    if (!port.isEmpty() && (!number || portNumber <= 0 || portNumber > 65535))
      return refuse(page.port, tr("The port must be a number from 1 to 65535."));
    result.Set("Provider", page.name);
    // Empty fields are left to the client library's defaults (the local server, its port, the
    // user's own name).
    auto put = [&](const char* key, const QString& value) {
      if (!value.isEmpty()) result.Set(key, value.toStdString());
    };
    put("Host", Text(Control(page.host)));
    put("Port", port);
    put("Database", Text(Control(page.database)));
    put("User ID", Text(Control(page.user)));
    // Passwords keep blanks; the other fields are trimmed.
    put("Password", controls_.As<QLineEdit>(page.password)->text());
    for (const auto& attribute : other.Attributes()) result.Set(attribute.key, attribute.value);
    return result.ToString();
  }
  const QString dsn = Text(Control(kOdbcDsn));
  if (dsn.isEmpty() && other.Attributes().empty())
    return refuse(kOdbcDsn, tr("Choose a data source name, or give the driver's attributes "
                               "(for example DRIVER={PostgreSQL Unicode};SERVER=localhost)."));
  result.Set("Provider", "MSDASQL");
  if (!dsn.isEmpty()) result.Set("DSN", dsn.toStdString());
  for (const auto& attribute : other.Attributes()) result.Set(attribute.key, attribute.value);
  // Passwords keep blanks; the other fields are trimmed.
  const QString catalog = Text(Control(kOdbcCatalog));
  const QString user = Text(Control(kOdbcUser));
  const QString password = controls_.As<QLineEdit>(kOdbcPassword)->text();
  if (!catalog.isEmpty()) result.Set("DATABASE", catalog.toStdString());
  if (!user.isEmpty()) result.Set("UID", user.toStdString());
  if (!password.isEmpty()) result.Set("PWD", password.toStdString());
  return result.ToOdbcString();
}

void DataLinkDialog::BrowseSqliteFile() {
  FileDialogRequest request;
  request.parent = this;
  request.mode = FileDialogRequest::Mode::Open;
  request.title = "Select SQLite Database";
  request.initialName = Text(Control(kSqliteFile)).toStdString();
  request.filter =
      "SQLite databases (*.db;*.sqlite;*.sqlite3;*.db3)|*.db;*.sqlite;*.sqlite3;*.db3|All files (*.*)|*.*||";
  request.fileMustExist = !controls_.As<QCheckBox>(kSqliteCreate)->isChecked();
  if (std::optional<std::string> path = Prompts().FileDialog(request))
    controls_.As<QLineEdit>(kSqliteFile)->setText(QString::fromStdString(*path));
}

void DataLinkDialog::TestConnection() {
  std::optional<std::string> text = BuildConnectionString(true);
  if (!text) return;
  std::string failure;
  {
    WaitCursor wait;
    try {
      ado::Connection connection;
      connection.Open(*text, "", "");
      connection.Close();
    } catch (const ado::ComError& error) {
      failure = ComErrorText(error);
      if (failure.empty()) failure = error.what();
    }
  }
  if (failure.empty())
    QelvoMessageBox("Test connection succeeded.", MB_OK | MB_ICONINFORMATION, this);
  else
    QelvoMessageBox("Test connection failed:\n" + failure, MB_OK | MB_ICONEXCLAMATION, this);
}

void DataLinkDialog::accept() {
  std::optional<std::string> text = BuildConnectionString(true);
  if (!text) return;
  result_ = *text;
  QDialog::accept();
}

std::optional<std::string> RunDataLinkDialog(QWidget* parent, const std::string& initial) {
  DataLinkDialog dialog(initial, parent);
  if (Prompts().ExecDialog(dialog) != QDialog::Accepted || dialog.Result().empty()) return std::nullopt;
  return dialog.Result();
}

namespace {
class DataLinkDialogPrompt : public ado::DataLinksPrompt {
 public:
  explicit DataLinkDialogPrompt(QWidget* owner) : owner_(owner) {}
  std::optional<std::string> PromptNew() override { return RunDataLinkDialog(owner_, {}); }
  bool PromptEdit(std::string& connectionString) override {
    std::optional<std::string> edited = RunDataLinkDialog(owner_, connectionString);
    if (!edited) return false;
    connectionString = *edited;
    return true;
  }

 private:
  QPointer<QWidget> owner_;
};
}  // namespace

void RegisterDataLinkDialog(QWidget* owner) {
  ado::RegisterDataLinksPrompt(std::make_shared<DataLinkDialogPrompt>(owner));
}
