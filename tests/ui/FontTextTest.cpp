// The font text of the settings: round trip, what is rejected, how numbers and the face name are
// read, and the display name.
#include <gtest/gtest.h>

#include "ui/FontText.h"

namespace {

constexpr const char* kDefault = "-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;";

TEST(FontText, TheDefaultReadsBackToTheSameText) {
  const std::optional<LogFont> font = ParseFontText(kDefault);
  ASSERT_TRUE(font);
  EXPECT_EQ(font->height, -13);
  EXPECT_EQ(font->weight, 400);
  EXPECT_EQ(font->outPrecision, 3);
  EXPECT_EQ(font->clipPrecision, 2);
  EXPECT_EQ(font->quality, 1);
  EXPECT_EQ(font->pitchAndFamily, 49);
  EXPECT_EQ(font->faceName, "Courier New");
  EXPECT_EQ(FormatFontText(*font), kDefault);
}

TEST(FontText, OnlyExactlyFourteenPiecesAreAFont) {
  EXPECT_FALSE(ParseFontText("-13;0;0;0;400;0;0;0;0;3;2;1;49;"));              // 13 pieces
  EXPECT_FALSE(ParseFontText("-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier;New;"));  // ';' in the face
  EXPECT_FALSE(ParseFontText(""));
  EXPECT_FALSE(ParseFontText(";;;;"));
  // Empty pieces are skipped, and the last ';' may be missing.
  const std::optional<LogFont> loose = ParseFontText(";-13;;0;0;0;400;0;0;0;0;3;2;1;49;Courier New");
  ASSERT_TRUE(loose);
  EXPECT_EQ(FormatFontText(*loose), kDefault);
}

TEST(FontText, NumbersAreReadLikeAtol) {
  const std::optional<LogFont> font = ParseFontText("  -20px;+5;x;7.9;700;1;1;1;300;-1;0;4;34;Arial;");
  ASSERT_TRUE(font);
  EXPECT_EQ(font->height, -20) << "leading blanks and a sign, stopping at the first other character";
  EXPECT_EQ(font->width, 5);
  EXPECT_EQ(font->escapement, 0) << "no digits reads as 0";
  EXPECT_EQ(font->orientation, 7);
  EXPECT_EQ(font->charSet, 300 & 0xFF) << "8-bit members keep the low 8 bits";
  EXPECT_EQ(font->outPrecision, 0xFF);
  EXPECT_EQ(font->italic, 1);
  const std::optional<LogFont> huge = ParseFontText("99999999999999999999;-99999999999;0;0;0;0;0;0;0;0;0;0;0;A;");
  ASSERT_TRUE(huge);
  EXPECT_EQ(huge->height, 2147483647);
  EXPECT_EQ(huge->width, -2147483647 - 1);
}

TEST(FontText, TheFaceNameIsCutToThirtyOneBytesOnACharacterBoundary) {
  const std::string ascii(40, 'a');
  EXPECT_EQ(ParseFontText("1;0;0;0;0;0;0;0;0;0;0;0;0;" + ascii + ";")->faceName, std::string(31, 'a'));
  // 15 two-byte letters are 30 bytes; the sixteenth would cross byte 31 and is dropped whole.
  std::string accented;
  for (int i = 0; i < 16; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(ParseFontText("1;0;0;0;0;0;0;0;0;0;0;0;0;" + accented + ";")->faceName, accented.substr(0, 30));
  EXPECT_EQ(ParseFontText("1;0;0;0;0;0;0;0;0;0;0;0;0; Spaced Face ;")->faceName, " Spaced Face ");
  // Not UTF-8 (a lead byte, then only continuation bytes): cut at the byte limit, never emptied,
  // so the text still reads back.
  const std::string broken = "\xC3" + std::string(40, '\xA3');
  const std::optional<LogFont> font = ParseFontText("1;0;0;0;0;0;0;0;0;0;0;0;0;" + broken + ";");
  ASSERT_TRUE(font);
  EXPECT_EQ(font->faceName.size(), kMaxFaceName);
  EXPECT_EQ(ParseFontText(FormatFontText(*font)), font);
}

TEST(FontText, DisplayNameAndPointConversions) {
  const LogFont font = *ParseFontText(kDefault);
  EXPECT_EQ(FontDisplayName(font, true, 96), "Courier New (10 )");
  EXPECT_EQ(FontDisplayName(font, false, 96), "Courier New");
  EXPECT_EQ(FontHeightToPoints(-16, 96), 12);
  EXPECT_EQ(FontHeightToPoints(-13, 120), 8);    // 7.8 rounds to 8
  EXPECT_EQ(FontHeightToPoints(16, 96), -12);    // a cell height gives a negative point size
  EXPECT_EQ(FontPointsToHeight(10, 96), -13);    // 13.33
  EXPECT_EQ(FontPointsToHeight(-10, 600), -83);  // the sign of the stored points is ignored
  EXPECT_EQ(FontPointsToHeight(9, 96), -12);
  EXPECT_EQ(FontHeightToPoints(-13, 0), 0) << "no resolution, no crash";
}

}  // namespace
