#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ValueFormat.h"
#include "text/TextUtil.h"

namespace {
using Pieces = std::vector<std::string>;

TEST(Trim, RemovesCharactersOfTheSetAtTheEnds) {
  EXPECT_EQ(Trim("  a b \t\r\n"), "a b");
  EXPECT_EQ(TrimLeft("  a b  "), "a b  ");
  EXPECT_EQ(TrimRight("  a b  "), "  a b");
  EXPECT_EQ(Trim("xxaxbxx", "x"), "axb");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("[]a[]", "[]"), "a");
}

TEST(SplitTrimmed, KeepsEmptyPiecesButNotAnEmptyLastOne) {
  Pieces out{"old"};
  SplitTrimmed(" a ; ;b ;", ';', out);
  EXPECT_EQ(out, (Pieces{"a", "", "b"}));
  SplitTrimmed(";;x", ';', out);
  EXPECT_EQ(out, (Pieces{"", "", "x"}));
  SplitTrimmed("alone", ';', out);
  EXPECT_EQ(out, (Pieces{"alone"}));
  SplitTrimmed("  ", ';', out);
  EXPECT_TRUE(out.empty());
  SplitTrimmed("", ';', out);
  EXPECT_TRUE(out.empty());
}

TEST(SplitTokens, AppendsEveryNonEmptyRun) {
  Pieces out{"kept"};
  SplitTokens(",,a, b,,c,", ", ", out);
  EXPECT_EQ(out, (Pieces{"kept", "a", "b", "c"}));
  Pieces none;
  SplitTokens(",,,", ",", none);
  EXPECT_TRUE(none.empty());
  SplitTokens("whole", "", none);
  EXPECT_EQ(none, (Pieces{"whole"}));
}

TEST(ToLower, FoldsAsciiAndUnicodeLetters) {
  EXPECT_EQ(ToLower("SELECT Ab1_"), "select ab1_");
  EXPECT_EQ(ToLower("ÄÖÜ ÉTÉ ΣΑΣ"), "äöü été σασ");
  EXPECT_EQ(ToLower(""), "");
  // Bytes that are not UTF-8 pass unchanged.
  EXPECT_EQ(ToLower(std::string("A\xC4Z\xFF", 4)), std::string("a\xC4z\xFF", 4));
}

TEST(CompareNoCase, IgnoresCase) {
  EXPECT_EQ(CompareNoCase("Orders", "ORDERS"), 0);
  EXPECT_LT(CompareNoCase("apple", "Banana"), 0);
  EXPECT_GT(CompareNoCase("Banana", "apple"), 0);
  EXPECT_LT(CompareNoCase("abc", "ABCD"), 0);
  EXPECT_GT(CompareNoCase("abcd", "ABC"), 0);
  EXPECT_EQ(CompareNoCase("", ""), 0);
  EXPECT_EQ(CompareNoCase("Straße", "STRASSE") != 0, true);
  EXPECT_EQ(CompareNoCase("Ärger", "äRGER"), 0);
  // Letters compare as lower case, so '_' sorts before them.
  EXPECT_LT(CompareNoCase("A_B", "AB"), 0);
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutRescanning) {
  std::string text = "a.b.c";
  ReplaceAll(text, ".", "..");
  EXPECT_EQ(text, "a..b..c");
  text = "aaa";
  ReplaceAll(text, "aa", "b");
  EXPECT_EQ(text, "ba");
  text = "xyx";
  ReplaceAll(text, "x", "");
  EXPECT_EQ(text, "y");
  text = "abc";
  ReplaceAll(text, "", "z");
  EXPECT_EQ(text, "abc");
  text = "GO\nGO";
  ReplaceAll(text, "GO", "GOGO");
  EXPECT_EQ(text, "GOGO\nGOGO");
}

TEST(DoubleSingleQuotes, DoublesEveryQuote) {
  EXPECT_EQ(DoubleSingleQuotes("it's"), "it''s");
  EXPECT_EQ(DoubleSingleQuotes("''"), "''''");
  EXPECT_EQ(DoubleSingleQuotes("none"), "none");
}

TEST(VariantHelpers, ValueAndByteArrays) {
  EXPECT_FALSE(HasValue(ado::Variant()));
  EXPECT_FALSE(HasValue(ado::Variant::Null()));
  EXPECT_TRUE(HasValue(ado::Variant(std::string())));
  EXPECT_TRUE(HasValue(ado::Variant(std::int32_t{0})));

  ado::Variant bytes = ado::Variant::Bytes(std::string("a\0b", 3));
  EXPECT_TRUE(IsByteArray(bytes));
  EXPECT_FALSE(IsByteArray(ado::Variant("ab")));
  EXPECT_FALSE(IsByteArray(ado::Variant::OfType(ado::VT_ARRAY | ado::VT_I4)));
  EXPECT_EQ(ByteArrayToText(bytes), std::string("a\0b", 3));
  EXPECT_EQ(bytes.vt(), ado::VT_EMPTY);

  ado::Variant text("ab");
  EXPECT_EQ(ByteArrayToText(text), "");
  EXPECT_EQ(text.vt(), ado::VT_EMPTY);
}
}  // namespace
