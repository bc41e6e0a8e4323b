#pragma once
// Asks for the password of a remembered connection when no secret service keeps it: the
// connection string (passwords masked) and a masked input line.
#include <QDialog>
#include <string>

class QLineEdit;

class PasswordDialog : public QDialog {
  Q_OBJECT
 public:
  explicit PasswordDialog(const std::string& maskedConnection, QWidget* parent = nullptr);

  std::string Password() const;
  QLineEdit* PasswordEdit() const { return edit_; }

 private:
  QLineEdit* edit_ = nullptr;
};
