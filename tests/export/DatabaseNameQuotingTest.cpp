// Names delimited for one connected database: the database's own quotes where the delimiter
// settings hold their defaults, the settings as they stand otherwise.
#include <gtest/gtest.h>

#include "export/DatabaseNameQuoting.h"
#include "tests/export/ExportTestSupport.h"
#include "workspace/SettingsStore.h"

namespace {

TEST(DatabaseNameQuotingTest, DefaultDelimitersBecomeTheDatabasesQuotes) {
  SettingsStore settings = DefaultSettings();
  EXPECT_EQ(DelimitTableNameFor("Order Details", NameQuoteStyle::DoubleQuotes, settings), "\"Order Details\"");
  EXPECT_EQ(DelimitTableNameFor("Order Details", NameQuoteStyle::Backticks, settings), "`Order Details`");
  EXPECT_EQ(DelimitTableNameFor("Order Details", NameQuoteStyle::Configured, settings), "[Order Details]");
  EXPECT_EQ(DelimitFieldNameFor("Unit Price", NameQuoteStyle::DoubleQuotes, settings), "\"Unit Price\"");
  // A quote inside the name is doubled, so the name cannot end the quoting early.
  EXPECT_EQ(DelimitTableNameFor("a\"b c", NameQuoteStyle::DoubleQuotes, settings), "\"a\"\"b c\"");
  EXPECT_EQ(DelimitTableNameFor("a`b c", NameQuoteStyle::Backticks, settings), "`a``b c`");
}

TEST(DatabaseNameQuotingTest, NamesTheDatabaseWouldNotTakeBareAreQuotedToo) {
  SettingsStore settings = DefaultSettings();
  // PostgreSQL folds bare names to lower case; MySQL keeps their case.
  EXPECT_EQ(DelimitTableNameFor("Orders", NameQuoteStyle::DoubleQuotes, settings), "\"Orders\"");
  EXPECT_EQ(DelimitTableNameFor("orders", NameQuoteStyle::DoubleQuotes, settings), "orders");
  EXPECT_EQ(DelimitTableNameFor("order_lines$2", NameQuoteStyle::DoubleQuotes, settings), "order_lines$2");
  EXPECT_EQ(DelimitTableNameFor("Orders", NameQuoteStyle::Backticks, settings), "Orders");
  EXPECT_EQ(DelimitTableNameFor("order-lines", NameQuoteStyle::Backticks, settings), "`order-lines`");
  EXPECT_EQ(DelimitTableNameFor("2024", NameQuoteStyle::Backticks, settings), "`2024`");
  // Elsewhere only the blank counts, as the settings say.
  EXPECT_EQ(DelimitTableNameFor("order-lines", NameQuoteStyle::Configured, settings), "order-lines");
}

TEST(DatabaseNameQuotingTest, DelimitersTheUserSetAreUsedAsSet) {
  SettingsStore settings = DefaultSettings();
  settings.SetText("General", "TableNamePrefix", "<");
  settings.SetText("General", "TableNamePostfix", ">");
  EXPECT_EQ(DelimitTableNameFor("Order Details", NameQuoteStyle::DoubleQuotes, settings), "<Order Details>");
  EXPECT_EQ(DelimitTableNameFor("Orders", NameQuoteStyle::DoubleQuotes, settings), "Orders");
  // The field settings are separate: still the defaults, so still the database's quotes.
  settings.SetText("General", "FieldNamePrefixUseAlways", "1");
  EXPECT_EQ(DelimitFieldNameFor("id", NameQuoteStyle::Backticks, settings), "`id`");
  EXPECT_EQ(DelimitFieldNameFor("id", NameQuoteStyle::Configured, settings), "[id]");
}

TEST(DatabaseNameQuotingTest, FamiliesPickTheirStyle) {
  EXPECT_EQ(QuoteStyleForFamily("PostgreSQL"), NameQuoteStyle::DoubleQuotes);
  EXPECT_EQ(QuoteStyleForFamily("MySQL"), NameQuoteStyle::Backticks);
  EXPECT_EQ(QuoteStyleForFamily("SQLite"), NameQuoteStyle::Configured);
  EXPECT_EQ(QuoteStyleForFamily(""), NameQuoteStyle::Configured);
}

}  // namespace
