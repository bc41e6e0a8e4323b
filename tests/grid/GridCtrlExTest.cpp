// The column layer: kinds, definitions, width distribution, and the notification layer with
// the movement of the focus after an edit.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>

#include "GridTestSupport.h"
#include "grid/GridCellCheck.h"
#include "grid/GridCellCheckEx.h"
#include "grid/GridCellComboEx.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"
#include "grid/GridCellTextWithButton.h"
#include "grid/GridCtrlEx.h"

namespace {

// Records the overridable calls and answers the edit ones.
class RecordingGrid : public CGridCtrlEx {
 public:
  using CGridCtrlEx::CGridCtrlEx;
  std::vector<std::string> calls;
  bool allowBegin = true, allowEnd = true;
  CellId keepFocus{-2, -2};
  std::vector<CellId> destroyed;

  void OnGridClick(int row, int col) override {
    calls.push_back("click " + std::to_string(row) + "," + std::to_string(col));
    CGridCtrlEx::OnGridClick(row, col);
  }
  void OnGridSelChanging(int row, int col, long long) override {
    calls.push_back("changing " + std::to_string(row) + "," + std::to_string(col));
  }
  void OnGridEndSelChange(int row, int col, long long count) override {
    calls.push_back("changed " + std::to_string(row) + "," + std::to_string(col) + " " + std::to_string(count));
    CGridCtrlEx::OnGridEndSelChange(row, col, count);
  }
  bool OnGridBeginEdit(int, int) override { return allowBegin; }
  bool OnGridEndEdit(int, int) override { return allowEnd; }
  bool KeepFocusAfterEdit(const CellId& cell) override { return cell == keepFocus; }
  std::intptr_t GetCellDataHook(int row, int col) override {
    destroyed.emplace_back(row, col);
    return CGridCtrlEx::GetCellDataHook(row, col);
  }
};

class GridEx : public ::testing::Test {
 protected:
  void SetUp() override {
    gridtest::EnsureApp();
    window = std::make_unique<QWidget>();
    grid = new RecordingGrid(window.get());
    grid->setFrameShape(QFrame::NoFrame);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setGeometry(0, 0, 600, 300);
    gridtest::ShowActive(window.get(), grid);
  }
  GridColumnDef Def(int kind, int width, const char* header = "") {
    GridColumnDef d;
    d.kind = kind;
    d.width = width;
    d.header = header;
    return d;
  }
  void Key(int key) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
    gridtest::Settle();
  }
  std::unique_ptr<QWidget> window;
  RecordingGrid* grid;
};

}  // namespace

TEST(GridColumnKinds, TableOfNamesColoursAndClasses) {
  const char* names[] = {"gctUnknown",  "gctText", "gctInteger", "gctNumericEx",
                         "gctCheckbox", "gctDate", "gctComboEx", "gctButtonText"};
  const COLORREF colours[] = {RGB(255, 235, 255), RGB(235, 255, 255), RGB(255, 235, 235), RGB(255, 255, 235),
                              RGB(235, 235, 255), RGB(235, 255, 235), RGB(235, 235, 255), RGB(235, 235, 255)};
  const GridCellClass* classes[] = {nullptr,
                                    &CGridCell::ClassInfo(),
                                    &CGridCellInteger::ClassInfo(),
                                    &CGridCellNumericEx::ClassInfo(),
                                    &CGridCellCheckEx::ClassInfo(),
                                    &CGridCellDateTimeEx::ClassInfo(),
                                    &CGridCellComboEx::ClassInfo(),
                                    &CGridCellTextWithButton::ClassInfo()};
  for (int kind = 0; kind < 8; ++kind) {
    const GridColumnTypeInfo info = GetColumnTypeInfo(kind);
    EXPECT_TRUE(info.ok);
    EXPECT_EQ(info.name, names[kind]);
    EXPECT_EQ(info.colour, colours[kind]);
    EXPECT_EQ(info.cellClass, classes[kind]);
  }
  const GridColumnTypeInfo bad = GetColumnTypeInfo(8);
  EXPECT_FALSE(bad.ok);
  EXPECT_EQ(bad.name, "");
  EXPECT_EQ(bad.colour, CLR_DEFAULT);
  EXPECT_EQ(bad.cellClass, nullptr);
}

TEST_F(GridEx, ColumnsFillTheWidthInProportionButNeverBelowTheirNominalWidth) {
  ASSERT_EQ(grid->viewport()->width(), 600);
  grid->SetFixedRowCount(1);
  ASSERT_TRUE(grid->SetColumns({Def(gctText, 100, "A"), Def(gctText, 300, "B")}));
  EXPECT_EQ(grid->GetColumnWidth(0), 150);
  EXPECT_EQ(grid->GetColumnWidth(1), 448);
  EXPECT_EQ(grid->GetCellText(0, 0), "A");
  EXPECT_EQ(grid->GetCellText(0, 1), "B");
  grid->resize(200, 300);
  ASSERT_TRUE(grid->SetColumns({Def(gctText, 100), Def(gctText, 300)}));
  EXPECT_EQ(grid->GetColumnWidth(0), 100);
  EXPECT_EQ(grid->GetColumnWidth(1), 300);
  GridColumnDef hidden = Def(gctText, 80);
  hidden.hidden = true;
  ASSERT_TRUE(grid->SetColumns({Def(gctText, 100), hidden, Def(gctText, 100)}));
  EXPECT_EQ(grid->GetColumnWidth(1), 0) << "a hidden column keeps width 0";
  EXPECT_TRUE(grid->GetColumnDef(1)->hidden);
  EXPECT_EQ(grid->GetColumnDefs().size(), 3u);
}

TEST_F(GridEx, DefinitionsAlwaysMatchTheColumnsWithMadeUpOnes) {
  grid->SetColumns({Def(gctInteger, 50)});
  grid->SetColumnCount(3);
  const GridColumnDef* made = grid->GetColumnDef(2);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->kind, gctUnknown);
  EXPECT_EQ(made->width, 100);
  EXPECT_EQ(made->format, 0u);
  EXPECT_EQ(made->backColour, CLR_DEFAULT);
  EXPECT_EQ(made->textColour, CLR_DEFAULT);
  EXPECT_EQ(grid->GetColumnDefs().size(), 3u);
  grid->SetColumnCount(1);
  EXPECT_EQ(grid->GetColumnDefs().size(), 1u);
  EXPECT_EQ(grid->GetColumnDef(1), nullptr);
}

TEST_F(GridEx, ApplyColumnDefsGivesEachCellItsKind) {
  grid->SetRowCount(3);
  grid->SetFixedRowCount(1);
  std::vector<GridColumnDef> defs = {Def(gctText, 60), Def(gctInteger, 60),    Def(gctNumericEx, 60),
                                     Def(gctDate, 60), Def(gctButtonText, 60), Def(gctUnknown, 60)};
  defs[0].length = 300;
  defs[0].backColour = RGB(1, 2, 3);
  defs[1].length = 6;
  defs[1].thousandSeparator = true;
  defs[1].readOnly = true;
  defs[2].length = 8;
  defs[2].precision = 3;
  defs[3].dateFormat = CGridCellDateTimeEx::kDisplayTime;
  defs[4].length = 20;
  defs[5].format = DT_CENTER | DT_SINGLELINE;
  grid->SetColumns(defs);
  ASSERT_TRUE(grid->ApplyColumnDefsToRow(1));
  EXPECT_FALSE(grid->ApplyColumnDefsToRow(3));
  EXPECT_EQ(grid->GetCellObject(1, 0), nullptr) << "a text column's limits and colours keep its cells compact";

  auto* text = dynamic_cast<CGridCell*>(grid->GetCell(1, 0));
  EXPECT_EQ(text->GetMaxLength(), 300u);
  EXPECT_TRUE(text->IsLongText());
  EXPECT_EQ(text->GetBackColour(), RGB(1, 2, 3));
  auto* integer = dynamic_cast<CGridCellInteger*>(grid->GetCell(1, 1));
  ASSERT_NE(integer, nullptr);
  EXPECT_EQ(integer->GetWidth(), 6);
  EXPECT_TRUE(integer->GetThousandSeparator());
  EXPECT_TRUE(integer->GetFormat() & DT_RIGHT);
  EXPECT_TRUE(grid->GetCellState(1, 1) & kCellReadOnly);
  auto* numeric = dynamic_cast<CGridCellNumericEx*>(grid->GetCell(1, 2));
  ASSERT_NE(numeric, nullptr);
  EXPECT_EQ(numeric->GetWidth(), 8);
  EXPECT_EQ(numeric->GetDecimals(), 3);
  auto* date = dynamic_cast<CGridCellDateTimeEx*>(grid->GetCell(1, 3));
  ASSERT_NE(date, nullptr);
  EXPECT_EQ(date->GetDisplayCode(), CGridCellDateTimeEx::kDisplayTime);
  auto* button = dynamic_cast<CGridCellTextWithButton*>(grid->GetCell(1, 4));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetMaxLength(), 20u);
  EXPECT_FALSE(button->IsLongText());
  EXPECT_EQ(grid->GetCellFormat(1, 5), DT_CENTER | DT_SINGLELINE);
  EXPECT_EQ(grid->GetCellClass(2, 1), &CGridCell::ClassInfo()) << "other rows untouched";
}

TEST_F(GridEx, CellTypesReadByClassName) {
  grid->SetRowCount(2);
  grid->SetColumns({Def(gctUnknown, 50), Def(gctInteger, 50), Def(gctComboEx, 50)});
  grid->ApplyColumnDefsToRow(1);
  EXPECT_EQ(grid->GetCellType(1, 0), gctText) << "a kind-0 column keeps CGridCell, which reads as text";
  EXPECT_EQ(grid->GetCellType(1, 1), gctInteger);
  EXPECT_EQ(grid->GetCellType(1, 2), gctComboEx);
  EXPECT_EQ(grid->GetCellType(5, 5), gctUnknown);
  ASSERT_TRUE(grid->SetCellType(1, 0, &CGridCellCheck::ClassInfo()));
  EXPECT_EQ(grid->GetCellType(1, 0), gctUnknown) << "CGridCellCheck is not in the table";
  grid->SetCellData(1, 0, 5);
  EXPECT_TRUE(grid->SetCellTypeByKind(1, 0, gctCheckbox));
  EXPECT_EQ(grid->GetCellType(1, 0), gctCheckbox);
  EXPECT_EQ(grid->GetCellData(1, 0), 5) << "the check state is the data value taken over";
  EXPECT_FALSE(grid->SetCellTypeByKind(1, 0, gctUnknown));
  EXPECT_EQ(grid->GetCellType(1, 0), gctCheckbox);

  dynamic_cast<CGridCellInteger*>(grid->GetCell(1, 1))->SetInteger(-77);
  EXPECT_EQ(grid->GetCellInteger(1, 1), -77);
  EXPECT_EQ(grid->GetCellInteger(1, 2), 0);
  EXPECT_EQ(grid->GetCellInteger(9, 9), 0);
}

TEST_F(GridEx, RowBackColourAndInitialize) {
  grid->Initialize();
  EXPECT_EQ(grid->GetRowCount(), 1);
  EXPECT_EQ(grid->GetFixedRowCount(), 1);
  EXPECT_FALSE(grid->IsEditable());
  EXPECT_TRUE(grid->GetRowSelectionMode());
  EXPECT_TRUE(grid->GetSingleRowSelection());
  EXPECT_FALSE(grid->GetTrackFocusCell());
  EXPECT_FALSE(grid->GetFrameFocusCell());
  EXPECT_EQ(grid->frameShape(), QFrame::NoFrame);
  grid->SetRowCount(3);
  grid->SetColumnCount(4);
  EXPECT_TRUE(grid->SetRowBackColour(2, 1, RGB(230, 230, 230)));
  EXPECT_EQ(grid->GetCellBackColour(2, 0), CLR_DEFAULT);
  EXPECT_EQ(grid->GetCellBackColour(2, 3), RGB(230, 230, 230));
  EXPECT_FALSE(grid->SetRowBackColour(7, 0, 0));
}

TEST_F(GridEx, NotificationsBecomeCallsAndAClickSelectsOneWholeRow) {
  grid->Initialize();
  grid->SetRowCount(6);
  grid->SetColumnCount(4);
  grid->SetFixedColumnCount(1);
  gridtest::ClickCell(*grid, 3, 2);
  EXPECT_EQ(grid->calls, (std::vector<std::string>{"changing 3,2", "changed 3,2 3", "click 3,2"}));
  EXPECT_EQ(grid->GetSelectionRange(), CellRange(3, 1, 3, 3));
  EXPECT_EQ(grid->GetFocusCell(), CellId(3, 2));
  gridtest::ClickCell(*grid, 5, 1, Qt::ShiftModifier);
  EXPECT_EQ(grid->GetSelectionRange(), CellRange(5, 1, 5, 3)) << "single-row selection";
  grid->SelectRow(2, true);
  EXPECT_EQ(grid->GetSelectionRange(), CellRange(2, 1, 2, 3));
  EXPECT_EQ(grid->GetFocusCell().row, 2);
  grid->SelectRow(99, false);
  EXPECT_EQ(grid->GetSelectedCount(), 0);
}

TEST_F(GridEx, RefusedBeginAndEndEdits) {
  grid->SetRowCount(4);
  grid->SetColumnCount(3);
  grid->SetFixedRowCount(1);
  grid->SetCellText(2, 1, "old");
  grid->SetFocusCell(2, 1);
  grid->allowBegin = false;
  EXPECT_FALSE(grid->StartEdit(2, 1, QPoint(-1, -1), Qt::Key_F2));
  EXPECT_EQ(grid->GetEditor(), nullptr);
  grid->allowBegin = true;
  grid->allowEnd = false;
  ASSERT_TRUE(grid->StartEdit(2, 1, QPoint(-1, -1), 'n'));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid->GetCellText(2, 1), "old");
  EXPECT_EQ(grid->GetFocusCell(), CellId(2, 1));
}

TEST_F(GridEx, MoveAfterEditDownStopsAtTheLastRowAndRightWrapsToColumnOne) {
  grid->SetRowCount(4);
  grid->SetColumnCount(3);
  grid->SetFixedRowCount(1);
  grid->SetFixedColumnCount(1);
  grid->SetMoveAfterEdit(CGridCtrlEx::kMoveDown);
  grid->SetFocusCell(2, 2);
  ASSERT_TRUE(grid->StartEdit(2, 2, QPoint(-1, -1), 'a'));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid->GetFocusCell(), CellId(3, 2));
  ASSERT_TRUE(grid->StartEdit(3, 2, QPoint(-1, -1), 'b'));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid->GetCellText(3, 2), "b");
  EXPECT_EQ(grid->GetFocusCell(), CellId(3, 2)) << "at the last row the focus stays";

  grid->SetMoveAfterEdit(CGridCtrlEx::kMoveRight);
  grid->SetFocusCell(1, 1);
  ASSERT_TRUE(grid->StartEdit(1, 1, QPoint(-1, -1), 'c'));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid->GetFocusCell(), CellId(1, 2));
  ASSERT_TRUE(grid->StartEdit(1, 2, QPoint(-1, -1), 'd'));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid->GetFocusCell(), CellId(2, 1));

  grid->keepFocus = CellId(2, 1);
  ASSERT_TRUE(grid->StartEdit(2, 1, QPoint(-1, -1), 'e'));
  Key(Qt::Key_Return);
  EXPECT_EQ(grid->GetFocusCell(), CellId(2, 1));
  EXPECT_EQ(grid->GetSelectionRange(), CellRange(2, 1, 2, 1));

  // Pasting is not an editor's end: the focus stays.
  grid->keepFocus = CellId(-2, -2);
  grid->PasteText(CellId(1, 1), "x,y", false);
  EXPECT_EQ(grid->GetFocusCell(), CellId(2, 1));
}

TEST_F(GridEx, EveryDestroyedCellPassesTheDataHook) {
  grid->SetRowCount(3);
  grid->SetColumnCount(2);
  grid->SetCellData(2, 1, 99);
  grid->destroyed.clear();
  grid->SetRowCount(2);
  EXPECT_EQ(grid->destroyed, (std::vector<CellId>{{2, 0}, {2, 1}}));
  grid->destroyed.clear();
  grid->SetColumnCount(1);
  EXPECT_EQ(grid->destroyed, (std::vector<CellId>{{0, 1}, {1, 1}}));
}
