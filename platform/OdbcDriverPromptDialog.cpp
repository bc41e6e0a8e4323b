#include "platform/OdbcDriverPromptDialog.h"

#include <strings.h>

#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/OdbcDriverPrompt.h"
#include "data/ado/ComError.h"
#include "data/ado/ConnectionString.h"
#include "platform/OdbcConnect.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/PromptSeam.h"
#include "platform/framework/WaitCursor.h"

namespace {
using C = OdbcDriverPromptDialog;

const ControlDef kControls[] = {
    {1210, ControlKind::Static, "Driver:", 7, 9, 70, 8},
    {C::kDriver, ControlKind::Static, "", 80, 9, 160, 8},
    {1211, ControlKind::Static, "&Server:", 7, 27, 70, 8},
    {C::kServer, ControlKind::Edit, "", 80, 25, 160, 13},
    {1212, ControlKind::Static, "P&ort:", 7, 45, 70, 8},
    {C::kPort, ControlKind::Edit, "", 80, 43, 50, 13},
    {1213, ControlKind::Static, "&Database:", 7, 63, 70, 8},
    {C::kDatabase, ControlKind::Edit, "", 80, 61, 160, 13},
    {1214, ControlKind::Static, "&User name:", 7, 81, 70, 8},
    {C::kUser, ControlKind::Edit, "", 80, 79, 160, 13},
    {1215, ControlKind::Static, "Pass&word:", 7, 99, 70, 8},
    {C::kPassword, ControlKind::Edit, "", 80, 97, 160, 13, ControlFlag::Password},
    {1216, ControlKind::Static, "Other &attributes (key=value;...):", 7, 117, 233, 8},
    {C::kOther, ControlKind::Edit, "", 7, 127, 233, 13},
    {C::kOk, ControlKind::DefPushButton, "OK", 134, 148, 50, 14},
    {C::kCancel, ControlKind::PushButton, "Cancel", 190, 148, 50, 14},
};

bool Is(const std::string& key, const char* name) {
  return strcasecmp(key.c_str(), name) == 0;
}

struct Field {
  int control;
  const char* key;
  const char* aliases[3];
};
// The keywords every common driver reads (psqlODBC, MariaDB, FreeTDS, SQLite ODBC), with the
// spellings some drivers return in the completed string.
const Field kFields[] = {
    {C::kServer, "SERVER", {"SERVERNAME", "HOST", nullptr}},
    {C::kPort, "PORT", {nullptr}},
    {C::kDatabase, "DATABASE", {"DB", nullptr}},
    {C::kUser, "UID", {"USER", "USERNAME", nullptr}},
    {C::kPassword, "PWD", {"PASSWORD", nullptr}},
};
}  // namespace

OdbcDriverPromptDialog::OdbcDriverPromptDialog(const std::string& driverName, const std::string& initial,
                                               QWidget* parent)
    : QDialog(parent), driver_(driverName) {
  setWindowTitle(tr("Connect to %1").arg(QString::fromStdString(driverName)));
  const DialogUnits units;
  controls_.Create(this, kControls, units);
  setFixedSize(units.ToPixels(QSize(247, 169)));
  controls_.As<QLabel>(kDriver)->setText(QString::fromStdString(driverName));
  controls_.As<QLineEdit>(kPort)->setValidator(new QIntValidator(0, 65535, this));
  connect(controls_.As<QPushButton>(kOk), &QPushButton::clicked, this, &OdbcDriverPromptDialog::accept);
  connect(controls_.As<QPushButton>(kCancel), &QPushButton::clicked, this, &OdbcDriverPromptDialog::reject);

  if (initial.empty()) return;
  try {
    const ado::ConnectionString parsed = ado::ConnectionString::Parse(initial);
    ado::ConnectionString other;
    for (const auto& attribute : parsed.Attributes()) {
      if (Is(attribute.key, "DRIVER")) continue;
      const Field* field = nullptr;
      for (const Field& candidate : kFields) {
        bool match = Is(attribute.key, candidate.key);
        for (const char* alias : candidate.aliases) match = match || (alias && Is(attribute.key, alias));
        if (match) field = &candidate;
      }
      if (field)
        controls_.As<QLineEdit>(field->control)->setText(QString::fromStdString(attribute.value));
      else
        other.Set(attribute.key, attribute.value);
    }
    controls_.As<QLineEdit>(kOther)->setText(QString::fromStdString(other.ToOdbcString()));
  } catch (const ado::ComError&) {
    // An unreadable start is kept as typed, for the person to correct.
    controls_.As<QLineEdit>(kOther)->setText(QString::fromStdString(initial));
  }
}

std::optional<std::string> OdbcDriverPromptDialog::BuildConnectionString(bool explain) {
  ado::ConnectionString other;
  try {
    other = ado::ConnectionString::Parse(controls_.As<QLineEdit>(kOther)->text().trimmed().toStdString());
  } catch (const ado::ComError& error) {
    if (explain) {
      QelvoMessageBox("The other attributes cannot be read: " + error.Description(), MB_OK | MB_ICONEXCLAMATION, this);
      Control(kOther)->setFocus();
    }
    return std::nullopt;
  }
  ado::ConnectionString result;
  result.Set("DRIVER", driver_);
  for (const Field& field : kFields) {
    auto* edit = controls_.As<QLineEdit>(field.control);
    // A password may begin or end with blanks; the other fields are trimmed.
    const QString value = field.control == kPassword ? edit->text() : edit->text().trimmed();
    if (!value.isEmpty()) result.Set(field.key, value.toStdString());
  }
  for (const auto& attribute : other.Attributes())
    if (!Is(attribute.key, "DRIVER")) result.Set(attribute.key, attribute.value);
  return result.ToOdbcString();
}

void OdbcDriverPromptDialog::accept() {
  std::optional<std::string> text = BuildConnectionString(true);
  if (!text) return;
  OdbcCompletion completion;
  {
    WaitCursor wait;
    completion = CompleteOdbcConnection(*text);
  }
  if (!completion.ok) {
    QelvoMessageBox("The connection failed:\n" + completion.error, MB_OK | MB_ICONEXCLAMATION, this);
    return;
  }
  result_ = completion.connectionString;
  QDialog::accept();
}

std::string PromptOdbcDriverConnection(QWidget* owner, const std::string& driverName, const std::string& initial) {
  OdbcDriverPromptDialog dialog(driverName, initial, owner);
  if (Prompts().ExecDialog(dialog) != QDialog::Accepted) return {};
  return dialog.Result();
}

namespace {
class DialogDriverPrompt : public OdbcDriverPrompt {
 public:
  std::optional<std::string> Prompt(void* ownerWindow, const std::string& driverName) override {
    std::string completed = PromptOdbcDriverConnection(static_cast<QWidget*>(ownerWindow), driverName);
    if (completed.empty()) return std::nullopt;
    return completed;
  }
};
}  // namespace

void RegisterOdbcDriverPromptDialog() {
  SetOdbcDriverPrompt(std::make_shared<DialogDriverPrompt>());
}
