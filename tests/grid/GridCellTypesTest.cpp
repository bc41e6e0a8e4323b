// The cell classes' value rules and their editors.
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QListWidget>

#include "GridTestSupport.h"
#include "grid/GridCellCheck.h"
#include "grid/GridCellCheckEx.h"
#include "grid/GridCellComboEx.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"
#include "grid/GridCellTextWithButton.h"
#include "text/UserLocale.h"

using gridtest::GridWindow;

namespace {

// Runs a test body under a user locale, restoring the environment's afterwards.
class LocaleScope {
 public:
  explicit LocaleScope(const char* name) { ok = SetUserNumericLocale(name); }
  ~LocaleScope() { SetUserNumericLocale(""); }
  bool ok;
};

class GridCells : public ::testing::Test {
 protected:
  void SetUp() override {
    w = std::make_unique<GridWindow>(6, 4, 1, 1, QSize(600, 300));
    gridtest::ShowActive(&w->window, w->grid);
  }
  template <typename Cell>
  Cell* Make(int row, int col) {
    EXPECT_TRUE(g().SetCellType(row, col, &Cell::ClassInfo()));
    return dynamic_cast<Cell*>(g().GetCell(row, col));
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &g();
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    gridtest::Settle();
  }
  void Type(const char* text) {
    QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text));
    gridtest::Settle();
  }
  CGridCtrl& g() const { return *w->grid; }
  std::unique_ptr<GridWindow> w;
};

}  // namespace

TEST_F(GridCells, IntegerCellGroupsByTheUserLocaleAndReadsBack) {
  LocaleScope italian("it_IT.UTF-8");
  ASSERT_TRUE(italian.ok);
  auto* cell = Make<CGridCellInteger>(1, 1);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->GetWidth(), 10);
  cell->SetInteger(1234567);
  EXPECT_EQ(cell->GetText(), "1234567");
  cell->SetThousandSeparator(true);
  EXPECT_EQ(cell->GetText(), "1.234.567");
  EXPECT_EQ(cell->GetInteger(), 1234567);
  cell->SetText("");
  EXPECT_EQ(cell->GetText(), "");
  cell->SetText("7.654.321");
  EXPECT_EQ(cell->GetInteger(), 7654321);
  cell->SetThousandSeparator(false);
  cell->SetText("42abc");
  EXPECT_EQ(cell->GetText(), "42") << "read as the C library reads a long";
  EXPECT_FALSE(g().ValidateCellText(1, 1, "12x"));
  EXPECT_TRUE(g().ValidateCellText(1, 1, "-12"));
}

TEST_F(GridCells, IntegerEditorTakesDigitsUpToItsWidth) {
  auto* cell = Make<CGridCellInteger>(1, 1);
  cell->SetWidth(4);
  cell->SetInteger(99);
  g().SetFocusCell(1, 1);
  Key(Qt::Key_A);
  auto* editor = qobject_cast<QLineEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "99") << "a letter is no digit, even as the first key";
  Key(Qt::Key_Escape);
  Key(Qt::Key_7);
  editor = qobject_cast<QLineEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "7");
  Type("x-12345");
  EXPECT_EQ(editor->text(), "7123");
  Key(Qt::Key_Backspace);
  EXPECT_EQ(editor->text(), "712");
  Key(Qt::Key_Return);
  EXPECT_EQ(g().GetCellText(1, 1), "712");
}

TEST_F(GridCells, NumberEditorsTakeALeadingMinusOnly) {
  LocaleScope c("C.UTF-8");
  auto* integer = Make<CGridCellInteger>(1, 1);
  integer->SetInteger(5);
  g().SetFocusCell(1, 1);
  Key(Qt::Key_Minus);
  auto* editor = qobject_cast<QLineEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  Type("4-2");
  EXPECT_EQ(editor->text(), "-42") << "a second minus, or one inside the digits, is refused";
  Key(Qt::Key_Return);
  EXPECT_EQ(g().GetCellText(1, 1), "-42");

  auto* numeric = Make<CGridCellNumericEx>(2, 1);
  numeric->SetDecimals(2);
  numeric->SetNumber(7);
  g().SetFocusCell(2, 1);
  Key(Qt::Key_F2);
  editor = qobject_cast<QLineEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  Key(Qt::Key_Home);
  Type("-");
  Key(Qt::Key_End);
  Type("-");
  EXPECT_EQ(editor->text(), "-7.00");
  Key(Qt::Key_Return);
  EXPECT_EQ(g().GetCellText(2, 1), "-7.00");
}

TEST_F(GridCells, NumericCellShowsItsDecimals) {
  LocaleScope c("C.UTF-8");
  auto* cell = Make<CGridCellNumericEx>(1, 1);
  cell->SetDecimals(2);
  cell->SetNumber(3.5);
  EXPECT_EQ(cell->GetText(), "3.50");
  EXPECT_DOUBLE_EQ(cell->GetNumber(), 3.5);
  cell->SetText("2.675");
  EXPECT_EQ(cell->GetText(), "2.67") << "as %.*lf rounds the binary value";
  cell->SetText("");
  EXPECT_EQ(cell->GetText(), "");
  LocaleScope german("de_DE.UTF-8");
  ASSERT_TRUE(german.ok);
  cell->SetNumber(1234.5);
  EXPECT_EQ(cell->GetText(), "1234,50");
  cell->SetThousandSeparator(true);
  EXPECT_EQ(cell->GetText(), "1.234,50");
  EXPECT_DOUBLE_EQ(cell->GetNumber(), 1234.5);
  EXPECT_FALSE(g().ValidateCellText(1, 1, "1,2,3"));
}

TEST_F(GridCells, NumericEditorLimitsDigitsAroundOneDecimalPoint) {
  LocaleScope c("C.UTF-8");
  auto* cell = Make<CGridCellNumericEx>(1, 1);
  cell->SetWidth(10);
  cell->SetDecimals(2);
  g().SetFocusCell(1, 1);
  Key(Qt::Key_1);
  auto* editor = qobject_cast<QLineEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  Type("23456789");
  EXPECT_EQ(editor->text(), "1234567") << "width 10, 2 decimals: at most 7 digits before the point";
  Type("-,55.5");
  EXPECT_EQ(editor->text(), "1234567.55") << "',' types the point, a second point and a third decimal are refused";
  Key(Qt::Key_Return);
  EXPECT_EQ(g().GetCellText(1, 1), "1234567.55");
  cell->SetDecimals(0);
  g().SetFocusCell(2, 1);
  g().SetFocusCell(1, 1);
  Key(Qt::Key_F2);
  Type(".5");
  editor = qobject_cast<QLineEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "12345685") << "no point without decimals";
  Key(Qt::Key_Escape);
}

TEST_F(GridCells, DateCellTextsFollowTheDisplayCode) {
  auto* cell = Make<CGridCellDateTimeEx>(1, 1);
  cell->SetDisplayCode(CGridCellDateTimeEx::kDisplayDateTime);
  EXPECT_EQ(cell->GetStatus(), CGridCellDateTimeEx::Status::Null);
  EXPECT_EQ(cell->GetText(), "");
  EXPECT_EQ(cell->GetFormat(), DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS);
  cell->SetDateTime(GridDateTime{2024, 3, 9, 14, 5, 7});
  EXPECT_EQ(cell->GetText(), "09/03/2024 14:05:07");
  cell->SetDisplayCode(CGridCellDateTimeEx::kDisplayTime);
  EXPECT_EQ(cell->GetStatus(), CGridCellDateTimeEx::Status::Null) << "a new code resets the value";
  cell->SetDateTime(GridDateTime{2024, 3, 9, 14, 5, 7});
  EXPECT_EQ(cell->GetText(), "14:05:07");
  cell->SetDisplayCode(CGridCellDateTimeEx::kDisplayDate);
  cell->SetDateTime(GridDateTime{1999, 12, 31, 0, 0, 0});
  EXPECT_EQ(cell->GetText(), "31/12/1999");
  cell->SetDateTime(GridDateTime{2023, 2, 30, 0, 0, 0});
  EXPECT_EQ(cell->GetStatus(), CGridCellDateTimeEx::Status::Invalid);
  EXPECT_EQ(cell->GetText(), "");
  cell->SetText("01/02/45");
  EXPECT_EQ(cell->GetDateTime().year, 1945);
  cell->SetText("01/02/2045");
  EXPECT_EQ(cell->GetDateTime().year, 2045);
  EXPECT_EQ(cell->GetText(), "01/02/2045");
  // Years a century apart, and years before 1000, stay apart with day first.
  cell->SetDateTime(GridDateTime{753, 4, 21, 0, 0, 0});
  EXPECT_EQ(cell->GetText(), "21/04/0753");
  cell->SetDateTime(GridDateTime{1953, 4, 21, 0, 0, 0});
  EXPECT_EQ(cell->GetText(), "21/04/1953");
  cell->SetDateTime(GridDateTime{2053, 4, 21, 0, 0, 0});
  EXPECT_EQ(cell->GetText(), "21/04/2053");
  cell->SetText("21/04/0753");
  EXPECT_EQ(cell->GetDateTime().year, 753) << "the shown text reads back as the same year";
  EXPECT_FALSE(g().ValidateCellText(1, 1, "31/02/24"));
  EXPECT_TRUE(g().ValidateCellText(1, 1, ""));
}

TEST_F(GridCells, DateEditorCommitsThePickedValueOnly) {
  gridtest::NotifyLog log(g());
  auto* cell = Make<CGridCellDateTimeEx>(1, 1);
  cell->SetDisplayCode(CGridCellDateTimeEx::kDisplayDateTime);
  cell->SetDateTime(GridDateTime{2045, 6, 15, 10, 0, 0});
  g().SetFocusCell(1, 1);
  Key(Qt::Key_F2);
  auto* editor = qobject_cast<QDateTimeEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->displayFormat(), QStringLiteral("dd/MM/yyyy HH:mm:ss"));
  EXPECT_FALSE(editor->calendarPopup());
  Key(Qt::Key_Down);  // changes the day section, does not end the edit
  ASSERT_NE(g().GetEditor(), nullptr);
  Key(Qt::Key_Return);
  EXPECT_EQ(g().GetEditor(), nullptr);
  EXPECT_EQ(cell->GetDateTime().day, 14);
  EXPECT_EQ(cell->GetDateTime().month, 6);
  EXPECT_EQ(cell->GetDateTime().year, 2045) << "the edit keeps the century";
  EXPECT_EQ(log.Count(kNotifyEndEdit), 1);
  Key(Qt::Key_F2);
  Key(Qt::Key_Up);
  Key(Qt::Key_Escape);
  EXPECT_EQ(cell->GetDateTime().day, 14);
  EXPECT_EQ(log.Count(kNotifyEndEdit), 1);
  cell->SetDisplayCode(CGridCellDateTimeEx::kDisplayDate);
  Key(Qt::Key_F2);
  editor = qobject_cast<QDateTimeEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->calendarPopup());
  EXPECT_EQ(editor->displayFormat(), QStringLiteral("dd/MM/yyyy"));
  Key(Qt::Key_Escape);
  EXPECT_EQ(cell->GetStatus(), CGridCellDateTimeEx::Status::Null)
      << "opening a null date without a change keeps it null";
}

TEST_F(GridCells, CheckCellTogglesByClickEnterAndSpaceThroughTheEditPath) {
  gridtest::NotifyLog log(g());
  auto* cell = Make<CGridCellCheck>(2, 2);
  ASSERT_NE(cell, nullptr);
  EXPECT_FALSE(cell->GetCheck());
  QRect rect;
  ASSERT_TRUE(g().GetCellRect(2, 2, rect));
  const QPoint box = cell->CheckArea(rect).center();
  QTest::mouseClick(g().viewport(), Qt::LeftButton, Qt::NoModifier, box);
  gridtest::Settle();
  EXPECT_TRUE(cell->GetCheck());
  EXPECT_EQ(g().GetCellText(2, 2), "1");
  EXPECT_EQ(log.Count(kNotifyEndEdit), 1);
  g().SetFocusCell(2, 2);
  Key(Qt::Key_Space);
  EXPECT_FALSE(cell->GetCheck());
  EXPECT_EQ(g().GetCellText(2, 2), "0");
  log.answerEndEdit = -1;
  Key(Qt::Key_Return);
  EXPECT_FALSE(cell->GetCheck()) << "a refused change restores the flag";
  log.answerEndEdit = 0;
  g().SetCellState(2, 2, kCellReadOnly);
  Key(Qt::Key_Space);
  EXPECT_FALSE(cell->GetCheck());
  QTest::mouseClick(g().viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(rect.right() - 2, rect.center().y()));
  EXPECT_FALSE(cell->GetCheck()) << "only the check box area toggles";
}

TEST_F(GridCells, CheckExEditorTogglesWithSpaceAndCommitsTheState) {
  auto* cell = Make<CGridCellCheckEx>(2, 2);
  cell->SetCheck(false);
  EXPECT_EQ(cell->GetText(), "0");
  g().SetFocusCell(2, 2);
  Key(Qt::Key_Space);
  auto* box = qobject_cast<QCheckBox*>(g().GetEditor());
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(box->isChecked()) << "the Space that opened it toggles it";
  Key(Qt::Key_Tab);
  EXPECT_EQ(g().GetEditor(), nullptr);
  EXPECT_TRUE(cell->GetCheck());
  EXPECT_EQ(g().GetCellData(2, 2), 1);
  EXPECT_EQ(g().GetFocusCell(), CellId(2, 3));
  g().SetFocusCell(2, 2);
  Key(Qt::Key_F2);
  Key(Qt::Key_Space);
  Key(Qt::Key_Escape);
  EXPECT_TRUE(cell->GetCheck()) << "Escape restores";
  Key(Qt::Key_F2);
  Key(Qt::Key_Space);
  Key(Qt::Key_Down);
  EXPECT_FALSE(cell->GetCheck());
  EXPECT_EQ(g().GetFocusCell(), CellId(3, 2)) << "navigation keys end it and move on";
}

TEST_F(GridCells, ComboEditorDropsTheListAndCommitsTheChosenItem) {
  gridtest::NotifyLog log(g());
  auto* cell = Make<CGridCellComboEx>(1, 1);
  cell->AddItem(10, "Red");
  cell->AddItem(20, "Green");
  cell->AddItem(30, "Blue with a rather long name");
  cell->SetData(20);
  EXPECT_EQ(cell->GetText(), "Green");
  g().SetFocusCell(1, 1);
  Key(Qt::Key_F2);
  auto* list = qobject_cast<QListWidget*>(g().GetEditor());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->currentRow(), 1);
  QRect rect;
  ASSERT_TRUE(g().GetCellRect(1, 1, rect));
  EXPECT_EQ(list->height(), 5 * rect.height() + list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
  EXPECT_LE(list->width(), std::max(200, rect.width()));
  Key(Qt::Key_Down);
  Key(Qt::Key_Return);
  EXPECT_EQ(g().GetEditor(), nullptr);
  EXPECT_EQ(cell->GetData(), 30);
  EXPECT_EQ(g().GetCellText(1, 1), "Blue with a rather long name");
  EXPECT_EQ(log.Count(kNotifyEndEdit), 1);
  Key(Qt::Key_F2);
  Key(Qt::Key_Up);
  Key(Qt::Key_Escape);
  EXPECT_EQ(cell->GetData(), 30);
  EXPECT_FALSE(g().ValidateCellText(1, 1, "Purple"));
  EXPECT_TRUE(g().SetCellTextByUser(1, 1, "Red"));
  EXPECT_EQ(cell->GetData(), 10);
}

TEST_F(GridCells, ButtonCellNotifiesEndEditWithoutEditing) {
  gridtest::NotifyLog log(g());
  Make<CGridCellTextWithButton>(2, 2);
  g().SetCellText(2, 2, "notes");
  QRect rect;
  ASSERT_TRUE(g().GetCellRect(2, 2, rect));
  const QPoint button = CGridCellTextWithButton::ButtonArea(rect).center();
  QTest::mouseClick(g().viewport(), Qt::LeftButton, Qt::NoModifier, button);
  QTest::mouseClick(g().viewport(), Qt::LeftButton, Qt::NoModifier, button);  // now on the focus cell
  gridtest::Settle();
  EXPECT_EQ(g().GetEditor(), nullptr) << "the button is not the editor";
  EXPECT_EQ(log.Count(kNotifyEndEdit), 2);
  EXPECT_EQ(log.Count(kNotifyBeginEdit), 2);
  log.answerBeginEdit = -1;
  QTest::mouseClick(g().viewport(), Qt::LeftButton, Qt::NoModifier, button);
  EXPECT_EQ(log.Count(kNotifyEndEdit), 2) << "a refused begin-edit stops it";
  log.answerBeginEdit = 0;
  g().SetFocusCell(2, 2);
  Key(Qt::Key_F2);
  auto* editor = qobject_cast<QLineEdit*>(g().GetEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_GE(editor->x(), CGridCellTextWithButton::ButtonArea(rect).right()) << "the text is edited after the button";
  Key(Qt::Key_Escape);
}
