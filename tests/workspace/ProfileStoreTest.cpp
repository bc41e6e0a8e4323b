#include <sys/stat.h>

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>

#include <gtest/gtest.h>

#include "workspace/MemoryProfileStore.h"
#include "workspace/QSettingsProfileStore.h"

namespace {

std::string AllBytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  return bytes + std::string("\0\0\r\n\n\xff\xfe", 7);
}

// Both backends keep the same values; the QSettings one is read back by a second instance, so
// what it keeps is what the file holds.
class ProfileBackend : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    path_ = folder_.filePath("Qelvo.conf").toStdString();
    if (GetParam())
      writer_ = std::make_unique<QSettingsProfileStore>(path_);
    else
      writer_ = std::make_unique<MemoryProfileStore>();
  }
  ProfileStore& Reader() {
    if (!GetParam()) return *writer_;
    writer_->Flush();
    reader_ = std::make_unique<QSettingsProfileStore>(path_);
    return *reader_;
  }

  QTemporaryDir folder_;
  std::string path_;
  std::unique_ptr<ProfileStore> writer_;
  std::unique_ptr<ProfileStore> reader_;
};

TEST_P(ProfileBackend, KeepsEveryKindOfValue) {
  const std::vector<std::string> texts = {"",
                                          "-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;",
                                          "a, b, c",
                                          "@ByteArray(x)",
                                          "  leading and trailing  ",
                                          "Provider=SQLite;Data Source=/tmp/a b.db;Password=\"p;w=d\"",
                                          "line\nbreak\r\nand\ttab",
                                          "#not a comment",
                                          "[x] = y",
                                          "caf\xc3\xa9 \xe2\x82\xac"};
  for (size_t i = 0; i < texts.size(); ++i) writer_->WriteString("General", "T" + std::to_string(i), texts[i]);
  writer_->WriteInt("WindowState", "x1", -42);
  writer_->WriteInt("WindowState", "y1", 2147483647);
  writer_->WriteBinary("CacheQuery2", "00000", AllBytes());
  writer_->WriteBinary("CacheQuery2", "00001", "");
  writer_->WriteString("Recent File List", "File1", "/home/u/my script.sql");

  ProfileStore& reader = Reader();
  for (size_t i = 0; i < texts.size(); ++i)
    EXPECT_EQ(reader.ReadString("General", "T" + std::to_string(i)), texts[i]) << i;
  EXPECT_EQ(reader.ReadInt("WindowState", "x1"), -42);
  EXPECT_EQ(reader.ReadInt("WindowState", "y1"), 2147483647);
  EXPECT_EQ(reader.ReadBinary("CacheQuery2", "00000"), AllBytes());
  EXPECT_EQ(reader.ReadBinary("CacheQuery2", "00001"), std::string());
  EXPECT_EQ(reader.ReadString("Recent File List", "File1"), "/home/u/my script.sql");
}

TEST_P(ProfileBackend, MissingValuesAndKindsThatCannotConvert) {
  writer_->WriteString("General", "Word", "12x");
  writer_->WriteString("General", "Number", "-7");
  writer_->WriteInt("General", "Int", 5);
  writer_->WriteBinary("General", "Bytes", std::string("a\0b", 3));
  ProfileStore& reader = Reader();
  EXPECT_EQ(reader.ReadString("General", "Absent"), std::nullopt);
  EXPECT_EQ(reader.ReadInt("Nowhere", "Count"), std::nullopt);
  EXPECT_EQ(reader.ReadBinary("Nowhere", "00000"), std::nullopt);
  EXPECT_EQ(reader.ReadInt("General", "Word"), std::nullopt);
  EXPECT_EQ(reader.ReadInt("General", "Number"), -7);
  EXPECT_EQ(reader.ReadString("General", "Int"), "5");
  EXPECT_EQ(reader.ReadBinary("General", "Number"), "-7");
  EXPECT_EQ(reader.ReadString("General", "Bytes"), std::nullopt);
}

TEST_P(ProfileBackend, LaterWritesReplaceEarlierOnes) {
  writer_->WriteString("Grid", "UseFilters", "1");
  writer_->WriteString("Grid", "UseFilters", "0");
  EXPECT_EQ(Reader().ReadString("Grid", "UseFilters"), "0");
}

INSTANTIATE_TEST_SUITE_P(Backends, ProfileBackend, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "QSettings" : "Memory"; });

TEST(ParseProfileInt, WholeDecimalNumbersOnly) {
  EXPECT_EQ(ParseProfileInt("0"), 0);
  EXPECT_EQ(ParseProfileInt("+12"), 12);
  EXPECT_EQ(ParseProfileInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseProfileInt("2147483648"), std::nullopt);
  EXPECT_EQ(ParseProfileInt(""), std::nullopt);
  EXPECT_EQ(ParseProfileInt("+-1"), std::nullopt);
  EXPECT_EQ(ParseProfileInt(" 1"), std::nullopt);
  EXPECT_EQ(ParseProfileInt("1 "), std::nullopt);
  EXPECT_EQ(ParseProfileInt("0x10"), std::nullopt);
}

class QSettingsFile : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old) saved_ = old;
    hadOld_ = old != nullptr;
    setenv("XDG_CONFIG_HOME", folder_.path().toUtf8().constData(), 1);
  }
  void TearDown() override {
    if (hadOld_)
      setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
  }
  static unsigned Mode(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return 0;
    return info.st_mode & 07777;
  }

  QTemporaryDir folder_;
  std::string saved_;
  bool hadOld_ = false;
};

TEST_F(QSettingsFile, LivesUnderTheConfigFolderReadableByItsOwnerOnly) {
  std::string expected = folder_.path().toStdString() + "/Tolvane/Qelvo.conf";
  EXPECT_EQ(QSettingsProfileStore::DefaultPath(), expected);
  {
    QSettingsProfileStore store;
    EXPECT_EQ(store.FilePath(), expected);
    store.WriteString("General", "BatchSeparator", ";");
    store.Flush();
    EXPECT_EQ(Mode(expected), 0600u);
  }
  EXPECT_EQ(Mode(expected), 0600u);
  QSettingsProfileStore again;
  EXPECT_EQ(again.ReadString("General", "BatchSeparator"), ";");
}

TEST_F(QSettingsFile, AFileWithWiderRightsIsNarrowed) {
  std::string path = folder_.filePath("wide.conf").toStdString();
  std::ofstream(path) << "[Grid]\nUseFilters=0\n";
  ::chmod(path.c_str(), 0644);
  QSettingsProfileStore store(path);
  EXPECT_EQ(Mode(path), 0600u);
  EXPECT_EQ(store.ReadString("Grid", "UseFilters"), "0");
  store.WriteString("Grid", "UseFilters", "1");
  store.Flush();
  EXPECT_EQ(Mode(path), 0600u);
}

}  // namespace
