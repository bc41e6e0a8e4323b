// CSharedFont: reading texts, the attached windows following every new font, a destroyed window
// producing only a trace warning, and the font dialog through the seam.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDialog>
#include <QPlainTextEdit>
#include <memory>

#include "data/Trace.h"
#include "platform/framework/ScriptedPrompts.h"
#include "ui/SharedFont.h"

namespace {

TEST(SharedFont, ReadsTheSettingAndGivesItToAttachedWindows) {
  CSharedFont font;
  QPlainTextEdit connection;
  QPlainTextEdit query;
  EXPECT_TRUE(font.AttachWindow(&connection));
  EXPECT_TRUE(font.AttachWindow(&query));
  EXPECT_TRUE(font.AttachWindow(&query));
  EXPECT_EQ(font.WindowCount(), 2u) << "a window is attached once";
  EXPECT_FALSE(font.AttachWindow(nullptr));

  ASSERT_TRUE(font.FromText("-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;"));
  EXPECT_EQ(font.ToText(), "-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;");
  ASSERT_TRUE(font.Font());
  EXPECT_EQ(font.Font()->pixelSize(), 13);
  EXPECT_EQ(connection.font().pixelSize(), 13);
  EXPECT_EQ(query.font().family(), "Courier New");
  EXPECT_EQ(query.font().styleHint(), QFont::TypeWriter);

  ASSERT_TRUE(font.FromText("-20;0;0;0;700;1;0;0;0;3;2;1;49;Courier New;"));
  EXPECT_EQ(query.font().pixelSize(), 20) << "changed at once";
  EXPECT_TRUE(query.font().bold());
  EXPECT_TRUE(connection.font().italic());
}

TEST(SharedFont, ABadTextLeavesTheFontAsItWas) {
  CSharedFont font;
  ASSERT_TRUE(font.FromText("-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;"));
  EXPECT_FALSE(font.FromText("-13;0;0;0;400;0;0;0;0;3;2;1;49;"));
  EXPECT_FALSE(font.FromText("-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier;New;"));
  EXPECT_EQ(font.ToText(), "-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;");
}

TEST(SharedFont, AnEmptySettingGivesTheSystemFont) {
  CSharedFont font;
  ASSERT_TRUE(font.FromText(""));
  EXPECT_FALSE(font.GetLogFont().faceName.empty());
  EXPECT_LT(font.GetLogFont().height, 0);
  EXPECT_TRUE(ParseFontText(font.ToText())) << "and it can be stored and read back";
}

TEST(SharedFont, ScaleAndDeviceResolution) {
  CSharedFont font;
  ASSERT_TRUE(font.FromText("-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;", nullptr, 1.5));
  EXPECT_EQ(font.GetLogFont().height, -19) << "-19.5 truncated toward zero";
  QImage printer(10, 10, QImage::Format_RGB32);
  printer.setDotsPerMeterY(11811);  // 300 dpi
  ASSERT_TRUE(font.FromText("10;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;", &printer, 1.0));
  EXPECT_EQ(font.GetLogFont().height, -42) << "10 points at 300 dpi";
}

TEST(SharedFont, DisplayNameWithThePointSize) {
  CSharedFont font;
  ASSERT_TRUE(font.FromText("-16;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;"));
  const int points = FontHeightToPoints(-16, CSharedFont::ScreenDpiY());
  EXPECT_EQ(font.ToDisplayName(true), "Courier New (" + std::to_string(points) + " )");
  EXPECT_EQ(font.ToDisplayName(false), "Courier New");
}

TEST(SharedFont, ADestroyedWindowOnlyLeavesAWarningInTheTrace) {
  std::vector<std::string> warnings;
  TraceSetObserver([&](const std::string&, char kind, const std::string& text) {
    if (kind == TraceWarning) warnings.push_back(text);
  });
  CSharedFont font;
  QPlainTextEdit kept;
  auto* gone = new QPlainTextEdit;
  font.AttachWindow(&kept);
  font.AttachWindow(gone);
  delete gone;
  ASSERT_TRUE(font.FromText("-15;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;"));
  TraceSetObserver({});
  EXPECT_EQ(kept.font().pixelSize(), 15);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].rfind("OnNewFont() : Wrong window handle encountered, hWnd = ", 0), 0u) << warnings[0];
  EXPECT_EQ(font.WindowCount(), 2u) << "the handle stays in the set";
}

TEST(SharedFont, TheFontDialogChoosesANewFontForEveryWindow) {
  auto prompts = std::make_shared<ScriptedPrompts>();
  SetPromptSeam(prompts);
  CSharedFont font;
  QPlainTextEdit editor;
  font.AttachWindow(&editor);
  ASSERT_TRUE(font.FromText("-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;"));
  const int dpi = CSharedFont::ScreenDpiY();
  QFont picked;
  prompts->AnswerDialog([&](QDialog& dialog) {
    auto& fonts = static_cast<QFontDialog&>(dialog);
    // The dialog works in points: 13 pixels are 9.75 points at 96 dpi.
    EXPECT_NEAR(fonts.currentFont().pointSizeF(), 13.0 * 72 / dpi, 0.5) << "starts from the current font";
    QFont chosen = fonts.currentFont();
    chosen.setPointSize(12);
    chosen.setItalic(true);
    fonts.setCurrentFont(chosen);
    fonts.accept();
    picked = fonts.selectedFont();
    return ScriptedPrompts::kUseDialogResult;
  });
  prompts->AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
  EXPECT_TRUE(font.ChooseWithDialog(nullptr, true, false));
  EXPECT_EQ(font.GetLogFont().height, FontPointsToHeight(12, dpi));
  EXPECT_EQ(font.GetLogFont().italic != 0, picked.italic());
  EXPECT_EQ(font.GetLogFont().faceName, picked.family().toStdString());
  EXPECT_EQ(editor.font().pixelSize(), -FontPointsToHeight(12, dpi)) << "the attached editor follows";
  const std::string chosen = font.ToText();
  EXPECT_TRUE(ParseFontText(chosen));
  EXPECT_FALSE(font.ChooseWithDialog(nullptr, true, false));
  EXPECT_EQ(font.ToText(), chosen) << "Cancel changes nothing";
  SetPromptSeam(nullptr);
}

}  // namespace
