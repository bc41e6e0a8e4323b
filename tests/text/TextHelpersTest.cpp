// The one case-folding rule, the text helpers built on it, and the rounding of numbers.
#include <gtest/gtest.h>

#include <string>

#include "text/CaseFold.h"
#include "text/NumberFormat.h"
#include "text/TextUtil.h"
#include "text/UserLocale.h"

TEST(CaseFold, FoldsLettersOfLatinGreekAndCyrillicKeepingTheLength) {
  EXPECT_EQ(FoldCase("ÄRGER Œuvre ŸES"), "ärger œuvre ÿes");
  EXPECT_EQ(FoldCase("ΆΣΣΟΣ ΏΡΑ"), "άσσοσ ώρα");
  EXPECT_EQ(FoldCase("ЁЖИК Ѣ Ӂ"), "ёжик ѣ ӂ");
  // Letters whose other case has another length stay as they are (İ, ẞ), as does all else.
  EXPECT_EQ(FoldCase("İ ẞ 中文 €"), "İ ẞ 中文 €");
  const std::string invalid("A\xC4Z\xFF\xC3", 5);
  EXPECT_EQ(FoldCase(invalid), std::string("a\xC4z\xFF\xC3", 5));
  for (const std::string& text :
       {std::string("ÄÖÜ"), std::string("Straße"), std::string("ΣΑΣ"), std::string("\xC3", 1)})
    EXPECT_EQ(FoldCase(text).size(), text.size()) << text;
}

TEST(CaseFold, ComparesAndFindsBytesAsTheFoldedText) {
  EXPECT_EQ(CompareFolded("ärger", "ÄRGER"), 0);
  EXPECT_TRUE(EqualsFolded("Жук", "жУК"));
  EXPECT_FALSE(EqualsFolded("Ärger", "Arger"));
  EXPECT_FALSE(EqualsFolded("Ärger", "Ärgern"));
  EXPECT_LT(CompareFolded("Äa", "äB"), 0);
  EXPECT_GT(CompareFolded("Ω", "a"), 0);
  const std::string text = "xÉy";
  const std::string folded = FoldCase(text);
  for (std::size_t i = 0; i < text.size(); ++i) EXPECT_EQ(FoldedByteAt(text, i), static_cast<unsigned char>(folded[i]));
  // The helpers of names and keywords fold by the same rule.
  EXPECT_EQ(CompareNoCase("ÉTÉ", "été"), 0);
  EXPECT_EQ(ToLower("ΑΒΓ"), "αβγ");
  EXPECT_TRUE(EqualsKeyword("desc", "DESC"));
  EXPECT_FALSE(EqualsKeyword("des", "DESC"));
}

TEST(TextHelpers, BlanksOfCriteria) {
  for (char c : {' ', '\t', '\r', '\n', '\f', '\v'}) EXPECT_TRUE(IsBlank(c)) << static_cast<int>(c);
  EXPECT_FALSE(IsBlank('x'));
  EXPECT_FALSE(IsBlank('\0'));
  EXPECT_EQ(TrimBlanks("\f\t a b \v\r\n"), "a b");
  EXPECT_EQ(TrimBlanks(" \n "), "");
}

TEST(NumberRounding, RoundsTheShortestDigitsHalfAwayFromZero) {
  ASSERT_TRUE(SetUserNumericLocale("C"));  // no grouping, '.' as the point
  EXPECT_EQ(FormatDoubleGrouped(2.675, 2), "2.68");
  EXPECT_EQ(FormatDoubleGrouped(0.125, 2), "0.13");
  EXPECT_EQ(FormatDoubleGrouped(-0.125, 2), "-0.13");
  EXPECT_EQ(FormatDoubleGrouped(9.995, 2), "10.00");
  EXPECT_EQ(FormatDoubleGrouped(-0.004, 2), "0.00");
  EXPECT_EQ(FormatDoubleGrouped(0.0001, 0), "0");
  EXPECT_EQ(FormatDoubleGrouped(1.5e-7, 7), "0.0000002");
  EXPECT_EQ(FormatDoubleGrouped(1e20, 1), "100000000000000000000.0");
  EXPECT_EQ(FormatDoubleGrouped(123.0, 0), "123");
  SetUserNumericLocale("");
}
