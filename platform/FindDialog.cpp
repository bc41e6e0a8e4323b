#include "platform/FindDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/framework/ControlTable.h"

namespace {
enum { kFindNext = 1, kCancel = 2, kFindWhat = 1152, kWholeWord = 1040, kMatchCase = 1041, kUp = 1056, kDown = 1057 };

const ControlDef kControls[] = {
    {1065, ControlKind::Static, "Fi&nd what:", 6, 8, 44, 8},
    {kFindWhat, ControlKind::Edit, "", 52, 6, 126, 13},
    {kWholeWord, ControlKind::CheckBox, "Match &whole word only", 6, 26, 98, 12},
    {kMatchCase, ControlKind::CheckBox, "Match &case", 6, 42, 64, 12},
    {1072, ControlKind::GroupBox, "Direction", 108, 24, 70, 32},
    {kUp, ControlKind::RadioButton, "&Up", 113, 38, 28, 12, ControlFlag::GroupStart},
    {kDown, ControlKind::RadioButton, "&Down", 143, 38, 33, 12},
    {kFindNext, ControlKind::DefPushButton, "&Find Next", 184, 5, 56, 14},
    {kCancel, ControlKind::PushButton, "Cancel", 184, 23, 56, 14},
};
}  // namespace

FindDialog::FindDialog(const QString& findWhat, QWidget* owner) : QDialog(owner) {
  setWindowTitle(tr("Find"));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  const DialogUnits units;
  ControlTable table(this, kControls, units);
  findEdit_ = table.As<QLineEdit>(kFindWhat);
  findNext_ = table.As<QPushButton>(kFindNext);
  wholeWord_ = table.As<QCheckBox>(kWholeWord);
  matchCase_ = table.As<QCheckBox>(kMatchCase);
  up_ = table.As<QRadioButton>(kUp);
  down_ = table.As<QRadioButton>(kDown);
  // The group box is made before the radio buttons, so they are drawn above it.
  findNext_->setAutoDefault(true);
  findEdit_->setText(findWhat);
  findEdit_->selectAll();
  down_->setChecked(true);
  setFixedSize(units.ToPixels(QSize(246, 62)));
  connect(findEdit_, &QLineEdit::textChanged, this, &FindDialog::EnableFindNext);
  connect(findNext_, &QPushButton::clicked, this, [this] {
    if (!FindString().isEmpty()) emit FindNext();
  });
  connect(table.As<QPushButton>(kCancel), &QPushButton::clicked, this, &FindDialog::reject);
  EnableFindNext();
}

QString FindDialog::FindString() const {
  return findEdit_->text();
}
bool FindDialog::SearchDown() const {
  return down_->isChecked();
}
bool FindDialog::MatchCase() const {
  return matchCase_->isChecked();
}
bool FindDialog::MatchWholeWord() const {
  return wholeWord_->isChecked();
}

void FindDialog::EnableFindNext() {
  findNext_->setEnabled(!findEdit_->text().isEmpty());
}

void FindDialog::SendClosing() {
  if (closingSent_) return;
  closingSent_ = true;
  emit Closing();
}

void FindDialog::closeEvent(QCloseEvent* event) {
  SendClosing();
  QDialog::closeEvent(event);
}

void FindDialog::done(int result) {
  if (result == QDialog::Accepted) {
    if (findNext_->isEnabled()) findNext_->click();
    return;
  }
  SendClosing();
  QDialog::done(result);
}
