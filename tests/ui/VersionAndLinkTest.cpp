// The program's version record through tvapi::ModuleVersion, and CLink's click.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "platform/framework/ScriptedPrompts.h"
#include "tests/platform/QtTestEnvironment.h"
#include "ui/Link.h"
#include "ui/ModuleVersion.h"

namespace {

TEST(ModuleVersion, ReadsTheProgramsRecord) {
  tvapi::ModuleVersion version;
  EXPECT_EQ(version.GetVersionString("ProductName"), "") << "nothing loaded yet";
  ASSERT_TRUE(version.LoadVersionInfo());
  EXPECT_EQ(version.Fixed().signature, 0xFEEF04BDu);
  EXPECT_EQ(version.Language(), 0x0409);
  EXPECT_EQ(version.CodePage(), 1252);
  EXPECT_EQ(version.GetVersionString("ProductName"), "Qelvo");
  EXPECT_EQ(version.GetVersionString("NoSuchValue"), "");
  const std::string project = QELVO_PROJECT_VERSION;
  EXPECT_EQ(version.VersionLine(), "Qelvo - Version " + project);
  EXPECT_EQ(version.GetVersionString("ProductVersion").rfind(project + ".", 0), 0u);
  EXPECT_EQ(version.GetVersionString("FileVersion"), version.GetVersionString("ProductVersion"));
  EXPECT_FALSE(version.GetVersionString("LegalCopyright").empty());
  EXPECT_FALSE(version.GetVersionString("CompanyName").empty());
  EXPECT_EQ(tvapi::ProgramVersionLine(), version.VersionLine());

  // Another module has no record here; the object is then empty again.
  EXPECT_FALSE(version.LoadVersionInfo("libother.so"));
  EXPECT_EQ(version.GetVersionString("ProductName"), "");
  EXPECT_EQ(version.Fixed().signature, 0u);
}

TEST(Link, ABlueLinkTurnsPurpleOnlyWhenItsTargetOpens) {
  auto prompts = std::make_shared<ScriptedPrompts>();
  SetPromptSeam(prompts);
  QWidget window;
  window.resize(200, 60);
  auto* link = new CLink(&window);
  link->setText(QStringLiteral("https://tolvane.example/"));
  link->setGeometry(10, 10, 180, 20);
  ASSERT_TRUE(qtest_env::ShowActive(window));
  EXPECT_EQ(link->TextColour(), QColor(0, 0, 255));
  EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);

  prompts->SetOpenDocumentResult(false);
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_EQ(prompts->Opened(), std::vector<std::string>{"https://tolvane.example/"}) << "its own text";
  EXPECT_EQ(prompts->Beeps().size(), 1u);
  EXPECT_FALSE(link->Visited());
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));

  prompts->SetOpenDocumentResult(true);
  QTest::mouseClick(link, Qt::LeftButton);
  EXPECT_TRUE(link->Visited());
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(128, 0, 128));
  EXPECT_EQ(prompts->Beeps().size(), 1u);
  const QImage picture = qtest_env::Screenshot(window, QStringLiteral("link_visited"));
  EXPECT_FALSE(picture.isNull());
  SetPromptSeam(nullptr);
}

}  // namespace
