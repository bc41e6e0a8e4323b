// The key table, typing into cells, and the in-place editor's keys, with real key presses.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "GridTestSupport.h"

using gridtest::GridWindow;

namespace {

class GridKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    w = std::make_unique<GridWindow>(8, 5, 1, 1, QSize(500, 400));
    w->FillTexts();
    // A widget after the grid, to see the focus leave it.
    after = new QLineEdit(&w->window);
    w->window.layout()->addWidget(after);
    gridtest::ShowActive(&w->window, w->grid);
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : g();
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
    gridtest::Settle();
  }
  void Type(const char* text) {
    QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text));
    gridtest::Settle();
  }
  CGridCtrl* g() const { return w->grid; }
  QLineEdit* Editor() const { return qobject_cast<QLineEdit*>(g()->GetEditor()); }

  std::unique_ptr<GridWindow> w;
  QLineEdit* after = nullptr;
};

}  // namespace

TEST_F(GridKeys, ArrowsSkipHiddenRowsAndColumnsAndStopAtTheEnds) {
  g()->SetColumnWidth(2, 0);
  g()->SetRowHeight(3, 0);
  g()->SetFocusCell(2, 1);
  Key(Qt::Key_Right);
  EXPECT_EQ(g()->GetFocusCell(), CellId(2, 3));
  Key(Qt::Key_Down);
  EXPECT_EQ(g()->GetFocusCell(), CellId(4, 3));
  Key(Qt::Key_Left);
  Key(Qt::Key_Left);
  EXPECT_EQ(g()->GetFocusCell(), CellId(4, 1)) << "never into the fixed column";
  Key(Qt::Key_Up);
  Key(Qt::Key_Up);
  Key(Qt::Key_Up);
  EXPECT_EQ(g()->GetFocusCell(), CellId(1, 1));
  EXPECT_EQ(g()->GetSelectionRange(), CellRange(1, 1, 1, 1)) << "the selection follows the focus";
}

TEST_F(GridKeys, ShiftExtendsTheSelectionFromTheAnchorAndMovesAreNotified) {
  gridtest::NotifyLog log(*g());
  g()->SetFocusCell(2, 2);
  Key(Qt::Key_Right);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(g()->GetSelectionRange(), CellRange(2, 3, 4, 3));
  Key(Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(g()->GetSelectionRange(), CellRange(2, 2, 4, 3));
  EXPECT_EQ(log.Codes(),
            (std::vector<int>{kNotifySelChanging, kNotifySelChanged, kNotifySelChanging, kNotifySelChanged,
                              kNotifySelChanging, kNotifySelChanged, kNotifySelChanging, kNotifySelChanged}));
  EXPECT_EQ(log.entries.back().row, 4);
  EXPECT_EQ(log.entries.back().col, 2);
}

TEST_F(GridKeys, TabWrapsToTheNextRowAndLeavesTheGridAtTheVeryEnd) {
  g()->SetFocusCell(1, 4);
  Key(Qt::Key_Tab);
  EXPECT_EQ(g()->GetFocusCell(), CellId(2, 1));
  Key(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_EQ(g()->GetFocusCell(), CellId(1, 4));
  g()->SetFocusCell(7, 4);
  ASSERT_TRUE(g()->hasFocus());
  Key(Qt::Key_Tab);
  EXPECT_EQ(g()->GetFocusCell(), CellId(7, 4));
  EXPECT_TRUE(after->hasFocus()) << "Tab on the last cell passes the focus on";
}

TEST_F(GridKeys, PagesHomeAndEnd) {
  g()->SetRowCount(200);
  g()->SetFocusCell(1, 2);
  const int top = g()->GetTopRow();
  Key(Qt::Key_PageDown);
  const int moved = g()->GetTopRow() - top;
  EXPECT_GT(moved, 3);
  EXPECT_EQ(g()->GetFocusCell(), CellId(1 + moved, 2)) << "the focus moves as far as the view";
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(g()->GetFocusCell(), CellId(199, 4));
  EXPECT_TRUE(g()->IsCellVisible(199, 4));
  Key(Qt::Key_PageDown);
  EXPECT_EQ(g()->GetFocusCell(), CellId(199, 4)) << "the view cannot move: the last row";
  Key(Qt::Key_Home);
  EXPECT_EQ(g()->GetFocusCell(), CellId(199, 1));
  Key(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(g()->GetFocusCell(), CellId(1, 1));
  EXPECT_EQ(g()->GetTopRow(), 1);
  Key(Qt::Key_PageUp);
  EXPECT_EQ(g()->GetFocusCell(), CellId(1, 1));
}

TEST_F(GridKeys, TypingReplacesTheTextAndEnterCommits) {
  gridtest::NotifyLog log(*g());
  g()->SetFocusCell(2, 2);
  Key(Qt::Key_X);
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->text(), "x") << "the typed character replaces the whole text";
  Type("yz");
  Key(Qt::Key_Return);
  EXPECT_EQ(g()->GetEditor(), nullptr);
  EXPECT_EQ(g()->GetCellText(2, 2), "xyz");
  EXPECT_TRUE(g()->GetModified(2, 2));
  EXPECT_EQ(log.Count(kNotifyBeginEdit), 1);
  EXPECT_EQ(log.Count(kNotifyEndEdit), 1);
  EXPECT_TRUE(g()->hasFocus());
}

TEST_F(GridKeys, F2KeepsTheTextAndEscapeRestoresIt) {
  gridtest::NotifyLog log(*g());
  g()->SetFocusCell(2, 2);
  Key(Qt::Key_F2);
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->text(), "r2c2");
  EXPECT_EQ(Editor()->cursorPosition(), 4);
  EXPECT_FALSE(Editor()->hasSelectedText());
  Type("!!");
  Key(Qt::Key_Down);  // opened by F2: the arrow stays in the editor
  ASSERT_NE(Editor(), nullptr);
  Key(Qt::Key_Escape);
  EXPECT_EQ(g()->GetEditor(), nullptr);
  EXPECT_EQ(g()->GetCellText(2, 2), "r2c2");
  EXPECT_EQ(log.Count(kNotifyEndEdit), 0) << "unchanged text: no end-edit notification";
}

TEST_F(GridKeys, BackspaceOpensWithTheLastCharacterRemoved) {
  g()->SetFocusCell(3, 1);
  Key(Qt::Key_Backspace);
  ASSERT_NE(Editor(), nullptr);
  EXPECT_EQ(Editor()->text(), "r3c");
}

TEST_F(GridKeys, ArrowsEndAnEditorOpenedByTypingAndMoveOn) {
  g()->SetFocusCell(2, 2);
  Key(Qt::Key_A);
  Key(Qt::Key_Down);
  EXPECT_EQ(g()->GetEditor(), nullptr);
  EXPECT_EQ(g()->GetCellText(2, 2), "a");
  EXPECT_EQ(g()->GetFocusCell(), CellId(3, 2));
  Key(Qt::Key_B);
  Key(Qt::Key_Tab);
  EXPECT_EQ(g()->GetCellText(3, 2), "b");
  EXPECT_EQ(g()->GetFocusCell(), CellId(3, 3)) << "the key that ended the editor moves the focus";
}

TEST_F(GridKeys, RefusedEditsOpenNoEditorOrRestoreTheText) {
  gridtest::NotifyLog log(*g());
  g()->SetFocusCell(2, 2);
  log.answerBeginEdit = -1;
  Key(Qt::Key_Q);
  EXPECT_EQ(g()->GetEditor(), nullptr);
  log.answerBeginEdit = 0;
  log.answerEndEdit = -1;
  Key(Qt::Key_Q);
  Key(Qt::Key_Return);
  EXPECT_EQ(g()->GetCellText(2, 2), "r2c2");
  EXPECT_FALSE(g()->GetModified(2, 2));
  g()->SetCellState(2, 3, kCellReadOnly);
  g()->SetFocusCell(2, 3);
  Key(Qt::Key_Q);
  EXPECT_EQ(g()->GetEditor(), nullptr) << "read-only";
  g()->SetEditable(false);
  g()->SetFocusCell(2, 1);
  Key(Qt::Key_F2);
  EXPECT_EQ(g()->GetEditor(), nullptr) << "grid not editable";
}

TEST_F(GridKeys, CtrlASelectsEveryScrolledCell) {
  g()->SetFocusCell(3, 3);
  Key(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(g()->GetSelectionRange(), CellRange(1, 1, 7, 4));
  EXPECT_EQ(g()->GetEditor(), nullptr);
}

TEST_F(GridKeys, DeleteClearsTheSelectedCellsThroughTheNotifications) {
  gridtest::NotifyLog log(*g());
  g()->SetFocusCell(2, 2);
  g()->SelectRange(2, 2, 3, 3);
  g()->SetCellState(3, 3, kCellReadOnly | kCellSelected);
  Key(Qt::Key_Delete);
  EXPECT_EQ(g()->GetCellText(2, 2), "");
  EXPECT_EQ(g()->GetCellText(3, 2), "");
  EXPECT_EQ(g()->GetCellText(3, 3), "r3c3") << "read-only cells keep their text";
  EXPECT_EQ(log.Count(kNotifyBeginEdit), 3);
  EXPECT_EQ(log.Count(kNotifyEndEdit), 3);
}

TEST_F(GridKeys, LongTextCellsEditInAMultiLineEditorWithItsLimit) {
  g()->SetCellLongText(2, 2, true);
  g()->SetCellMaxLength(2, 2, 6);
  g()->SetFocusCell(2, 2);
  Key(Qt::Key_F2);
  auto* editor = qobject_cast<QPlainTextEdit*>(g()->GetEditor());
  ASSERT_NE(editor, nullptr);
  Key(Qt::Key_Return);  // a new line, not the end
  ASSERT_NE(g()->GetEditor(), nullptr);
  Type("abcdef");
  EXPECT_EQ(editor->toPlainText().size(), 6);
  Key(Qt::Key_Tab);
  EXPECT_EQ(g()->GetCellText(2, 2), "r2c2\na");
}

TEST_F(GridKeys, SingleLineLimitAndWideningEditor) {
  g()->SetCellMaxLength(2, 2, 3);
  g()->SetFocusCell(2, 2);
  Key(Qt::Key_1);
  Type("2345");
  EXPECT_EQ(Editor()->text(), "123");
  Key(Qt::Key_Return);
  g()->SetFocusCell(3, 1);
  Key(Qt::Key_A);
  const int before = Editor()->width();
  Type("a long text that does not fit the cell at all");
  EXPECT_GT(Editor()->width(), before);
  EXPECT_LE(Editor()->geometry().right(), g()->viewport()->width());
}
