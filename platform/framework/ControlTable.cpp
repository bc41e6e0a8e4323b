#include "platform/framework/ControlTable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {
constexpr const char* kIdProperty = "controlId";

QWidget* MakeControl(const ControlDef& def, QWidget* parent) {
  const QString caption = QString::fromUtf8(def.caption ? def.caption : "");
  const bool readOnly = def.flags & ControlFlag::ReadOnly;
  switch (def.kind) {
    case ControlKind::Static: {
      auto* label = new QLabel(caption, parent);
      label->setAlignment((def.flags & ControlFlag::RightAlign ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
      return label;
    }
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
      auto* button = new QPushButton(caption, parent);
      button->setDefault(def.kind == ControlKind::DefPushButton);
      button->setAutoDefault(false);
      return button;
    }
    case ControlKind::RadioButton:
      return new QRadioButton(caption, parent);
    case ControlKind::CheckBox:
      return new QCheckBox(caption, parent);
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(caption, parent);
      edit->setReadOnly(readOnly);
      if (def.flags & ControlFlag::Password) edit->setEchoMode(QLineEdit::Password);
      if (def.flags & ControlFlag::RightAlign) edit->setAlignment(Qt::AlignRight);
      return edit;
    }
    case ControlKind::MultiLineEdit: {
      auto* edit = new QPlainTextEdit(caption, parent);
      edit->setReadOnly(readOnly);
      edit->setTabChangesFocus(true);
      edit->setVerticalScrollBarPolicy(def.flags & ControlFlag::VScroll ? Qt::ScrollBarAlwaysOn
                                                                        : Qt::ScrollBarAsNeeded);
      edit->setLineWrapMode(def.flags & ControlFlag::HScroll ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
      return edit;
    }
    case ControlKind::ListBox:
      return new QListWidget(parent);
    case ControlKind::ComboBox:
    case ControlKind::DropDownList: {
      auto* combo = new QComboBox(parent);
      combo->setEditable(def.kind == ControlKind::ComboBox);
      return combo;
    }
    case ControlKind::GroupBox:
      return new QGroupBox(caption, parent);
    case ControlKind::Frame: {
      auto* frame = new QFrame(parent);
      frame->setFrameStyle(QFrame::Box | QFrame::Plain);
      return frame;
    }
    case ControlKind::Placeholder:
      return new QWidget(parent);
  }
  return new QWidget(parent);
}
}  // namespace

ControlTable::ControlTable(QWidget* parent, std::span<const ControlDef> controls, const DialogUnits& units) {
  Create(parent, controls, units);
}

void ControlTable::Create(QWidget* parent, std::span<const ControlDef> controls, const DialogUnits& units) {
  QButtonGroup* group = nullptr;
  QLabel* pendingMnemonic = nullptr;
  for (const ControlDef& def : controls) {
    QWidget* control = MakeControl(def, parent);
    // A label's "&" letter moves the focus to the control after it, as in a dialog template.
    if (pendingMnemonic) pendingMnemonic->setBuddy(control);
    pendingMnemonic = nullptr;
    if (auto* label = qobject_cast<QLabel*>(control); label && label->text().contains('&')) pendingMnemonic = label;
    control->setProperty(kIdProperty, def.id);
    control->setObjectName(QStringLiteral("control%1").arg(def.id));
    control->setGeometry(units.ToPixels(def.x, def.y, def.width, def.height));
    if (def.flags & ControlFlag::NoTabStop) control->setFocusPolicy(Qt::ClickFocus);
    if (def.flags & ControlFlag::Disabled) control->setEnabled(false);
    if (def.flags & ControlFlag::Hidden) control->hide();
    if (auto* radio = qobject_cast<QRadioButton*>(control)) {
      if (!group || (def.flags & ControlFlag::GroupStart)) {
        group = new QButtonGroup(parent);
        group->setExclusive(true);
      }
      radio->setAutoExclusive(false);
      group->addButton(radio, def.id);
      groups_[def.id] = group;
    } else {
      group = nullptr;
    }
    controls_[def.id] = control;
  }
}

QWidget* ControlTable::Get(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second.data();
}

QButtonGroup* ControlTable::GroupOf(int id) const {
  auto it = groups_.find(id);
  return it == groups_.end() ? nullptr : it->second;
}

int ControlTable::IdOf(const QWidget* control) {
  return control ? control->property(kIdProperty).toInt() : 0;
}
