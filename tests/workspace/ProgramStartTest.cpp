#include <QTemporaryDir>
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/workspace/RecordingStarter.h"
#include "workspace/MemoryProfileStore.h"
#include "workspace/ProgramStart.h"
#include "workspace/SettingsStore.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(SplitCommandLine, SplitsAsAShellWithoutExpansions) {
  EXPECT_EQ(SplitCommandLine("xdg-open"), (Arguments{"xdg-open"}));
  EXPECT_EQ(SplitCommandLine("  kate  -n\t--line 3 "), (Arguments{"kate", "-n", "--line", "3"}));
  EXPECT_EQ(SplitCommandLine("'/opt/my viewer/bin' -x"), (Arguments{"/opt/my viewer/bin", "-x"}));
  EXPECT_EQ(SplitCommandLine("\"/opt/my viewer\"/bin"), (Arguments{"/opt/my viewer/bin"}));
  EXPECT_EQ(SplitCommandLine("a\\ b c"), (Arguments{"a b", "c"}));
  EXPECT_EQ(SplitCommandLine("\"say \\\"hi\\\" \\n\""), (Arguments{"say \"hi\" \\n"}));
  EXPECT_EQ(SplitCommandLine("'a\\b' \"\" ''"), (Arguments{"a\\b", "", ""}));
  EXPECT_EQ(SplitCommandLine("$HOME *.sql ; rm"), (Arguments{"$HOME", "*.sql", ";", "rm"}));
  EXPECT_EQ(SplitCommandLine(""), Arguments{});
  EXPECT_EQ(SplitCommandLine("'open"), std::nullopt);
  EXPECT_EQ(SplitCommandLine("\"open\\\""), std::nullopt);
}

class ScriptFileReader : public testing::Test {
 protected:
  void SetUp() override { settings.LoadAll(MemoryProfileStore()); }
  SettingsStore settings;
  RecordingStarter starter;
};

TEST_F(ScriptFileReader, PassesThePathAsOneArgument) {
  const std::string path = "/home/u/my reports/Qelvo Report; 'x' $(y).txt";
  EXPECT_TRUE(RunScriptFileReader(path, settings, starter));
  ASSERT_EQ(starter.started.size(), 1u);
  EXPECT_EQ(starter.started[0], (Arguments{"xdg-open", path}));
  EXPECT_FALSE(starter.waited[0]);

  settings.SetText("General", "ScriptFileReader", "'/opt/text viewer/bin/view' --readonly");
  EXPECT_TRUE(RunScriptFileReader(path, settings, starter));
  EXPECT_EQ(starter.started[1], (Arguments{"/opt/text viewer/bin/view", "--readonly", path}));
}

TEST_F(ScriptFileReader, StartsNothingWithoutAProgram) {
  for (const char* reader : {"", "   ", "'unclosed"}) {
    settings.SetText("General", "ScriptFileReader", reader);
    EXPECT_FALSE(RunScriptFileReader("/tmp/x.txt", settings, starter)) << reader;
  }
  EXPECT_TRUE(starter.started.empty());
  settings.SetText("General", "ScriptFileReader", "viewer");
  starter.succeed = false;
  EXPECT_FALSE(RunScriptFileReader("/tmp/x.txt", settings, starter));
}

TEST(RunProgram, SplitsTheCommandLineAndReportsFailures) {
  RecordingStarter starter;
  EXPECT_TRUE(RunProgram("tool \"a b\" c", true, starter));
  EXPECT_EQ(starter.started[0], (Arguments{"tool", "a b", "c"}));
  EXPECT_TRUE(starter.waited[0]);
  EXPECT_FALSE(RunProgram("  ", false, starter));
  EXPECT_FALSE(RunProgram("\"x", false, starter));
  EXPECT_EQ(starter.started.size(), 1u);
}

// The real starter, on a harmless program: no shell sits between, so a path with blanks and shell
// characters arrives as one argument.
TEST(SystemProcessStarter, StartsWithoutAShell) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  std::string path = folder.filePath("new file; $(x) 'q'.txt").toStdString();
  SystemProcessStarter starter;
  ASSERT_TRUE(starter.Start({"touch", path}, true));
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(starter.Start({"/nonexistent/qelvo-no-such-program"}, true));
  EXPECT_FALSE(starter.Start({"/nonexistent/qelvo-no-such-program"}, false));
  EXPECT_FALSE(starter.Start({}, false));
}

}  // namespace
