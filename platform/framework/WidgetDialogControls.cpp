#include "platform/framework/WidgetDialogControls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

std::string WidgetDialogControls::GetText(int id) const {
  QWidget* control = table_.Get(id);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text().toStdString();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) return edit->toPlainText().toStdString();
  if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentText().toStdString();
  if (auto* label = qobject_cast<QLabel*>(control)) return label->text().toStdString();
  if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text().toStdString();
  return {};
}

void WidgetDialogControls::SetText(int id, const std::string& text) {
  QWidget* control = table_.Get(id);
  const QString value = QString::fromStdString(text);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(value);
    // A long value is seen from its start.
    edit->setCursorPosition(0);
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
    edit->setPlainText(value);
  } else if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->isEditable()) {
    combo->setEditText(value);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(value);
  } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setText(value);
  }
}

bool WidgetDialogControls::IsChecked(int id) const {
  auto* button = table_.As<QAbstractButton>(id);
  return button && button->isChecked();
}

void WidgetDialogControls::SetChecked(int id, bool checked) {
  auto* button = table_.As<QAbstractButton>(id);
  if (!button) return;
  // A stored choice outside a radio group's range leaves no button checked: the group must allow it.
  QButtonGroup* group = table_.GroupOf(id);
  if (group) group->setExclusive(false);
  button->setChecked(checked);
  if (group) group->setExclusive(true);
}

void WidgetDialogControls::SetItems(int id, const std::vector<std::string>& items) {
  auto* combo = table_.As<QComboBox>(id);
  if (!combo) return;
  combo->clear();
  for (const std::string& item : items) combo->addItem(QString::fromStdString(item));
}

int WidgetDialogControls::GetSelection(int id) const {
  auto* combo = table_.As<QComboBox>(id);
  return combo ? combo->currentIndex() : -1;
}

void WidgetDialogControls::SetSelection(int id, int index) {
  auto* combo = table_.As<QComboBox>(id);
  if (!combo) return;
  // An index the list does not have selects nothing, as the list control does.
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}
