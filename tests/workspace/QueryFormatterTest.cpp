#include <sqlite3.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "workspace/MemoryProfileStore.h"
#include "workspace/QueryFormatter.h"
#include "workspace/SettingsStore.h"

namespace {

const std::vector<std::string> kSplitWords = ParseSplitWords(SettingsTable[39].defaultValue);

std::string Format(const std::string& text) {
  return FormatQuery(text, kSplitWords);
}

TEST(FormatQuery, BreaksBeforeSplitWordsInAnyCase) {
  EXPECT_EQ(Format("select a,b from t where x=1 order by a"), "select a,b\nfrom t\nwhere x=1\norder by a");
  EXPECT_EQ(Format("SELECT a FROM t LEFT JOIN u ON 1=1 GROUP BY a HAVING 1 LIMIT 3"),
            "SELECT a\nFROM t\nLEFT JOIN u ON 1=1\nGROUP BY a\nHAVING 1\nLIMIT 3");
  // Only whole words count.
  EXPECT_EQ(Format("select a FROM(select 1) fromage"), "select a FROM(select 1) fromage");
}

TEST(FormatQuery, FoldsLineBreaksAndIndentation) {
  EXPECT_EQ(Format("  SELECT a,\r\n\t  b\n\n   FROM    t   "), "SELECT a, b\nFROM t");
  EXPECT_EQ(Format(""), "");
  EXPECT_EQ(Format(" \r\n\t "), "");
  // The first word never gets a line break of its own, whatever it is.
  EXPECT_EQ(Format("where"), "where");
}

TEST(FormatQuery, FormattingTwiceChangesNothingMore) {
  for (const char* text : {"select a,b from t where x=1 order by a", "SELECT 'a  from  b' FROM t -- where\nWHERE 1",
                           "select /* from\n  x */ 1 from [a  b] where \"c  where\" = `d  e`",
                           "select 1 --\r\n--\r\nfrom t", "x 'unclosed\n  from"}) {
    std::string once = Format(text);
    EXPECT_EQ(Format(once), once) << text;
  }
}

TEST(FormatQuery, LiteralsQuotedNamesAndCommentsKeepEveryByte) {
  EXPECT_EQ(Format("select 'a  from\n   b' from t"), "select 'a  from\n   b'\nfrom t");
  EXPECT_EQ(Format("select 'it''s  from  here' from t"), "select 'it''s  from  here'\nfrom t");
  EXPECT_EQ(Format("select \"a  \"\"from\"\"  b\" from t"), "select \"a  \"\"from\"\"  b\"\nfrom t");
  EXPECT_EQ(Format("select [a  ]]  from] from t"), "select [a  ]]  from]\nfrom t");
  EXPECT_EQ(Format("select `a  from` from t"), "select `a  from`\nfrom t");
  EXPECT_EQ(Format("select /* from  \n where */ 1 from t"), "select /* from  \n where */ 1\nfrom t");
  // A literal glued to a word stays glued to it.
  EXPECT_EQ(Format("select N'a  b',x'00'  from t"), "select N'a  b',x'00'\nfrom t");
  // Unclosed: the rest of the text is kept as it stands.
  EXPECT_EQ(Format("select 'abc\n   from t"), "select 'abc\n   from t");
  EXPECT_EQ(Format("select 1 /* open\n from"), "select 1 /* open\n from");
}

TEST(FormatQuery, ALineCommentKeepsItsLineBreak) {
  EXPECT_EQ(Format("select a -- from here\nfrom t where x = 1"), "select a -- from here\nfrom t\nwhere x = 1");
  EXPECT_EQ(Format("select a -- note\r\n, b from t"), "select a -- note\n, b\nfrom t");
  EXPECT_EQ(Format("select a--note\nfrom t"), "select a--note\nfrom t");
  EXPECT_EQ(Format("-- only a comment"), "-- only a comment");
  EXPECT_EQ(Format("-- one\n-- two\nselect 1"), "-- one\n-- two\nselect 1");
  // A single '-' is an operator.
  EXPECT_EQ(Format("select 1 - -1 from t"), "select 1 - -1\nfrom t");
}

TEST(FormatQuery, PastedTracePrefixesGo) {
  const std::string prefix = "|QelvoView           |Q|";
  EXPECT_EQ(Format(prefix + "SELECT a\n" + prefix + "FROM t"), "SELECT a\nFROM t");
  EXPECT_EQ(Format("[4711]|QelvoView           |Q|select 1 from t"), "select 1\nfrom t");
  // Copies of the prefix later in the line go too, but not inside a literal.
  EXPECT_EQ(Format("|m|Q|select 1|m|Q| from t where a = '|m|Q|'"), "select 1\nfrom t\nwhere a = '|m|Q|'");
  // A line inside a literal is not a line of its own.
  EXPECT_EQ(Format("select 'a\n|m|Q|b' from t"), "select 'a\n|m|Q|b'\nfrom t");
  // Shapes that are no prefix.
  EXPECT_EQ(Format("|a|bc| x"), "|a|bc| x");
  EXPECT_EQ(Format("[a|b]|c"), "[a|b]|c");
}

TEST(FormatQuery, AJoinedLineMayFormAPrefixThatTheNextFormatRemoves) {
  // Allowed by the algorithm: the second pass sees "|a b|c|" as a pasted prefix.
  std::string once = Format("|a\nb|c| d");
  EXPECT_EQ(once, "|a b|c| d");
  EXPECT_EQ(Format(once), "d");
}

TEST(TracePrefixCleaned, RemovesBothShapes) {
  EXPECT_EQ(TracePrefixCleaned("|mod|Q|select |mod|Q|1"), "select 1");
  EXPECT_EQ(TracePrefixCleaned("[12]|mod|Q|x"), "x");
  EXPECT_EQ(TracePrefixCleaned("[12]x|y"), "|y");
  EXPECT_EQ(TracePrefixCleaned("[12|x]|y"), "[12|x]|y");
  EXPECT_EQ(TracePrefixCleaned("|a|"), "|a|");
  EXPECT_EQ(TracePrefixCleaned("||x|"), "");
  EXPECT_EQ(TracePrefixCleaned("plain"), "plain");
}

TEST(ParseSplitWords, KeepsInnerEmptyPiecesOnly) {
  EXPECT_EQ(ParseSplitWords(" SELECT| FROM ||WHERE|"), (std::vector<std::string>{"SELECT", "FROM", "", "WHERE"}));
  EXPECT_TRUE(ParseSplitWords("").empty());
  // An empty split word never matches.
  EXPECT_EQ(FormatQuery("a  b", ParseSplitWords("|")), "a b");
}

TEST(FormatQuery, ReadsItsSplitWordsFromTheSettings) {
  SettingsStore settings;
  settings.LoadAll(MemoryProfileStore());
  EXPECT_EQ(FormatQuery("select 1 from t", settings), "select 1\nfrom t");
  settings.SetText("Format", "SplitWords", "join | on");
  EXPECT_EQ(FormatQuery("select 1 from t JOIN u ON 1", settings), "select 1 from t\nJOIN u\nON 1");
  settings.SetText("Format", "SplitWords", "ÜBER");
  EXPECT_EQ(FormatQuery("a über b", settings), "a\nüber b");
}

// Rows of a query on an SQLite file, as text, for comparing two queries' results.
class QueryResults : public testing::Test {
 protected:
  void TearDown() override { sqlite3_close(db_); }

  void Open(const std::string& path, int flags) {
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &db_, flags, nullptr), SQLITE_OK);
  }
  void Exec(const std::string& sql) { ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK); }

  std::vector<std::vector<std::string>> Rows(const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &statement, &tail) != SQLITE_OK) {
      ADD_FAILURE() << sqlite3_errmsg(db_) << "\n" << sql;
      return rows;
    }
    EXPECT_EQ(std::string(tail), "") << "one statement expected";
    while (sqlite3_step(statement) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        const unsigned char* text = sqlite3_column_text(statement, c);
        row.push_back(text ? reinterpret_cast<const char*>(text) : "<null>");
      }
      rows.push_back(row);
    }
    sqlite3_finalize(statement);
    return rows;
  }

  void ExpectSameRowsWhenFormatted(const std::vector<std::string>& queries) {
    for (const std::string& query : queries) {
      std::string formatted = Format(query);
      EXPECT_NE(formatted, query);
      auto expected = Rows(query);
      EXPECT_FALSE(expected.empty()) << query;
      EXPECT_EQ(Rows(formatted), expected) << query << "\n---\n" << formatted;
    }
  }

  sqlite3* db_ = nullptr;
};

TEST_F(QueryResults, AFormattedQueryGivesTheSameRows) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  Open(folder.filePath("formatter.db").toStdString(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  Exec(
      "CREATE TABLE people (id INTEGER PRIMARY KEY, name TEXT, note TEXT);"
      "CREATE TABLE [order  items] (\"item  id\" INTEGER, [people id] INTEGER, qty INTEGER);"
      "INSERT INTO people VALUES (1, 'Ann', 'a  from   b'), (2, 'Bob', 'it''s  here'), (3, 'Cy', 'x\n  where'),"
      " (4, 'Dee', '|m|Q|'), (5, 'Eve', NULL);"
      "INSERT INTO [order  items] VALUES (10, 1, 2), (11, 1, 5), (12, 3, 1);");
  ExpectSameRowsWhenFormatted({
      "select name from people\n-- where id = 1\nwhere note = 'a  from   b'\norder by id",
      "select id, 'x\n  where' as w from people where note = 'x\n  where' -- comment with where\norder by id desc",
      "select [id], \"name\" from [people] /* where id = 2\n order by */ where id > 1 order by 1",
      "select count(*) from people where note <> 'it''s  here'",
      "SELECT p.name,\r\n       sum(i.qty) AS total  -- from every item\r\n  FROM people p\r\n  INNER JOIN [order  "
      "items] i"
      "\r\n    ON i.[people id] = p.id\r\n GROUP BY p.name\r\n HAVING total > 0\r\n ORDER BY total DESC",
      "select id from people where note = '|m|Q|' or name = 'Eve'",
      "select \"item  id\" from `order  items` where qty - -1 > 2 order by 1",
      "select id, note from people where note like '%  %' order by id -- trailing comment",
  });
}

TEST_F(QueryResults, OnTheSampleDatabaseToo) {
  const char* sample = std::getenv("QELVO_SAMPLE_DB");
  if (!sample || !std::filesystem::exists(sample)) GTEST_SKIP() << "the sample database is not built";
  Open(sample, SQLITE_OPEN_READONLY);
  ExpectSameRowsWhenFormatted({
      "select Name, Notes from Customers where Notes = 'Says \"hello\";  likes semicolons;'\n"
      "   or Name = 'O''Brien & Sons' order by CustomerID",
      "SELECT c.Name,   count(*) AS n -- orders per customer\nFROM Customers c\n  INNER JOIN Orders o ON o.CustomerID "
      "= c.CustomerID\nWHERE c.City <> 'Milano  where'\nGROUP BY c.Name HAVING n > 1 ORDER BY n DESC, c.Name",
      "select * from \"Order Totals\"   where Total > 100 order by OrderID",
      "select Name from Products /* where Discontinued = 1\n order by */ where Name like 'Apples;%' or Name = "
      "'Cheesecake \"New York\"'",
      "select [Name],   `City` from [Customers] where Notes = 'Two lines:' || char(10) || 'second line'",
      "select Description from Categories where Description like '%\"specials\"%' -- bakery\n or Name = 'Pantry'",
      "select  Name from Customers where Notes = 'Tab\tinside'",
  });
}

}  // namespace
