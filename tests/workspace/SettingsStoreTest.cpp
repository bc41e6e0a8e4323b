#include <QTemporaryDir>
#include <cstdlib>

#include <gtest/gtest.h>

#include "workspace/MemoryProfileStore.h"
#include "workspace/QSettingsProfileStore.h"
#include "workspace/SettingsStore.h"

namespace {

TEST(SettingsStore, FirstStartWritesEveryValueWithItsDefault) {
  MemoryProfileStore profile;
  SettingsStore settings;
  settings.LoadAll(profile);
  settings.SaveAll(profile);

  int written = 0;
  for (const char* section : {"General", "Grid", "Export", "History", "Format", "Excel"})
    written += profile.CountValues(section);
  EXPECT_EQ(written, 44);
  EXPECT_EQ(profile.ReadString("General", "BatchSeparator"), ";");
  EXPECT_EQ(profile.ReadString("Grid", "NullFieldLabel"), "<null>");
  EXPECT_EQ(profile.ReadString("Format", "SplitWords"), "SELECT|FROM|LEFT|INNER|RIGHT|WHERE|ORDER|LIMIT|GROUP|HAVING");
  EXPECT_EQ(profile.ReadString("Excel", "CsvSeparator"), ";");
  // No default: written empty, read as 0.
  EXPECT_EQ(profile.ReadString("Grid", "AutoSizeColumns"), "");
  EXPECT_EQ(profile.ReadString("Grid", "DateTimeFormat"), "");
  EXPECT_EQ(settings.GetInt("Grid", "AutoSizeColumns"), 0);
  EXPECT_EQ(settings.GetInt("Grid", "DateTimeFormat"), 0);
}

TEST(SettingsStore, LinuxDefaultsForTheViewerAndTheOutputFile) {
  const char* home = std::getenv("HOME");
  std::string saved = home ? home : "";
  setenv("HOME", "/home/some user", 1);
  SettingsStore settings;
  settings.LoadAll(MemoryProfileStore());
  EXPECT_EQ(settings.GetString("General", "ScriptFileReader"), "xdg-open");
  EXPECT_EQ(settings.GetString("Export", "OutputFile"), "/home/some user/Output.sql");
  if (home)
    setenv("HOME", saved.c_str(), 1);
  else
    unsetenv("HOME");
}

TEST(SettingsStore, TableOrderIsTheIndexOrder) {
  EXPECT_EQ(SettingsCount, 44);
  EXPECT_EQ(SettingsStore::IndexOf("General", "Font"), 0);
  EXPECT_EQ(SettingsStore::IndexOf("General", "BatchSeparator"), 10);
  EXPECT_EQ(SettingsStore::IndexOf("Excel", "CsvSeparator"), 43);
  // Every pair appears once, so lookups by name reach every index.
  for (int i = 0; i < SettingsCount; ++i)
    EXPECT_EQ(SettingsStore::IndexOf(SettingsTable[i].section, SettingsTable[i].key), i) << i;
}

TEST(SettingsStore, LookupsIgnoreCase) {
  EXPECT_EQ(SettingsStore::IndexOf("general", "BATCHSEPARATOR"), 10);
  EXPECT_EQ(SettingsStore::IndexOf("GRID", "usefilters"), 26);
  EXPECT_EQ(SettingsStore::IndexOf("Grid", "BatchSeparator"), -1);
  EXPECT_EQ(SettingsStore::IndexOf("General", "BatchSeparatorX"), -1);
  SettingsStore settings;
  ASSERT_TRUE(settings.SetValue("general", "batchseparator", "%s", "GO"));
  EXPECT_EQ(settings.GetString("General", "BatchSeparator"), "GO");
}

TEST(SettingsStore, IntegersReadAsTheCLibraryReadsThem) {
  SettingsStore settings;
  auto read = [&](const char* text) {
    settings.SetText("Grid", "MaxDataRows", text);
    return settings.GetInt("Grid", "MaxDataRows");
  };
  EXPECT_EQ(read("abc"), 0);
  EXPECT_EQ(read(" 12x"), 12);
  EXPECT_EQ(read("\t-5"), -5);
  EXPECT_EQ(read("+7"), 7);
  EXPECT_EQ(read(""), 0);
  EXPECT_EQ(read("99999999999999999999"), 2147483647);
  EXPECT_EQ(read("-99999999999999999999"), -2147483647 - 1);
  settings.SetText("Grid", "UseFilters", "x1");
  EXPECT_FALSE(settings.GetBool("Grid", "UseFilters"));
  settings.SetText("Grid", "UseFilters", "2");
  EXPECT_TRUE(settings.GetBool("Grid", "UseFilters"));
}

TEST(SettingsStore, SetValueFormatsAndKeepsLongTextsWhole) {
  SettingsStore settings;
  ASSERT_TRUE(settings.SetValue("Grid", "NumericWidth", "%d", 12));
  EXPECT_EQ(settings.GetInt("Grid", "NumericWidth"), 12);

  std::string exact(2047, 'w');
  ASSERT_TRUE(settings.SetValue("Format", "SplitWords", "%s", exact.c_str()));
  EXPECT_EQ(settings.GetString("Format", "SplitWords"), exact);

  std::string words;
  for (int i = 0; i < 2000; ++i) words += "WORD" + std::to_string(i) + "|";
  ASSERT_TRUE(settings.SetValue("Format", "SplitWords", "%s", words.c_str()));
  EXPECT_EQ(settings.GetString("Format", "SplitWords"), words);
  // Its neighbours are untouched.
  EXPECT_EQ(settings.GetString("History", "CacheSize"), "");
  EXPECT_EQ(settings.GetString("General", "FieldsToExclude"), "");

  MemoryProfileStore profile;
  settings.SaveAll(profile);
  SettingsStore reread;
  reread.LoadAll(profile);
  EXPECT_EQ(reread.GetString("Format", "SplitWords"), words);
}

TEST(SettingsStore, UnknownPairsChangeNothing) {
  SettingsStore settings;
  settings.LoadAll(MemoryProfileStore());
  SettingsStore before = settings;
  EXPECT_FALSE(settings.SetValue("General", "NoSuchKey", "%d", 1));
  EXPECT_FALSE(settings.SetText("NoSection", "BatchSeparator", "x"));
  EXPECT_EQ(settings.GetString("General", "NoSuchKey"), "");
  for (int i = 0; i < SettingsCount; ++i) EXPECT_EQ(settings.ValueAt(i), before.ValueAt(i));
}

TEST(SettingsStore, StoredValuesWinOverDefaults) {
  MemoryProfileStore profile;
  profile.WriteString("General", "BatchSeparator", "GO");
  profile.WriteString("Grid", "NullFieldLabel", "");
  SettingsStore settings;
  settings.LoadAll(profile);
  EXPECT_EQ(settings.GetString("General", "BatchSeparator"), "GO");
  // An empty stored value is a value, not a missing one.
  EXPECT_EQ(settings.GetString("Grid", "NullFieldLabel"), "");
  EXPECT_EQ(settings.GetString("Grid", "Sortable"), "1");
}

TEST(SettingsStore, AssignmentCopiesEveryValue) {
  SettingsStore settings;
  settings.LoadAll(MemoryProfileStore());
  SettingsStore editorCopy = settings;
  editorCopy.SetText("Grid", "Colorize", "1");
  EXPECT_FALSE(settings.GetBool("Grid", "Colorize"));
  settings = editorCopy;
  EXPECT_TRUE(settings.GetBool("Grid", "Colorize"));
}

TEST(SettingsStore, ToggleBeforeTheEndReachesTheSettingsFile) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  std::string path = folder.filePath("Tolvane/Qelvo.conf").toStdString();
  {
    QSettingsProfileStore profile(path);
    SettingsStore settings;
    settings.LoadAll(profile);
    settings.SaveAll(profile);
    settings.SetText("Grid", "UseFilters", settings.GetBool("Grid", "UseFilters") ? "0" : "1");
    settings.SaveAll(profile);  // as the workspace does when it closes
  }
  QSettingsProfileStore profile(path);
  EXPECT_EQ(profile.ReadString("Grid", "UseFilters"), "0");
  SettingsStore settings;
  settings.LoadAll(profile);
  EXPECT_FALSE(settings.GetBool("Grid", "UseFilters"));
  EXPECT_EQ(settings.GetString("General", "Font"), "-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;");
}

}  // namespace
