#include "platform/PasswordDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

PasswordDialog::PasswordDialog(const std::string& maskedConnection, QWidget* parent)
    : QDialog(parent ? parent : QApplication::activeWindow()) {
  setObjectName(QStringLiteral("PasswordDialog"));
  setWindowTitle(QStringLiteral("Password"));
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(QStringLiteral("No secret service keeps the saved password of this connection. "
                                          "Type the password (kept for this session only):"),
                           this);
  intro->setWordWrap(true);
  layout->addWidget(intro);
  // A connection string has no blanks to wrap at: a break is allowed after each attribute.
  QString shown = QString::fromStdString(maskedConnection);
  shown.replace(QLatin1Char(';'), QStringLiteral(";\u200B"));
  auto* connection = new QLabel(shown, this);
  connection->setWordWrap(true);
  connection->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(connection);
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("password"));
  edit_->setEchoMode(QLineEdit::Password);
  layout->addWidget(edit_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  setMinimumWidth(420);
}

std::string PasswordDialog::Password() const {
  return edit_->text().toStdString();
}
