// The compact storage under the grid: texts, shared styles, selection rectangles.
#include <gtest/gtest.h>

#include "GridTestSupport.h"
#include "grid/CellSlot.h"
#include "grid/CellStyle.h"
#include "grid/CellTypeProfile.h"
#include "grid/CompactText.h"
#include "grid/GridCell.h"
#include "grid/GridCellCheckEx.h"
#include "grid/GridCellDateTimeEx.h"
#include "grid/GridCellInteger.h"
#include "grid/GridCellNumericEx.h"
#include "grid/GridColumnDef.h"
#include "grid/GridCtrlEx.h"
#include "grid/GridSelection.h"
#include "text/UserLocale.h"

TEST(CompactText, KeepsShortAndLongTextsAndSurvivesCopiesAndSelfAssignment) {
  CompactText empty;
  EXPECT_TRUE(empty.empty());
  CompactText shortText("123456789012");  // exactly the inline capacity
  EXPECT_EQ(shortText.view(), "123456789012");
  EXPECT_EQ(shortText.heap_bytes(), 0u);
  CompactText longText("1234567890123");
  EXPECT_EQ(longText.view(), "1234567890123");
  EXPECT_EQ(longText.heap_bytes(), 13u);
  std::string withNul("a\0b", 3);
  CompactText nul(withNul);
  EXPECT_EQ(nul.str(), withNul);

  CompactText copy = longText;
  longText.assign("changed");
  EXPECT_EQ(copy.view(), "1234567890123");
  // Assigning a part of its own heap text.
  copy.assign(copy.view().substr(2, 11));
  EXPECT_EQ(copy.view(), "34567890123");
  CompactText big(std::string(1000, 'x'));
  big.assign(big.view().substr(10, 500));
  EXPECT_EQ(big.str(), std::string(500, 'x'));
  CompactText moved = std::move(big);
  EXPECT_EQ(moved.view().size(), 500u);
}

TEST(CompactText, OwnerBytesAndForeignPointerStayApartFromTheText) {
  CompactText t("a text longer than twelve");
  t.set_owner_byte(0, 0x88);
  t.set_owner_word(0xBEEF);
  t.assign("short");
  EXPECT_EQ(t.owner_byte(0), 0x88);
  EXPECT_EQ(t.owner_word(), 0xBEEF);
  int target = 0;
  t.set_foreign(&target);
  EXPECT_TRUE(t.holds_foreign());
  EXPECT_EQ(t.foreign(), &target);
  EXPECT_TRUE(t.view().empty());
  EXPECT_EQ(t.owner_word(), 0xBEEF);
}

TEST(CellStylePool, InternsEachCombinationOnce) {
  CellStyle a;
  a.backColour = RGB(1, 2, 3);
  CellStyle b = a;
  EXPECT_EQ(CellStylePool::Intern(a), CellStylePool::Intern(b));
  EXPECT_EQ(CellStylePool::Intern(CellStyle{}), 0u);
  b.maxLength = 7;
  const auto id = CellStylePool::Intern(b);
  EXPECT_NE(id, CellStylePool::Intern(a));
  EXPECT_EQ(CellStylePool::Get(id).maxLength, 7u);
  EXPECT_EQ(CellStylePool::Get(id).backColour, RGB(1, 2, 3));
}

TEST(GridSelection, KeepsDisjointRectanglesAndCountsEachCellOnce) {
  GridSelection s;
  s.Add(CellRange(1, 1, 4, 4));
  s.Add(CellRange(3, 3, 6, 6));  // overlaps 4 cells
  EXPECT_EQ(s.Count(), 16 + 16 - 4);
  s.Remove(CellRange(2, 2, 2, 2));
  EXPECT_FALSE(s.Contains(2, 2));
  EXPECT_TRUE(s.Contains(2, 1));
  EXPECT_EQ(s.Count(), 27);
  EXPECT_EQ(s.Bounds(), CellRange(1, 1, 6, 6));
  s.ClipTo(5, 5);
  EXPECT_EQ(s.Bounds(), CellRange(1, 1, 4, 4));
}

TEST(GridSelection, RowsBeyond65535DoNotMeetOtherColumns) {
  // A key of column x 65536 + row would make (70000, 0) and (4464, 1) the same cell.
  GridSelection s;
  s.Add(CellRange(70000, 0, 70000, 0));
  EXPECT_TRUE(s.Contains(70000, 0));
  EXPECT_FALSE(s.Contains(4464, 1));
}

TEST(CellObjects, PlainCellsCostLittleAndStayCompactInTheGrid) {
  gridtest::EnsureApp();
  EXPECT_EQ(sizeof(CellSlot), 16u);
  EXPECT_LE(sizeof(CGridCell), 48u);
  CGridCtrl grid(nullptr, 3, 3, 1, 1);
  grid.SetCellText(1, 1, "plain");
  grid.SetCellBackColour(1, 1, RGB(10, 20, 30));
  grid.SetCellMaxLength(1, 1, 40);
  grid.SetCellFormat(1, 1, DT_RIGHT | DT_SINGLELINE);
  EXPECT_EQ(grid.GetCellObject(1, 1), nullptr) << "texts, colours, limits and formats need no object";
  EXPECT_EQ(grid.GetCellText(1, 1), "plain");
  EXPECT_EQ(grid.GetCellBackColour(1, 1), RGB(10, 20, 30));
  EXPECT_EQ(grid.GetCellFormat(1, 1), DT_RIGHT | DT_SINGLELINE);
  grid.SetCellData(1, 1, 42);
  ASSERT_NE(grid.GetCellObject(1, 1), nullptr) << "a data value needs the object";
  EXPECT_EQ(grid.GetCellData(1, 1), 42);
  auto* cell = dynamic_cast<CGridCell*>(grid.GetCell(1, 1));
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->GetText(), "plain");
  EXPECT_EQ(cell->GetMaxLength(), 40u);
  EXPECT_EQ(cell->GetBackColour(), RGB(10, 20, 30));
}

TEST(CellSlot, KeepsEveryCompactFormApartAndMovesWithoutCopying) {
  CellSlot slot;
  slot.SetState(0x88);
  slot.SetStyle(0xBEEF);
  slot.SetText("a plain text longer than twelve");
  EXPECT_TRUE(slot.IsPlain());
  EXPECT_EQ(slot.Text(), "a plain text longer than twelve");
  unsigned char form[16];
  EXPECT_FALSE(slot.GetInlineForm(form)) << "a heap text is not a form to copy";

  slot.SetTypedText(7, "<null>");
  EXPECT_TRUE(slot.IsTyped());
  EXPECT_FALSE(slot.IsPlain());
  EXPECT_EQ(slot.Profile(), 7u);
  EXPECT_EQ(slot.Text(), "<null>");
  EXPECT_TRUE(slot.GetInlineForm(form));
  slot.SetTypedText(8, "a typed text past eight bytes");
  EXPECT_EQ(slot.Profile(), 8u);
  EXPECT_EQ(slot.Text(), "a typed text past eight bytes");
  // Its own text, shortened: the text is read before the block is freed.
  slot.SetTypedText(8, slot.Text().substr(2, 5));
  EXPECT_EQ(slot.Text(), "typed");
  slot.SetTypedValue(9, 0x0123456789ABCDEFull);
  EXPECT_TRUE(slot.HasValue());
  EXPECT_EQ(slot.Value(), 0x0123456789ABCDEFull);
  EXPECT_TRUE(slot.Text().empty());
  EXPECT_EQ(slot.State(), 0x88);
  EXPECT_EQ(slot.Style(), 0xBEEF) << "state and style outlive every change of form";

  CellSlot moved = std::move(slot);
  EXPECT_EQ(moved.Value(), 0x0123456789ABCDEFull);
  CellSlot copy;
  ASSERT_TRUE(moved.GetInlineForm(form));
  copy.SetInlineForm(form);
  EXPECT_EQ(copy.Profile(), 9u);
  EXPECT_EQ(copy.Value(), 0x0123456789ABCDEFull);
}

namespace {

// The grid-level view of a cell, compared between a compact cell and its object.
struct CellSeen {
  std::string text;
  std::intptr_t data;
  unsigned format;
  COLORREF back;
  unsigned state;
  const GridCellClass* cls;
  bool operator==(const CellSeen&) const = default;
};
CellSeen Seen(CGridCtrl& g, int row, int col) {
  return {g.GetCellText(row, col),       g.GetCellData(row, col),  g.GetCellFormat(row, col),
          g.GetCellBackColour(row, col), g.GetCellState(row, col), g.GetCellClass(row, col)};
}

}  // namespace

TEST(CompactTypedCells, StayCompactAndShowWhatTheirObjectsShow) {
  gridtest::EnsureApp();
  ASSERT_TRUE(SetUserNumericLocale("it_IT.UTF-8"));
  CGridCtrlEx grid;
  grid.SetRowCount(3);
  grid.SetColumnCount(5);
  grid.SetFixedRowCount(1);
  std::vector<GridColumnDef> defs(5);
  defs[1].kind = gctInteger;
  defs[1].thousandSeparator = true;
  defs[1].backColour = RGB(1, 2, 3);
  defs[2].kind = gctNumericEx;
  defs[2].precision = 3;
  defs[3].kind = gctCheckbox;
  defs[3].readOnly = true;
  defs[4].kind = gctDate;
  defs[4].dateFormat = CGridCellDateTimeEx::kDisplayDateTime;
  grid.SetColumns(defs);
  grid.ApplyColumnDefsToRows(1, 2);
  for (int col = 1; col <= 4; ++col) EXPECT_EQ(grid.GetCellObject(1, col), nullptr) << "column " << col;

  const GridCellClass& integer = CGridCellInteger::ClassInfo();
  ASSERT_TRUE(grid.StoreCompactValue(1, 1, integer, CGridCellInteger::EncodeValue(1234567)));
  EXPECT_FALSE(grid.StoreCompactValue(1, 2, integer, 1)) << "a cell of another class takes no integer";
  ASSERT_TRUE(grid.StoreCompactValue(1, 2, CGridCellNumericEx::ClassInfo(), CGridCellNumericEx::EncodeValue(2.5)));
  ASSERT_TRUE(grid.StoreCompactValue(1, 3, CGridCellCheckEx::ClassInfo(), static_cast<std::uint64_t>(-1)));
  EXPECT_FALSE(grid.StoreCompactText(1, 3, CGridCellCheckEx::ClassInfo(), "x")) << "a check box keeps no text";
  ASSERT_TRUE(grid.StoreCompactValue(
      1, 4, CGridCellDateTimeEx::ClassInfo(),
      CGridCellDateTimeEx::EncodeValue({2024, 3, 9, 14, 5, 7}, CGridCellDateTimeEx::Status::Valid)));
  ASSERT_TRUE(grid.StoreCompactText(2, 1, integer, "<null>"));

  EXPECT_EQ(grid.GetCellText(1, 1), "1.234.567") << "the text is made when read, in the user's locale";
  EXPECT_EQ(grid.GetCellInteger(1, 1), 1234567);
  EXPECT_EQ(grid.GetCellText(1, 2), "2,500");
  EXPECT_EQ(grid.GetCellText(1, 3), "1");
  EXPECT_EQ(grid.GetCellData(1, 3), -1);
  EXPECT_EQ(grid.GetCellText(1, 4), "09/03/2024 14:05:07");
  EXPECT_EQ(grid.GetCellText(2, 1), "<null>");
  EXPECT_EQ(grid.GetCellInteger(2, 1), 0);
  EXPECT_EQ(grid.GetCellFormat(1, 1) & (DT_RIGHT | DT_CENTER), static_cast<unsigned>(DT_RIGHT));
  EXPECT_EQ(grid.GetCellBackColour(1, 1), RGB(1, 2, 3));
  EXPECT_NE(grid.GetCellState(1, 3) & kCellReadOnly, 0u);

  // Asking for the objects changes nothing that shows.
  std::vector<CellSeen> compact;
  for (int row = 1; row <= 2; ++row)
    for (int col = 1; col <= 4; ++col) compact.push_back(Seen(grid, row, col));
  std::size_t i = 0;
  for (int row = 1; row <= 2; ++row)
    for (int col = 1; col <= 4; ++col) {
      ASSERT_NE(grid.GetCell(row, col), nullptr);
      EXPECT_EQ(Seen(grid, row, col), compact[i++]) << row << "," << col;
    }
  auto* number = dynamic_cast<CGridCellNumericEx*>(grid.GetCell(1, 2));
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->GetDecimals(), 3);
  EXPECT_TRUE(grid.CompactCell(1, 2));
  EXPECT_EQ(grid.GetCellObject(1, 2), nullptr);
  EXPECT_EQ(grid.GetCellText(1, 2), "2,500");
  SetUserNumericLocale("");
}

TEST(CompactTypedCells, SettersWorkAsOnTheirObjectsAndKeepTheCellsCompact) {
  gridtest::EnsureApp();
  CGridCtrl grid(nullptr, 2, 3, 0, 0);
  ASSERT_TRUE(grid.SetCellType(0, 0, &CGridCellInteger::ClassInfo()));
  ASSERT_TRUE(grid.SetCellType(0, 1, &CGridCellCheckEx::ClassInfo()));
  ASSERT_TRUE(grid.SetCellType(0, 2, &CGridCellDateTimeEx::ClassInfo()));
  EXPECT_EQ(grid.GetCellObject(0, 0), nullptr) << "a new cell of a typed class starts compact";
  grid.SetCellText(0, 0, "42abc");
  EXPECT_EQ(grid.GetCellText(0, 0), "42") << "the text goes through the class's reading";
  EXPECT_NE(grid.GetCellState(0, 0) & kCellModified, 0u);
  grid.SetCellData(0, 1, 1);
  EXPECT_EQ(grid.GetCellData(0, 1), 1);
  grid.SetCellData(0, 1, 0);
  EXPECT_EQ(grid.GetCellData(0, 1), 0) << "a check box's data value is its state, 0 included";
  grid.SetCellText(0, 2, "01/02/2045");
  EXPECT_EQ(grid.GetCellText(0, 2), "01/02/2045");
  grid.SetCellText(0, 2, "no date");
  EXPECT_EQ(grid.GetCellText(0, 2), "");
  for (int col = 0; col < 3; ++col) EXPECT_EQ(grid.GetCellObject(0, col), nullptr) << col;
  // Something only an object keeps makes one, for good.
  grid.SetCellImage(0, 0, 0);
  EXPECT_NE(grid.GetCellObject(0, 0), nullptr);
  EXPECT_FALSE(grid.CompactCell(0, 0));
  EXPECT_EQ(grid.GetCellText(0, 0), "42");
}

TEST(CompactTypedCells, NumbersKeepTheTextTheyShowWhenTheirDecimalsChange) {
  gridtest::EnsureApp();
  ASSERT_TRUE(SetUserNumericLocale("C.UTF-8"));
  CGridCellNumericEx cell;
  cell.SetDecimals(2);
  cell.SetNumber(3.14159);
  EXPECT_EQ(cell.GetText(), "3.14");
  EXPECT_DOUBLE_EQ(cell.GetNumber(), 3.14) << "the number as shown";
  cell.SetDecimals(4);
  EXPECT_EQ(cell.GetText(), "3.14") << "the text shown so far stays";
  cell.SetNumber(3.14159);
  EXPECT_EQ(cell.GetText(), "3.1416");
  CGridCellInteger integer;
  integer.SetRawText("n/a");
  EXPECT_EQ(integer.GetText(), "n/a");
  integer.SetThousandSeparator(true);
  EXPECT_EQ(integer.GetText(), "0") << "a new grouping reads the raw text as an integer, as a C library would";
  SetUserNumericLocale("");
}

TEST(CompactTypedCells, ApplyingDefinitionsToManyRowsEqualsApplyingThemRowByRow) {
  gridtest::EnsureApp();
  auto make = [] {
    auto grid = std::make_unique<CGridCtrlEx>();
    grid->SetRowCount(6);
    grid->SetColumnCount(4);
    grid->SetFixedRowCount(1);
    std::vector<GridColumnDef> defs(4);
    defs[0].kind = gctText;
    defs[0].length = 300;  // long text: a style of its own
    defs[1].kind = gctInteger;
    defs[1].format = DT_LEFT | DT_SINGLELINE;
    defs[2].kind = gctNumericEx;
    defs[2].textColour = RGB(9, 9, 9);
    defs[3].kind = gctDate;
    defs[3].readOnly = true;
    grid->SetColumns(defs);
    // Rows that differ before: a text, a colour, an object.
    grid->SetCellText(3, 1, "17");
    grid->SetCellBackColour(4, 2, RGB(5, 5, 5));
    grid->SetCellData(5, 0, 3);
    return grid;
  };
  auto rowByRow = make();
  for (int row = 1; row < 6; ++row) rowByRow->ApplyColumnDefsToRow(row);
  auto atOnce = make();
  atOnce->ApplyColumnDefsToRows(1, 5);
  for (int row = 0; row < 6; ++row)
    for (int col = 0; col < 4; ++col)
      EXPECT_EQ(Seen(*atOnce, row, col), Seen(*rowByRow, row, col)) << row << "," << col;
  EXPECT_EQ(atOnce->GetCellText(3, 1), "17");
  EXPECT_EQ(atOnce->GetCellData(5, 0), 3);
}
