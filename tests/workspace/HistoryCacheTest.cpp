#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "workspace/HistoryCache.h"
#include "workspace/MemoryProfileStore.h"
#include "workspace/QSettingsProfileStore.h"
#include "workspace/SettingsStore.h"

namespace {

using Entries = std::vector<std::string>;

class History : public testing::Test {
 protected:
  void SetUp() override { settings.LoadAll(profile); }
  void SetCacheSize(const char* size) { settings.SetText("History", "CacheSize", size); }

  MemoryProfileStore profile;
  SettingsStore settings;
  HistoryCache queries{QueryHistoryName, profile, settings};
  HistoryCache connections{ConnectionHistoryName, profile, settings};
};

TEST_F(History, RememberingAgainMovesATextToTheEnd) {
  queries.Remember("A");
  queries.Remember("B");
  queries.Remember("A");
  EXPECT_EQ(queries.Entries(), (Entries{"B", "A"}));
  EXPECT_EQ(queries.Position(), 1);
  // Case matters: "a" is another text.
  queries.Remember("a");
  EXPECT_EQ(queries.Entries(), (Entries{"B", "A", "a"}));
}

TEST_F(History, RememberSavesAtOnceInTheProfileLayout) {
  std::string multiLine = std::string("select 1\nfrom t\0x", 17);
  queries.Remember(multiLine);
  queries.Remember("");
  EXPECT_EQ(profile.ReadInt("CacheQuery2", "Count"), 2);
  EXPECT_EQ(profile.ReadBinary("CacheQuery2", "00000"), multiLine);
  EXPECT_EQ(profile.ReadBinary("CacheQuery2", "00001"), "");
  EXPECT_FALSE(profile.Contains("CacheConnection", "Count"));
}

TEST_F(History, CrLfAndLfLineEndsAreOneText) {
  // The editor hands back LF for a text it was given with CR LF: still the same entry.
  queries.Remember("select *\r\nfrom t\r\n");
  queries.Remember("other");
  queries.Remember("select *\nfrom t\n");
  EXPECT_EQ(queries.Entries(), (Entries{"other", "select *\nfrom t\n"}));
  EXPECT_EQ(profile.ReadBinary("CacheQuery2", "00001"), "select *\nfrom t\n");
  // A lone CR is not a line end of either kind and stays.
  queries.Remember("a\rb");
  EXPECT_EQ(queries.Entries().back(), "a\rb");

  // A list stored with both forms loads as one entry, at the newer place.
  profile.WriteInt("CacheConnection", "Count", 3);
  profile.WriteBinary("CacheConnection", "00000", "x\r\ny");
  profile.WriteBinary("CacheConnection", "00001", "z");
  profile.WriteBinary("CacheConnection", "00002", "x\ny");
  EXPECT_EQ(connections.Load(), "x\ny");
  EXPECT_EQ(connections.Entries(), (Entries{"z", "x\ny"}));
  EXPECT_EQ(connections.Position(), 1);
}

TEST_F(History, TheSizeLimitDropsTheOldest) {
  SetCacheSize("3");
  for (const char* text : {"A", "B", "C", "D"}) queries.Remember(text);
  EXPECT_EQ(queries.Entries(), (Entries{"B", "C", "D"}));

  for (const char* size : {"0", "1", "-4", "abc"}) {
    SetCacheSize(size);
    queries.Remember("E");
    EXPECT_EQ(queries.Entries(), (Entries{"E"})) << size;
    queries.Remember("F");
    EXPECT_EQ(queries.Entries(), (Entries{"F"})) << size;
  }
}

TEST_F(History, ALongerStoredListLoadsWholeAndIsTrimmedAtTheNextRemember) {
  SetCacheSize("20");
  for (int i = 0; i < 6; ++i) queries.Remember("Q" + std::to_string(i));
  SetCacheSize("3");
  HistoryCache reloaded(QueryHistoryName, profile, settings);
  EXPECT_EQ(reloaded.Load(), "Q5");
  EXPECT_EQ(reloaded.Entries().size(), 6u);
  EXPECT_EQ(reloaded.Position(), 5);
  reloaded.Remember("Q6");
  EXPECT_EQ(reloaded.Entries(), (Entries{"Q4", "Q5", "Q6"}));
  EXPECT_EQ(profile.ReadInt("CacheQuery2", "Count"), 3);
  // Values of the longer list stay behind and are ignored.
  EXPECT_EQ(profile.ReadBinary("CacheQuery2", "00005"), "Q5");
  HistoryCache again(QueryHistoryName, profile, settings);
  again.Load();
  EXPECT_EQ(again.Entries(), (Entries{"Q4", "Q5", "Q6"}));
}

TEST_F(History, LoadSkipsMissingValuesAndSurvivesADamagedCount) {
  profile.WriteInt("CacheConnection", "Count", 4);
  profile.WriteBinary("CacheConnection", "00000", "first");
  profile.WriteBinary("CacheConnection", "00002", "third");
  EXPECT_EQ(connections.Load(), "third");
  EXPECT_EQ(connections.Entries(), (Entries{"first", "third"}));
  EXPECT_EQ(connections.Position(), 1);

  profile.WriteInt("CacheConnection", "Count", -3);
  EXPECT_EQ(connections.Load(), std::nullopt);
  EXPECT_EQ(connections.Position(), -1);

  profile.WriteInt("CacheConnection", "Count", 2147483647);
  EXPECT_EQ(connections.Load(), "third");

  HistoryCache empty("NoSuchSection", profile, settings);
  EXPECT_EQ(empty.Load(), std::nullopt);
  EXPECT_TRUE(empty.Entries().empty());
}

TEST_F(History, SteppingStopsAtBothEnds) {
  for (const char* text : {"A", "B", "C"}) queries.Remember(text);
  EXPECT_EQ(queries.StepForward(), std::nullopt);  // at the newest: nothing happens
  EXPECT_EQ(queries.Position(), 2);
  EXPECT_EQ(queries.StepBack(), "B");
  EXPECT_EQ(queries.StepBack(), "A");
  EXPECT_EQ(queries.StepBack(), std::nullopt);
  EXPECT_EQ(queries.Position(), 0);
  EXPECT_EQ(queries.StepForward(), "B");
  EXPECT_EQ(queries.StepForward(), "C");
  EXPECT_EQ(queries.StepForward(), std::nullopt);
  // Remembering after stepping back puts the position at the newest again.
  queries.StepBack();
  queries.Remember("D");
  EXPECT_EQ(queries.Position(), 3);
}

TEST_F(History, ClearEmptiesTheListAndTheCount) {
  queries.Remember("A");
  queries.Remember("B");
  queries.Clear();
  EXPECT_TRUE(queries.Entries().empty());
  EXPECT_EQ(queries.Position(), -1);
  EXPECT_EQ(profile.ReadInt("CacheQuery2", "Count"), 0);
  EXPECT_EQ(queries.StepBack(), std::nullopt);
  EXPECT_EQ(queries.StepForward(), std::nullopt);
  queries.Remember("C");
  EXPECT_EQ(queries.Entries(), (Entries{"C"}));
  EXPECT_EQ(profile.ReadInt("CacheQuery2", "Count"), 1);
}

TEST_F(History, ButtonsFollowThePositions) {
  HistoryButtonStates states = ComputeHistoryButtons("", connections, queries);
  EXPECT_FALSE(states.execute || states.connectionBack || states.connectionForward || states.queryBack ||
               states.queryForward);

  queries.Remember("A");
  states = ComputeHistoryButtons("select 1", connections, queries);
  EXPECT_TRUE(states.execute);
  EXPECT_FALSE(states.queryBack);
  EXPECT_FALSE(states.queryForward);

  queries.Remember("B");
  states = ComputeHistoryButtons("B", connections, queries);
  EXPECT_TRUE(states.queryBack);
  EXPECT_FALSE(states.queryForward);
  queries.StepBack();
  states = ComputeHistoryButtons("A", connections, queries);
  EXPECT_FALSE(states.queryBack);
  EXPECT_TRUE(states.queryForward);
  EXPECT_FALSE(states.connectionBack || states.connectionForward);
}

TEST(ModifiedMarker, IsAddedOnceAndRemovedOnce) {
  EXPECT_EQ(WithModifiedMarker("Query", true), "Query *");
  EXPECT_EQ(WithModifiedMarker("Query *", true), "Query *");
  EXPECT_EQ(WithModifiedMarker("Query *", false), "Query");
  EXPECT_EQ(WithModifiedMarker("Query", false), "Query");
  EXPECT_EQ(WithModifiedMarker("", true), " *");
  // Too short to carry a marker of its own.
  EXPECT_EQ(WithModifiedMarker(" *", false), " *");
  EXPECT_EQ(WithModifiedMarker(" *", true), " * *");
}

TEST(HistoryFile, SurvivesARestartWithEveryByte) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  std::string path = folder.filePath("Qelvo.conf").toStdString();
  SettingsStore settings;
  settings.LoadAll(MemoryProfileStore());
  std::string awkward = std::string("select '\xff\xfe' \0 -- x\n\r;", 21);
  {
    QSettingsProfileStore profile(path);
    HistoryCache queries(QueryHistoryName, profile, settings);
    queries.Remember("select 1");
    queries.Remember(awkward);
  }
  QSettingsProfileStore profile(path);
  HistoryCache queries(QueryHistoryName, profile, settings);
  EXPECT_EQ(queries.Load(), awkward);
  EXPECT_EQ(queries.Entries(), (Entries{"select 1", awkward}));
}

}  // namespace
