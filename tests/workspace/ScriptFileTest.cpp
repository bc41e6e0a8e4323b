#include <sys/stat.h>

#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "workspace/ScriptFile.h"

namespace {

class ScriptFiles : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
  std::string Path(const char* name) { return folder_.filePath(name).toStdString(); }
  static void Put(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
  static std::string Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }

  QTemporaryDir folder_;
};

TEST_F(ScriptFiles, OpenEndsEveryLineWithCrLf) {
  std::string path = Path("a query.sql");
  Put(path, "select 1\nfrom t");
  EXPECT_EQ(ReadScriptFile(path), "select 1\r\nfrom t\r\n");
  Put(path, "select 1\r\nfrom t\r\n");
  EXPECT_EQ(ReadScriptFile(path), "select 1\r\nfrom t\r\n");
  Put(path, "a\n\n\nb\n");
  EXPECT_EQ(ReadScriptFile(path), "a\r\n\r\n\r\nb\r\n");
  Put(path, "");
  EXPECT_EQ(ReadScriptFile(path), "");
  // Only a CR before LF belongs to the line end; every other byte stays.
  Put(path, std::string("x\ry\0z\xff\r", 7));
  EXPECT_EQ(ReadScriptFile(path), std::string("x\ry\0z\xff\r\r\n", 9));
}

TEST_F(ScriptFiles, OpenReportsWhatCannotBeRead) {
  std::string missing = Path("no such file.sql");
  try {
    ReadScriptFile(missing);
    FAIL() << "no error";
  } catch (const ScriptFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to read file \"" + missing + "\"");
  }
  EXPECT_THROW(ReadScriptFile(folder_.path().toStdString()), ScriptFileError);
}

TEST_F(ScriptFiles, SaveStoresCrLfAndReadsBackTheSame) {
  std::string path = Path("saved.sql");
  WriteScriptFile(path, "select 1\nfrom t\n");
  EXPECT_EQ(Bytes(path), "select 1\r\nfrom t\r\n");
  // Text opened from a file already holds CR LF: it is not doubled.
  WriteScriptFile(path, ReadScriptFile(path));
  EXPECT_EQ(Bytes(path), "select 1\r\nfrom t\r\n");
  WriteScriptFile(path, "short");
  EXPECT_EQ(Bytes(path), "short");
}

TEST_F(ScriptFiles, AFailedSaveReportsAndKeepsTheOldFile) {
  std::string inMissingFolder = Path("missing/x.sql");
  try {
    WriteScriptFile(inMissingFolder, "select 1");
    FAIL() << "no error";
  } catch (const ScriptFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to file \"" + inMissingFolder + "\"");
  }
  EXPECT_THROW(WriteScriptFile(folder_.path().toStdString(), "x"), ScriptFileError);
}

}  // namespace
