// Passwords of remembered connection strings: put away behind placeholders, put back for opening,
// asked for when no store keeps them; the connection history and the drafts never write them, an
// old settings file is rewritten without them, and clearing the history deletes its secrets.
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "data/ConnectionSecrets.h"
#include "data/ado/ConnectionString.h"
#include "tests/ComErrorOf.h"
#include "workspace/EditorDrafts.h"
#include "workspace/HistoryCache.h"
#include "workspace/QSettingsProfileStore.h"
#include "workspace/SettingsStore.h"

namespace {

// A store that outlives the "session" as the desktop's secret service does (the real one is
// exercised end to end under a keyring daemon).
class KeptSecrets : public SecretStore {
 public:
  bool Persistent() override { return true; }
  bool Write(const std::string& name, const std::string& secret) override {
    secrets[name] = secret;
    return true;
  }
  std::optional<std::string> Read(const std::string& name) override {
    auto it = secrets.find(name);
    if (it == secrets.end()) return std::nullopt;
    return it->second;
  }
  void Remove(const std::string& name) override { secrets.erase(name); }
  std::map<std::string, std::string> secrets;
};

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class Secrets : public testing::Test {
 protected:
  void SetUp() override {
    ResetSessionSecrets();
    SetSecretStore(store);
    SetPasswordPrompt(nullptr);
  }
  void TearDown() override {
    SetSecretStore(nullptr);
    SetPasswordPrompt(nullptr);
    ResetSessionSecrets();
  }
  // A new run of the program: nothing of this session is left.
  void Restart() { ResetSessionSecrets(); }

  std::shared_ptr<KeptSecrets> store = std::make_shared<KeptSecrets>();
};

TEST_F(Secrets, PasswordsGoAwayAndComeBackForOpening) {
  const std::string typed =
      "DRIVER={PostgreSQL Unicode};SERVER=db; PWD = s3cr ;UID=ann;Password='it''s';Jet OLEDB:Database "
      "Password={x}}y};Extra=1";
  const std::string kept = PutPasswordsAway(typed);
  for (const char* password : {"s3cr", "it's", "it''s", "x}y", "x}}y"})
    EXPECT_EQ(kept.find(password), std::string::npos) << kept;
  EXPECT_FALSE(HasClearPassword(kept));
  EXPECT_TRUE(HasClearPassword(typed));
  // The rest of the text stays as typed.
  EXPECT_EQ(kept.rfind("DRIVER={PostgreSQL Unicode};SERVER=db; PWD = <saved-password:qelvo-", 0), 0u) << kept;
  EXPECT_NE(kept.find(";UID=ann;"), std::string::npos);
  EXPECT_NE(kept.find(";Extra=1"), std::string::npos);
  EXPECT_EQ(SecretNamesIn(kept).size(), 3u);
  // Putting away twice changes nothing; the same connection gets the same secret names.
  EXPECT_EQ(PutPasswordsAway(kept), kept);
  EXPECT_EQ(PutPasswordsAway(typed), kept);

  Restart();
  const ado::ConnectionString restored = ado::ConnectionString::Parse(RestorePasswords(kept));
  EXPECT_EQ(restored.Get("PWD"), "s3cr");
  EXPECT_EQ(restored.Get("Password"), "it's");
  EXPECT_EQ(restored.Get("Jet OLEDB:Database Password"), "x}y");
  EXPECT_EQ(restored.Get("UID"), "ann");
  // A string without placeholders is opened as it stands.
  EXPECT_EQ(RestorePasswords("Provider=SQLite;Data Source=a.db"), "Provider=SQLite;Data Source=a.db");
}

TEST_F(Secrets, APasswordWithSeparatorsComesBackWhole) {
  const std::string kept = PutPasswordsAway("SERVER=db;PWD={a;b c'\"}");
  Restart();
  EXPECT_EQ(ado::ConnectionString::Parse(RestorePasswords(kept)).Get("PWD"), "a;b c'\"");
}

TEST_F(Secrets, AWrongOrUnknownPlaceholderIsAClearError) {
  for (const std::string& text : {std::string("SERVER=db;PWD=<saved-password:bogus>"),
                                  std::string("SERVER=db;PWD=<saved-password:qelvo-00000000000000zz>")}) {
    try {
      RestorePasswords(text);
      ADD_FAILURE() << "no error for " << text;
    } catch (const ado::ComError& e) {
      EXPECT_NE(e.Description().find("is not a saved password"), std::string::npos) << e.Description();
    }
  }
  try {
    RestorePasswords("SERVER=db;PWD=<saved-password:qelvo-0123456789abcdef>");
    ADD_FAILURE() << "no error for an unknown secret";
  } catch (const ado::ComError& e) {
    EXPECT_NE(e.Description().find("no password is saved for <saved-password:qelvo-0123456789abcdef>"),
              std::string::npos)
        << e.Description();
  }
}

TEST_F(Secrets, WithoutAStoreThePasswordLastsTheSessionAndIsAskedForAfter) {
  SetSecretStore(nullptr);
  const std::string kept = PutPasswordsAway("SERVER=db;UID=ann;PWD=hunter2");
  EXPECT_EQ(kept.find("hunter2"), std::string::npos);
  // Told once.
  EXPECT_EQ(TakeSessionOnlyNotice(), "No secret service is running: passwords are kept for this session only");
  EXPECT_EQ(TakeSessionOnlyNotice(), std::nullopt);
  EXPECT_EQ(ado::ConnectionString::Parse(RestorePasswords(kept)).Get("PWD"), "hunter2");

  Restart();
  std::vector<std::string> asked;
  SetPasswordPrompt([&](const std::string& masked) -> std::optional<std::string> {
    asked.push_back(masked);
    return "hunter2";
  });
  EXPECT_EQ(ado::ConnectionString::Parse(RestorePasswords(kept)).Get("PWD"), "hunter2");
  EXPECT_EQ(RestorePasswords(kept).find("hunter2") != std::string::npos, true);
  ASSERT_EQ(asked.size(), 1u) << "the answer is kept for the session";
  EXPECT_EQ(asked[0], "SERVER=db;UID=ann;PWD=***");
  // Refused by the server: a typed answer is asked for again, a password from the editor is not.
  ForgetTypedPasswords(kept);
  RestorePasswords(kept);
  EXPECT_EQ(asked.size(), 2u);
  const std::string other = PutPasswordsAway("SERVER=db2;PWD=from-the-editor");
  ForgetTypedPasswords(other);
  EXPECT_EQ(ado::ConnectionString::Parse(RestorePasswords(other)).Get("PWD"), "from-the-editor");
  EXPECT_EQ(asked.size(), 2u);

  Restart();
  SetPasswordPrompt([](const std::string&) { return std::optional<std::string>(); });
  EXPECT_EQ(ComErrorOf([&] { RestorePasswords(kept); }), ado::E_FAIL);
}

class SecretsInProfile : public Secrets {
 protected:
  void SetUp() override {
    Secrets::SetUp();
    path = folder.filePath("Qelvo.conf").toStdString();
    profile = std::make_unique<QSettingsProfileStore>(path);
    settings.LoadAll(*profile);
  }
  QTemporaryDir folder;
  std::string path;
  std::unique_ptr<QSettingsProfileStore> profile;
  SettingsStore settings;
};

TEST_F(SecretsInProfile, TheHistoryAndTheDraftsNeverWriteAPassword) {
  HistoryCache connections{ConnectionHistoryName, *profile, settings};
  connections.Remember("SERVER=db;UID=ann;PWD=hunter2");
  SaveEditorDrafts(*profile, {"SERVER=db2;PWD=swordfish", "SELECT 1"});
  profile->Flush();
  const std::string file = ReadFile(path);
  EXPECT_EQ(file.find("hunter2"), std::string::npos) << file;
  EXPECT_EQ(file.find("swordfish"), std::string::npos) << file;
  ASSERT_EQ(connections.Entries().size(), 1u);

  Restart();
  HistoryCache again{ConnectionHistoryName, *profile, settings};
  const std::optional<std::string> newest = again.Load();
  ASSERT_TRUE(newest);
  EXPECT_EQ(ado::ConnectionString::Parse(RestorePasswords(*newest)).Get("PWD"), "hunter2");
  EXPECT_EQ(ado::ConnectionString::Parse(RestorePasswords(LoadEditorDrafts(*profile)->connection)).Get("PWD"),
            "swordfish");
}

TEST_F(SecretsInProfile, AnOldFileIsRewrittenWithoutItsPasswords) {
  // As an earlier version left it: passwords in clear, one connection twice, and a value beyond
  // "Count" from a longer list.
  profile->WriteInt(ConnectionHistoryName, "Count", 3);
  profile->WriteBinary(ConnectionHistoryName, "00000", "SERVER=a;PWD=old-one");
  profile->WriteBinary(ConnectionHistoryName, "00001", "Provider=SQLite;Data Source=x.db");
  profile->WriteBinary(ConnectionHistoryName, "00002", "SERVER=a;PWD=new-one");
  profile->WriteBinary(ConnectionHistoryName, "00003", "SERVER=b;Password=left-over");
  profile->WriteBinary(DraftsSection, "Connection", "SERVER=c;PWD=drafted");
  profile->WriteBinary(DraftsSection, "Query", "SELECT 1");
  profile->Flush();
  ASSERT_NE(ReadFile(path).find("old-one"), std::string::npos);

  HistoryCache connections{ConnectionHistoryName, *profile, settings};
  const std::optional<std::string> newest = connections.Load();
  PutDraftPasswordsAway(*profile);
  const std::string file = ReadFile(path);
  for (const char* password : {"old-one", "new-one", "left-over", "drafted"})
    EXPECT_EQ(file.find(password), std::string::npos) << password << " still in\n" << file;

  // The two entries of server a are one now, with the newer password.
  ASSERT_EQ(connections.Entries().size(), 2u);
  EXPECT_EQ(connections.Entries()[0], "Provider=SQLite;Data Source=x.db");
  ASSERT_TRUE(newest);
  EXPECT_EQ(*newest, connections.Entries()[1]);
  Restart();
  EXPECT_EQ(ado::ConnectionString::Parse(RestorePasswords(*newest)).Get("PWD"), "new-one");
  EXPECT_EQ(ado::ConnectionString::Parse(RestorePasswords(LoadEditorDrafts(*profile)->connection)).Get("PWD"),
            "drafted");
  EXPECT_EQ(store->secrets.size(), 3u) << "server a's older password was replaced, not kept beside";
  // The query history is not touched.
  EXPECT_EQ(profile->ReadInt(QueryHistoryName, "Count"), std::nullopt);
}

TEST_F(SecretsInProfile, EntriesLeavingTheHistoryDeleteTheirSecrets) {
  settings.SetText("History", "CacheSize", "2");
  HistoryCache connections{ConnectionHistoryName, *profile, settings};
  connections.Remember("SERVER=gone;PWD=zero");
  connections.Remember("SERVER=a;PWD=one");
  connections.Remember("SERVER=b;PWD=two");
  // The oldest fell off the list, and its secret with it.
  ASSERT_EQ(connections.Entries().size(), 2u);
  ASSERT_EQ(store->secrets.size(), 2u);
  for (const auto& [name, password] : store->secrets) EXPECT_NE(password, "zero");
  const std::string kept = connections.Entries().back();
  connections.Clear();
  EXPECT_TRUE(store->secrets.empty());
  EXPECT_NE(ComErrorOf([&] { RestorePasswords(kept); }), ado::S_OK);
}

}  // namespace
