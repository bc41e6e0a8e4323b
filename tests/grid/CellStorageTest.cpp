// The compact storage under the grid: texts, shared styles, selection rectangles.
#include <gtest/gtest.h>

#include "GridTestSupport.h"
#include "grid/CellStyle.h"
#include "grid/CompactText.h"
#include "grid/GridCell.h"
#include "grid/GridSelection.h"

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
