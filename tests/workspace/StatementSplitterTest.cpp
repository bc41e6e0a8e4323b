#include <gtest/gtest.h>

#include "workspace/StatementSplitter.h"

namespace {

using Statements = std::vector<std::string>;

TEST(SplitStatements, ASeparatorCountsOnlyAtTheEndOfALine) {
  EXPECT_EQ(SplitStatements("SELECT 1;", ";"), (Statements{"SELECT 1"}));
  EXPECT_EQ(SplitStatements("SELECT 1; SELECT 2;", ";"), (Statements{"SELECT 1; SELECT 2"}));
  EXPECT_EQ(SplitStatements("SELECT 1;\nSELECT 2;\n", ";"), (Statements{"SELECT 1", "SELECT 2"}));
  EXPECT_EQ(SplitStatements("SELECT ';'\n", ";"), (Statements{"SELECT ';'"}));
  // Trailing blanks, tabs and CR after the separator do not hide it.
  EXPECT_EQ(SplitStatements("SELECT 1; \t\r\nSELECT 2", ";"), (Statements{"SELECT 1", "SELECT 2"}));
}

TEST(SplitStatements, StatementsSpanLinesJoinedByOneBlank) {
  EXPECT_EQ(SplitStatements("SELECT a,\r\n   b\r\nFROM t;\r\nDELETE FROM t", ";"),
            (Statements{"SELECT a, b FROM t", "DELETE FROM t"}));
  // A blank line inside a statement still adds its blank.
  EXPECT_EQ(SplitStatements("SELECT a\n\nFROM t;", ";"), (Statements{"SELECT a  FROM t"}));
  // Blank lines between statements make no statement.
  EXPECT_EQ(SplitStatements("\n\n  \nSELECT 1;\n\n;\n", ";"), (Statements{"SELECT 1"}));
}

TEST(SplitStatements, CommentsCountOnlyInColumnOne) {
  EXPECT_EQ(SplitStatements("-- note\n# other\nSELECT 1;\n--x;\nSELECT 2;", ";"), (Statements{"SELECT 1", "SELECT 2"}));
  EXPECT_EQ(SplitStatements("  -- note\nSELECT 1;", ";"), (Statements{"-- note SELECT 1"}));
  EXPECT_EQ(SplitStatements("\t# not skipped;", ";"), (Statements{"# not skipped"}));
  EXPECT_EQ(SplitStatements("-- only\n# comments;\n", ";"), Statements{});
  // A single "-" is not a comment.
  EXPECT_EQ(SplitStatements("-1;", ";"), (Statements{"-1"}));
}

TEST(SplitStatements, TextAfterTheLastSeparatorIsAStatement) {
  EXPECT_EQ(SplitStatements("INSERT INTO t VALUES (1);\nSELECT * FROM t", ";"),
            (Statements{"INSERT INTO t VALUES (1)", "SELECT * FROM t"}));
  EXPECT_EQ(SplitStatements("", ";"), Statements{});
  EXPECT_EQ(SplitStatements(";", ";"), Statements{});
  EXPECT_EQ(SplitStatements(" \r\n\t", ";"), Statements{});
}

TEST(SplitStatements, SeparatorsOfSeveralCharactersMatchCaseSensitively) {
  EXPECT_EQ(SplitStatements("SELECT 1\nGO\nSELECT 2\nGO", "GO"), (Statements{"SELECT 1", "SELECT 2"}));
  EXPECT_EQ(SplitStatements("SELECT 1\ngo\nSELECT 2", "GO"), (Statements{"SELECT 1 go SELECT 2"}));
  // The separator may end a word: the statement then loses it.
  EXPECT_EQ(SplitStatements("SELECT 1 ALGO\nX", "GO"), (Statements{"SELECT 1 AL", "X"}));
  // A line that is the separator only.
  EXPECT_EQ(SplitStatements("GO\nGO", "GO"), Statements{});
}

TEST(SplitStatements, NoStatementHasOuterWhitespace) {
  EXPECT_EQ(SplitStatements(" a ;\n\tb\t;\r\n c \r\n", ";"), (Statements{"a", "b", "c"}));
  EXPECT_EQ(SplitStatements("x\r\n;\r\n", ";"), (Statements{"x"}));
}

}  // namespace
