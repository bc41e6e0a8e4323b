// Forms from tables in dialog units: the unit arithmetic, the widgets made, radio groups, tab
// order.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/framework/ControlTable.h"

namespace {

TEST(DialogUnits, MapsQuartersAndEighthsOfTheBaseUnitsRounded) {
  const DialogUnits units(6, 13);
  EXPECT_EQ(units.X(4), 6);
  EXPECT_EQ(units.Y(8), 13);
  EXPECT_EQ(units.X(269), 404);  // 269 * 6 / 4 = 403.5, rounded up
  EXPECT_EQ(units.Y(132), 215);  // 132 * 13 / 8 = 214.5
  EXPECT_EQ(units.ToPixels(QSize(269, 132)), QSize(404, 215));
  // A rectangle maps its edges, so neighbouring controls never overlap or open a gap.
  EXPECT_EQ(units.ToPixels(3, 12, 263, 36), QRect(5, 20, 394, 58));
  EXPECT_EQ(units.ToPixels(3, 12, 263, 36).right() + 1, units.X(266));
}

TEST(DialogUnits, GrowWithTheDialogFont) {
  QFont small;
  small.setPixelSize(10);
  QFont large;
  large.setPixelSize(20);
  const DialogUnits a(small);
  const DialogUnits b(large);
  EXPECT_GT(b.BaseX(), a.BaseX());
  EXPECT_GT(b.BaseY(), a.BaseY());
  EXPECT_GE(a.BaseX(), 1);
}

const ControlDef kForm[] = {
    {1038, ControlKind::Static, "Connection string", 8, 3, 85, 8},
    {1020, ControlKind::RadioButton, "OleDB", 117, 2, 37, 10, ControlFlag::GroupStart},
    {1021, ControlKind::RadioButton, "ODBC", 159, 2, 36, 10},
    {1009, ControlKind::DefPushButton, "...", 219, 1, 20, 9},
    {1000, ControlKind::MultiLineEdit, "", 3, 12, 263, 36, ControlFlag::VScroll},
    {1030, ControlKind::RadioButton, "A", 3, 60, 20, 10, ControlFlag::GroupStart},
    {1031, ControlKind::RadioButton, "B", 30, 60, 20, 10},
    {1082, ControlKind::PushButton, "?", 256, 1, 9, 9, ControlFlag::Hidden},
};

TEST(ControlTable, MakesEveryControlInPlaceWithItsId) {
  QWidget form;
  const DialogUnits units(6, 13);
  ControlTable table(&form, kForm, units);
  auto* label = table.As<QLabel>(1038);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), "Connection string");
  EXPECT_EQ(label->geometry(), units.ToPixels(8, 3, 85, 8));
  auto* editor = table.As<QPlainTextEdit>(1000);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->tabChangesFocus());
  EXPECT_EQ(ControlTable::IdOf(editor), 1000);
  EXPECT_EQ(editor->objectName(), "control1000");
  EXPECT_TRUE(table.As<QPushButton>(1009)->isDefault());
  EXPECT_TRUE(table.As<QPushButton>(1082)->isHidden());
  EXPECT_EQ(table.Get(4242), nullptr);
  EXPECT_EQ(table.As<QLabel>(1009), nullptr) << "wrong type";
}

TEST(ControlTable, RadioGroupsRunFromOneGroupStartToTheNext) {
  QWidget form;
  ControlTable table(&form, kForm, DialogUnits(6, 13));
  QButtonGroup* connection = table.GroupOf(1020);
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(table.GroupOf(1021), connection);
  EXPECT_NE(table.GroupOf(1030), connection);
  EXPECT_EQ(table.GroupOf(1031), table.GroupOf(1030));
  table.As<QRadioButton>(1020)->setChecked(true);
  table.As<QRadioButton>(1030)->setChecked(true);
  table.As<QRadioButton>(1021)->setChecked(true);
  EXPECT_FALSE(table.As<QRadioButton>(1020)->isChecked());
  EXPECT_TRUE(table.As<QRadioButton>(1030)->isChecked()) << "the other group is not affected";
  EXPECT_EQ(connection->checkedId(), 1021);
}

TEST(ControlTable, ALabelsMnemonicLeadsToTheNextControl) {
  static const ControlDef controls[] = {
      {1, ControlKind::Static, "&Name:", 0, 0, 40, 8},
      {2, ControlKind::Edit, "", 44, 0, 80, 12},
      {3, ControlKind::Static, "Plain", 0, 20, 40, 8},
      {4, ControlKind::Edit, "", 44, 20, 80, 12},
  };
  QWidget form;
  ControlTable table(&form, controls, DialogUnits(6, 13));
  EXPECT_EQ(table.As<QLabel>(1)->buddy(), table.Get(2));
  EXPECT_EQ(table.As<QLabel>(3)->buddy(), nullptr);
}

TEST(ControlTable, TabOrderIsTableOrder) {
  QWidget form;
  ControlTable table(&form, kForm, DialogUnits(6, 13));
  EXPECT_EQ(table.Get(1020)->nextInFocusChain(), table.Get(1021));
  EXPECT_EQ(table.Get(1009)->nextInFocusChain(), table.Get(1000));
}

}  // namespace
