#pragma once
// Forms and dialogs described as tables of controls in dialog units, like a dialog template:
//
//   static const ControlDef kControls[] = {
//       {1038, ControlKind::Static, "Connection string", 8, 3, 85, 8},
//       {1020, ControlKind::RadioButton, "OleDB", 117, 2, 37, 10, ControlFlag::GroupStart},
//       ...};
//   ControlTable table(form, kControls, DialogUnits());
//   auto* editor = table.As<QPlainTextEdit>(1000);
//
// Controls are created in table order, which is also the tab order. Each carries its id in the
// property "controlId" and the object name "control<id>". Radio buttons form one exclusive group
// from a GroupStart button up to the next one (or a non-radio control). A static text with an
// "&" mnemonic leads to the control after it in the table.
#include <QPointer>
#include <QWidget>
#include <span>
#include <string>
#include <unordered_map>

#include "platform/framework/DialogUnits.h"

class QButtonGroup;

enum class ControlKind {
  Static,         // QLabel
  PushButton,     // QPushButton
  DefPushButton,  // QPushButton, the default button
  RadioButton,    // QRadioButton
  CheckBox,       // QCheckBox
  Edit,           // QLineEdit
  MultiLineEdit,  // QPlainTextEdit, Tab moves the focus
  ListBox,        // QListWidget
  ComboBox,       // QComboBox, editable
  DropDownList,   // QComboBox, list only
  GroupBox,       // QGroupBox
  Frame,          // QFrame drawn as a box: marks where a control made in code goes
  Placeholder,    // a plain QWidget
};

namespace ControlFlag {
enum : unsigned {
  None = 0,
  GroupStart = 1u << 0,  // starts a radio group
  ReadOnly = 1u << 1,
  Password = 1u << 2,
  VScroll = 1u << 3,
  HScroll = 1u << 4,
  NoTabStop = 1u << 5,
  RightAlign = 1u << 6,
  Hidden = 1u << 7,
  Disabled = 1u << 8,
};
}

struct ControlDef {
  int id;
  ControlKind kind;
  const char* caption;
  int x, y, width, height;  // dialog units
  unsigned flags = ControlFlag::None;
};

class ControlTable {
 public:
  ControlTable() = default;
  ControlTable(QWidget* parent, std::span<const ControlDef> controls, const DialogUnits& units);

  // Creates the controls as children of parent; may be called again for more controls.
  void Create(QWidget* parent, std::span<const ControlDef> controls, const DialogUnits& units);

  QWidget* Get(int id) const;
  template <class T>
  T* As(int id) const {
    return qobject_cast<T*>(Get(id));
  }
  // The radio group a radio button belongs to (null for other controls).
  QButtonGroup* GroupOf(int id) const;

  // The id a control was created with; 0 for other widgets.
  static int IdOf(const QWidget* control);

 private:
  std::unordered_map<int, QPointer<QWidget>> controls_;
  std::unordered_map<int, QButtonGroup*> groups_;
};
