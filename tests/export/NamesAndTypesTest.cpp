// Name delimiting and the type groups the literals are chosen by.
#include <gtest/gtest.h>

#include "data/ado/AdoEnums.h"
#include "export/NameDelimiting.h"
#include "export/ScriptTypes.h"
#include "tests/export/ExportTestSupport.h"

using namespace ado;

namespace {
TEST(NameDelimitingTest, OnlyASpaceCausesDelimiting) {
  SettingsStore settings = DefaultSettings();
  EXPECT_EQ(DelimitTableName("Order Details", settings), "[Order Details]");
  EXPECT_EQ(DelimitTableName("Orders", settings), "Orders");
  EXPECT_EQ(DelimitTableName("tab\there", settings), "tab\there");
  EXPECT_EQ(DelimitTableName("hy-phen", settings), "hy-phen");
  EXPECT_EQ(DelimitFieldName("Unit Price", settings), "[Unit Price]");

  settings.SetText("General", "TableNamePrefixUseAlways", "1");
  settings.SetText("General", "TableNamePrefix", "`");
  settings.SetText("General", "TableNamePostfix", "`");
  EXPECT_EQ(DelimitTableName("Orders", settings), "`Orders`");
  // The field settings are separate.
  EXPECT_EQ(DelimitFieldName("Orders", settings), "Orders");
  settings.SetText("General", "FieldNamePrefixUseAlways", "1");
  EXPECT_EQ(DelimitFieldName("a", settings), "[a]");
}

TEST(NameDelimitingTest, UndelimitTakesOffOnlyTheConfiguredPair) {
  SettingsStore settings = DefaultSettings();
  EXPECT_EQ(UndelimitTableName("[Order Details]", settings), "Order Details");
  EXPECT_EQ(UndelimitTableName("Orders", settings), "Orders");
  EXPECT_EQ(UndelimitTableName("[half", settings), "[half");
  EXPECT_EQ(UndelimitTableName("[", settings), "[");
  settings.SetText("General", "FieldNamePrefix", "\"");
  settings.SetText("General", "FieldNamePostfix", "\"");
  EXPECT_EQ(UndelimitFieldName("\"a b\"", settings), "a b");
  EXPECT_EQ(UndelimitFieldName("[a b]", settings), "[a b]");
}

TEST(ScriptTypesTest, GroupsDoNotOverlapAndCurrencyIsInNone) {
  const int codes[] = {adEmpty,
                       adTinyInt,
                       adSmallInt,
                       adInteger,
                       adBigInt,
                       adUnsignedTinyInt,
                       adUnsignedSmallInt,
                       adUnsignedInt,
                       adUnsignedBigInt,
                       adSingle,
                       adDouble,
                       adCurrency,
                       adDecimal,
                       adNumeric,
                       adBoolean,
                       adError,
                       adUserDefined,
                       adVariant,
                       adIDispatch,
                       adIUnknown,
                       adGUID,
                       adDate,
                       adDBDate,
                       adDBTime,
                       adDBTimeStamp,
                       adBSTR,
                       adChar,
                       adVarChar,
                       adLongVarChar,
                       adWChar,
                       adVarWChar,
                       adLongVarWChar,
                       adBinary,
                       adVarBinary,
                       adLongVarBinary,
                       adChapter,
                       adFileTime,
                       adPropVariant,
                       adVarNumeric,
                       adArray};
  int strings = 0, dates = 0, booleans = 0, numerics = 0;
  for (int code : codes) {
    const int groups = IsStringType(code) + IsDateType(code) + IsBooleanType(code) + IsNumericType(code);
    EXPECT_LE(groups, 1) << code;
    strings += IsStringType(code);
    dates += IsDateType(code);
    booleans += IsBooleanType(code);
    numerics += IsNumericType(code);
  }
  EXPECT_EQ(strings, 7);
  EXPECT_EQ(dates, 4);
  EXPECT_EQ(booleans, 1);
  EXPECT_EQ(numerics, 13);
  EXPECT_FALSE(IsNumericType(adCurrency) || IsStringType(adCurrency));
  EXPECT_TRUE(IsBinaryType(adLongVarBinary));
  EXPECT_FALSE(IsBinaryType(adLongVarChar));
}
}  // namespace
