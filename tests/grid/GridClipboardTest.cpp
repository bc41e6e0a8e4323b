// The clipboard texts and pasting, each change going through the edit notifications.
#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>

#include "GridTestSupport.h"

using gridtest::GridWindow;

namespace {

class GridClipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    w = std::make_unique<GridWindow>(10, 5, 1, 1);
    w->FillTexts();
    gridtest::ShowActive(&w->window, w->grid);
  }
  CGridCtrl& g() const { return *w->grid; }
  std::unique_ptr<GridWindow> w;
};

}  // namespace

TEST_F(GridClipboard, SelectionTextLeavesHiddenColumnsOutAndUnselectedCellsEmpty) {
  const char* texts[2][3] = {{"a", "b", "c"}, {"d", "e", "f"}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 3; ++c) g().SetCellText(2 + r, 1 + c, texts[r][c]);
  g().SelectRange(2, 1, 3, 3);
  const std::string text = g().BuildSelectionText();
  EXPECT_EQ(text, "a\tb\tc\r\nd\te\tf");
  EXPECT_EQ(text.c_str()[text.size()], '\0');
  g().SetColumnWidth(2, 0);
  EXPECT_EQ(g().BuildSelectionText(), "a\tc\r\nd\tf") << "the hidden middle column is left out entirely";
  g().SetColumnWidth(2, 50);
  g().SetRowHeight(2, 0);
  EXPECT_EQ(g().BuildSelectionText(), "d\te\tf");
  g().SetRowHeight(2, 20);
  g().SetCellState(2, 2, 0);  // a hole in the selection
  EXPECT_EQ(g().BuildSelectionText(), "a\t\tc\r\nd\te\tf");
  g().ClearSelection();
  EXPECT_EQ(g().BuildSelectionText(), "");
  EXPECT_FALSE(g().IsCommandEnabled(kCmdEditCopy));
}

TEST_F(GridClipboard, CopyAndCutUseTheSystemClipboard) {
  g().SetFocusCell(2, 1);
  g().SelectRange(2, 1, 2, 2);
  QTest::keyClick(&g(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("r2c1\tr2c2"));
  QApplication::clipboard()->clear();
  QTest::keyClick(&g(), Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("r2c1\tr2c2"));
  g().SelectRange(3, 3, 3, 3);
  EXPECT_TRUE(g().OnCommand(kCmdEditCut));
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("r3c3"));
  EXPECT_EQ(g().GetCellText(3, 3), "");
  g().SetEditable(false);
  g().SelectRange(4, 3, 4, 3);
  EXPECT_FALSE(g().IsCommandEnabled(kCmdEditCut));
  QTest::keyClick(&g(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(g().GetCellText(4, 3), "r4c3") << "cut does nothing in a read-only grid";
  EXPECT_FALSE(g().OnCommand(1234));
}

TEST_F(GridClipboard, PasteSplitsLinesAtLineFeedsAndFieldsAtTabsOrCommas) {
  gridtest::NotifyLog log(g());
  ASSERT_TRUE(g().PasteText(CellId(5, 1), "1,2\n3\t4", false));
  EXPECT_EQ(g().GetCellText(5, 1), "1");
  EXPECT_EQ(g().GetCellText(5, 2), "2");
  EXPECT_EQ(g().GetCellText(6, 1), "3");
  EXPECT_EQ(g().GetCellText(6, 2), "4");
  EXPECT_EQ(g().GetCellText(5, 3), "r5c3");
  EXPECT_EQ(log.Count(kNotifyBeginEdit), 4);
  EXPECT_EQ(log.Count(kNotifyEndEdit), 4);
  EXPECT_EQ(g().GetSelectedCount(), 0);
  // Windows line ends and blanks are trimmed; a trailing line end pastes nothing more.
  ASSERT_TRUE(g().PasteText(CellId(2, 2), " x ,y\r\n z\t\r\n", true));
  EXPECT_EQ(g().GetCellText(2, 2), "x");
  EXPECT_EQ(g().GetCellText(2, 3), "y");
  EXPECT_EQ(g().GetCellText(3, 2), "z");
  EXPECT_EQ(g().GetCellText(4, 2), "r4c2");
  EXPECT_EQ(g().GetSelectionRange(), CellRange(2, 2, 3, 3));
}

TEST_F(GridClipboard, PasteSkipsHiddenRowsAndColumnsAndIgnoresWhatFallsOutside) {
  g().SetRowHeight(8, 0);
  g().SetColumnWidth(3, 0);
  ASSERT_TRUE(g().PasteText(CellId(7, 2), "a,b,c,d\ne,f\ng", false));
  EXPECT_EQ(g().GetCellText(7, 2), "a");
  EXPECT_EQ(g().GetCellText(7, 3), "r7c3") << "hidden column skipped";
  EXPECT_EQ(g().GetCellText(7, 4), "b");
  EXPECT_EQ(g().GetCellText(8, 2), "r8c2") << "hidden row skipped";
  EXPECT_EQ(g().GetCellText(9, 2), "e");
  EXPECT_EQ(g().GetCellText(9, 4), "f");
}

TEST_F(GridClipboard, PastingOntoAReadOnlyCellDoesNothing) {
  gridtest::NotifyLog log(g());
  g().SetCellState(5, 1, kCellReadOnly);
  EXPECT_FALSE(g().PasteText(CellId(5, 1), "1,2\n3\t4", true));
  EXPECT_EQ(g().GetCellText(5, 1), "r5c1");
  EXPECT_EQ(g().GetCellText(5, 2), "r5c2");
  EXPECT_TRUE(log.entries.empty());
  g().SetFocusCell(5, 1);
  QApplication::clipboard()->setText(QStringLiteral("zz"));
  EXPECT_FALSE(g().IsCommandEnabled(kCmdEditPaste));
  QTest::keyClick(&g(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(g().GetCellText(5, 1), "r5c1");
}

TEST_F(GridClipboard, PasteGoesToTheSelectionsTopLeftAndHonoursRefusals) {
  gridtest::NotifyLog log(g());
  QApplication::clipboard()->setText(QStringLiteral("p\tq"));
  g().SetFocusCell(8, 4);
  g().SelectRange(3, 2, 4, 4);
  QTest::keyClick(&g(), Qt::Key_Insert, Qt::ShiftModifier);
  EXPECT_EQ(g().GetCellText(3, 2), "p");
  EXPECT_EQ(g().GetCellText(3, 3), "q");
  log.answerEndEdit = -1;
  g().SelectRange(6, 1, 6, 1);
  QTest::keyClick(&g(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(g().GetCellText(6, 1), "r6c1") << "a refused end-edit restores the old text";
  log.answerEndEdit = 0;
  log.answerBeginEdit = -1;
  EXPECT_FALSE(g().SetCellTextByUser(6, 1, "new"));
  EXPECT_EQ(g().GetCellText(6, 1), "r6c1");
}
