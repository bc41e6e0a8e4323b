// The criteria texts the result grid hands to its recordset, the type-to-kind table and the
// options record, checked on their own.
#include <gtest/gtest.h>

#include <QDate>

#include "data/ado/AdoEnums.h"
#include "grid/db/DataTypeToColumnType.h"
#include "grid/db/GridCriteria.h"
#include "grid/db/GridOptions.h"
#include "workspace/SettingsStore.h"

namespace {

std::string Condition(int kind, const std::string& name, const std::string& text, std::string* shown = nullptr) {
  std::string display;
  std::string condition = FilterCondition(kind, name, text, display);
  if (shown) *shown = display;
  return condition;
}

TEST(GridCriteria, TextFilterIsAPrefixMatchWithQuotesDoubled) {
  EXPECT_EQ(Condition(gctText, "Name", "O'Br"), "Name like 'O''Br%'");
  EXPECT_EQ(Condition(gctText, "Customer Name", "abc"), "[Customer Name] like 'abc%'");
  // A percent sign typed by the user stays a wildcard and never reaches printf as a format.
  EXPECT_EQ(Condition(gctText, "Code", "10%s"), "Code like '10%s%'");
}

TEST(GridCriteria, UnknownKindsAddNothing) {
  EXPECT_EQ(Condition(gctUnknown, "Blob", "0a"), "");
  EXPECT_EQ(Condition(gctComboEx, "Pick", "1"), "");
}

TEST(GridCriteria, DatesMaySeparateTheirPartsAndEachOtherInSeveralWays) {
  std::string shown;
  EXPECT_EQ(Condition(gctDate, "Order Date", " 01.02.03 ,, ; 2003-02-05 ", &shown),
            "[Order Date] >= '2003-02-01' AND [Order Date] <= '2003-02-05 23:59:59'");
  EXPECT_EQ(shown, "01/02/2003 05/02/2003");
}

TEST(GridCriteria, OneDateOrABadSecondDateGivesOneDay) {
  std::string shown;
  EXPECT_EQ(Condition(gctDate, "D", "7/3/1999", &shown), "D = '1999-03-07'");
  EXPECT_EQ(shown, "07/03/1999");
  EXPECT_EQ(Condition(gctDate, "D", "7/3/1999 soon", &shown), "D = '1999-03-07'");
  EXPECT_EQ(shown, "07/03/1999");
}

TEST(GridCriteria, TextThatIsNoDateIsErasedAndAddsNothing) {
  std::string shown = "x";
  EXPECT_EQ(Condition(gctDate, "D", "yesterday", &shown), "");
  EXPECT_EQ(shown, "");
  EXPECT_EQ(Condition(gctDate, "D", "31/02/2003", &shown), "");
  EXPECT_EQ(shown, "");
}

TEST(GridCriteria, FilterDatesAreDayFirst) {
  int y = 0, m = 0, d = 0;
  ASSERT_TRUE(ParseFilterDate("5-2-2003", y, m, d));
  EXPECT_EQ(std::tie(y, m, d), std::make_tuple(2003, 2, 5));
  ASSERT_TRUE(ParseFilterDate("29/02/2004", y, m, d));
  EXPECT_EQ(std::tie(y, m, d), std::make_tuple(2004, 2, 29));
  ASSERT_TRUE(ParseFilterDate("1/1/29", y, m, d));
  EXPECT_EQ(y, 2029);
  ASSERT_TRUE(ParseFilterDate("1/1/30", y, m, d));
  EXPECT_EQ(y, 1930);
  ASSERT_TRUE(ParseFilterDate("3/4", y, m, d));
  EXPECT_EQ(std::tie(y, m, d), std::make_tuple(QDate::currentDate().year(), 4, 3));
  EXPECT_FALSE(ParseFilterDate("29/02/2003", y, m, d));
  EXPECT_FALSE(ParseFilterDate("1/2-2003", y, m, d));
  EXPECT_FALSE(ParseFilterDate("1/2/203", y, m, d));
  EXPECT_FALSE(ParseFilterDate("2003-2-1x", y, m, d));
  EXPECT_FALSE(ParseFilterDate("12", y, m, d));
}

TEST(GridCriteria, SortCriteriaAlwaysBracketTheName) {
  EXPECT_EQ(SortCriteria("F3", true), "[F3] ASC");
  EXPECT_EQ(SortCriteria("Order Date", false), "[Order Date] DESC");
  EXPECT_EQ(SortCriteria("a]b", true), "[a]]b] ASC");
}

TEST(GridCriteria, FilterNamesAreBracketedWhenTheyAreNoPlainIdentifier) {
  EXPECT_EQ(FilterFieldName("Qty_2"), "Qty_2");
  EXPECT_EQ(FilterFieldName("Unit Price"), "[Unit Price]");
  EXPECT_EQ(FilterFieldName("order-no"), "[order-no]");
  EXPECT_EQ(FilterFieldName("x]y"), "[x]]y]");
}

TEST(DataTypeToColumnType, EachTypeCodeGetsItsKind) {
  using namespace ado;
  for (int t : {adBSTR, adBinary, adChar, adWChar, adChapter, adVarChar, adLongVarChar, adVarWChar, adLongVarWChar,
                adVarBinary})
    EXPECT_EQ(DataTypeToColumnType(t), gctText) << t;
  for (int t :
       {adSmallInt, adInteger, adUnsignedTinyInt, adUnsignedSmallInt, adUnsignedInt, adBigInt, adUnsignedBigInt})
    EXPECT_EQ(DataTypeToColumnType(t), gctInteger) << t;
  for (int t : {adSingle, adDouble, adCurrency, adDecimal, adNumeric})
    EXPECT_EQ(DataTypeToColumnType(t), gctNumericEx) << t;
  for (int t : {adBoolean, adTinyInt}) EXPECT_EQ(DataTypeToColumnType(t), gctCheckbox) << t;
  for (int t : {adDate, adFileTime, adDBDate, adDBTime, adDBTimeStamp})
    EXPECT_EQ(DataTypeToColumnType(t), gctDate) << t;
  for (int t : {int{adLongVarBinary}, int{adArray}, int{adGUID}, int{adEmpty}, 9999})
    EXPECT_EQ(DataTypeToColumnType(t), gctUnknown) << t;
}

TEST(GridOptions, ReadFromTheGridSettings) {
  SettingsStore settings;
  settings.SetText("Grid", "ViewDetails", "1");
  settings.SetText("Grid", "Colorize", "7");
  settings.SetText("Grid", "MaxDataRows", "100");
  settings.SetText("Grid", "AutoSizeColumns", "2");
  settings.SetText("Grid", "NumericPrecision", "4");
  settings.SetText("Grid", "MoveCursorAfterEdit", "2");
  settings.SetText("Grid", "Sortable", "0");
  settings.SetText("Grid", "UseFilters", "1");
  settings.SetText("Grid", "DateTimeFormat", "2");
  settings.SetText("Grid", "ExpandLastColumn", "0");
  const GridOptions o = ReadGridOptions(settings);
  EXPECT_TRUE(o.viewDetails);
  EXPECT_TRUE(o.colorize);
  EXPECT_EQ(o.maxDataRows, 100);
  EXPECT_EQ(o.autoSizeStyle, 2);
  EXPECT_EQ(o.numericPrecision, 4);
  EXPECT_EQ(o.moveCursorAfterEdit, 2);
  EXPECT_FALSE(o.sortable);
  EXPECT_TRUE(o.useFilters);
  EXPECT_EQ(o.dateFormat, 4);  // stored 2, date and time
  EXPECT_FALSE(o.expandLastColumn);
}

}  // namespace
