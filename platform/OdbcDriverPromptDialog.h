#pragma once
// The ODBC driver prompt: unixODBC cannot ask for a driver's attributes, so this dialog does.
// It shows the driver's usual attributes (server, port, database, user, password) and a line of
// free attributes; OK completes "DRIVER={name};..." with SQL_DRIVER_NOPROMPT. A refused
// connection is explained and the dialog stays open, so the person can correct it; Cancel ends
// it with nothing.
//
// Wiring: RegisterOdbcDriverPromptDialog makes this dialog the data layer's driver prompt
// (data/OdbcDriverPrompt.h), so BuildOdbcConnectionString(owner, driver) shows it; the opaque
// owner handed there must be a QWidget* (or null).
#include <QDialog>
#include <optional>
#include <string>

#include "platform/framework/ControlTable.h"

class OdbcDriverPromptDialog : public QDialog {
  Q_OBJECT
 public:
  enum ControlId {
    kDriver = 1200,
    kServer = 1201,
    kPort = 1202,
    kDatabase = 1203,
    kUser = 1204,
    kPassword = 1205,
    kOther = 1206,
    kOk = 1,
    kCancel = 2,
  };

  // `initial` may hold attributes to start from ("SERVER=db;PORT=5433"); its DRIVER is ignored.
  OdbcDriverPromptDialog(const std::string& driverName, const std::string& initial = {}, QWidget* parent = nullptr);

  // "DRIVER={name};SERVER=...;..." from the fields; nothing (and a message) when the free
  // attributes cannot be read.
  std::optional<std::string> BuildConnectionString(bool explain);
  // The completed string after OK.
  const std::string& Result() const { return result_; }

  QWidget* Control(int id) const { return controls_.Get(id); }

  void accept() override;

 private:
  std::string driver_;
  ControlTable controls_;
  std::string result_;
};

// Runs the prompt (through the prompt seam): the completed connection string, or empty on
// Cancel or when no connection could be made.
std::string PromptOdbcDriverConnection(QWidget* owner, const std::string& driverName, const std::string& initial = {});

// Registers the dialog as the data layer's OdbcDriverPrompt.
void RegisterOdbcDriverPromptDialog();
