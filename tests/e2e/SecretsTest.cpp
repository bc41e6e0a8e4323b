// Saved passwords end to end on a PostgreSQL database: run once under a keyring daemon of its own
// (WithKeyring*, a real secret service) and once with no session bus at all (WithoutService*);
// see with_keyring.sh and this folder's CMakeLists.txt.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "data/ConnectionSecrets.h"
#include "data/ado/ConnectionString.h"
#include "platform/KeychainSecretStore.h"
#include "platform/PasswordDialog.h"
#include "platform/framework/MessageBox.h"
#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/SettingsStore.h"
#include "workspace/ui/BottomView.h"
#include "workspace/ui/ExportDlg.h"
#include "workspace/ui/MainFrame.h"
#include "workspace/ui/QelvoView.h"

namespace e2e {
namespace {

constexpr const char* kPassword = "secret";  // the test servers' password (scripts/servers.sh)

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

// The files under a folder that hold `text`.
std::vector<std::string> FilesHolding(const std::string& folder, const std::string& text) {
  std::vector<std::string> found;
  QDirIterator it(QString::fromStdString(folder), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const std::string path = it.next().toStdString();
    std::ifstream file(path, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    if (content.str().find(text) != std::string::npos) found.push_back(path);
  }
  return found;
}

class SecretsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    ResetSessionSecrets();
    const char* text = std::getenv("QELVO_TEST_PG");
    if (!text || !*text) GTEST_SKIP() << "QELVO_TEST_PG is not set";
    ado::ConnectionString server = ado::ConnectionString::Parse(text);
    ASSERT_EQ(server.Get("PWD"), kPassword);
    server.Set("DATABASE", "e2edb");
    connection_ = server.ToOdbcString();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    ResetSessionSecrets();
  }

  // A new run of the program: this session's passwords are gone.
  Program& Restart() {
    Stop();
    ResetSessionSecrets();
    return Start();
  }

  // Runs a query that needs the connection and returns its one value ("" when it failed).
  std::string RunOneValue(Program& p) {
    p.TypeQuery("SELECT 41 + 1 AS answer");
    p.PressExecute();
    const std::vector<std::string> values = p.Column(1);
    return values.size() == 1 ? values[0] : "";
  }

  // List Tables on the editor's connection, which shows the open's own error; its text.
  std::string ListTablesError(Program& p) {
    const std::size_t before = prompts_->Messages().size();
    prompts_->AnswerMessage(IDOK);
    p.RunCommand(ID_LIST_TABLES);
    return prompts_->Messages().size() > before ? prompts_->Messages().back().text : "";
  }

  std::string StatusMessage(Program& p) { return p.Frame().statusBar()->currentMessage().toStdString(); }

  std::string connection_;
};

// The store itself, needing no database server: bytes kept exactly, read back by another
// instance (as after a restart), deleted.
TEST(KeychainTest, WithKeyringKeepsReadsAndDeletesASecret) {
  EnsureApp();
  const std::string name = "qelvo-test-" + std::to_string(QCoreApplication::applicationPid());
  const char bytes[] = "p\xC3\xA4ss;wo'rd\0end";
  const std::string secret(bytes, sizeof bytes - 1);
  {
    KeychainSecretStore keychain;
    ASSERT_TRUE(keychain.Persistent()) << "run under with_keyring.sh";
    ASSERT_TRUE(keychain.Write(name, secret));
  }
  KeychainSecretStore again;
  EXPECT_EQ(again.Read(name), secret);
  again.Remove(name);
  EXPECT_EQ(again.Read(name), std::nullopt);
  EXPECT_EQ(again.Read("qelvo-never-written"), std::nullopt);
}

TEST(KeychainTest, WithoutServiceNothingIsKept) {
  EnsureApp();
  KeychainSecretStore keychain;
  EXPECT_FALSE(keychain.Persistent());
  EXPECT_FALSE(keychain.Write("qelvo-test", "x"));
  EXPECT_EQ(keychain.Read("qelvo-test"), std::nullopt);
}

TEST_F(SecretsTest, WithKeyringAPasswordSurvivesARestartOutsideTheSettings) {
  KeychainSecretStore keychain;
  ASSERT_TRUE(keychain.Persistent()) << "run under with_keyring.sh";
  Program& p = Start();
  p.TypeConnection(connection_);
  ASSERT_EQ(RunOneValue(p), "42");
  EXPECT_TRUE(prompts_->Messages().empty());
  // The editor shows the placeholder, never the password.
  const std::string shown = p.Workspace().ConnectionText();
  EXPECT_EQ(shown.find("PWD=" + std::string(kPassword)), std::string::npos) << shown;
  const std::vector<std::string> names = SecretNamesIn(shown);
  ASSERT_EQ(names.size(), 1u) << shown;
  EXPECT_EQ(keychain.Read(names[0]), kPassword);

  Program& again = Restart();
  EXPECT_TRUE(FilesHolding(settings_.Path(), kPassword).empty());
  ASSERT_EQ(again.Workspace().ConnectionText(), shown);
  EXPECT_EQ(RunOneValue(again), "42");
  EXPECT_TRUE(prompts_->Dialogs().empty()) << "the keyring answers, nobody is asked";
  EXPECT_TRUE(prompts_->Messages().empty());

  // What the connection writes: a batch report and a generated script hold no password.
  again.TypeQuery("SELECT nothing FROM nowhere_at_all;\nSELECT 1;");
  prompts_->AnswerMessage(IDYES);
  prompts_->AnswerMessage(IDOK);
  again.PressExecute();
  const std::string report = again.Bottom().LastBatch().ReportPath();
  ASSERT_FALSE(report.empty());
  EXPECT_NE(ReadFile(report).find("nowhere_at_all"), std::string::npos) << report << ":\n" << ReadFile(report);
  EXPECT_EQ(ReadFile(report).find(kPassword), std::string::npos);
  const std::string script = data_.File("out.sql");
  AppSettings().SetText("Export", "OutputFile", script);
  AppSettings().SetText("Export", "AppendMode", "0");
  AppSettings().SetText("Export", "TargetTableName", "Words");
  again.TypeQuery("SELECT 'kept' AS word");
  prompts_->AnswerDialog([](QDialog& dialog) {
    auto click = [&dialog](int id) {
      QTest::mouseClick(qobject_cast<QAbstractButton*>(dynamic_cast<ExportDlg&>(dialog).Control(id)), Qt::LeftButton);
    };
    dialog.show();
    click(ExportDlg::IDC_STRUCT_AND_DATA);
    click(1);
    return ScriptedPrompts::kUseDialogResult;
  });
  ASSERT_TRUE(again.RunCommand(ID_EXPORT_MYSQL_QUERY));
  EXPECT_NE(ReadFile(script).find("'kept'"), std::string::npos) << ReadFile(script);
  EXPECT_EQ(ReadFile(script).find(kPassword), std::string::npos);
  EXPECT_TRUE(FilesHolding(settings_.Path(), kPassword).empty());

  // Clear history deletes the secret; running the placeholder then says what is missing.
  prompts_->AnswerMessage(IDYES);
  again.RunCommand(ID_CLEAR_HISTORY);
  EXPECT_EQ(keychain.Read(names[0]), std::nullopt);
  Program& third = Restart();
  third.TypeConnection(shown);
  const std::string error = ListTablesError(third);
  EXPECT_NE(error.find("no password is saved for <saved-password:"), std::string::npos) << error;
}

TEST_F(SecretsTest, WithoutServiceThePasswordIsAskedForAfterARestart) {
  ASSERT_FALSE(KeychainSecretStore().Persistent()) << "run without a session bus";
  Program& p = Start();
  p.TypeConnection(connection_);
  ASSERT_EQ(RunOneValue(p), "42");
  EXPECT_EQ(StatusMessage(p), "No secret service is running: passwords are kept for this session only");
  EXPECT_EQ(p.Workspace().ConnectionText().find("PWD=" + std::string(kPassword)), std::string::npos);
  // Later runs in the same session need nobody.
  EXPECT_EQ(RunOneValue(p), "42");
  EXPECT_TRUE(prompts_->Dialogs().empty());

  Program& again = Restart();
  EXPECT_TRUE(FilesHolding(settings_.Path(), kPassword).empty());
  bool masked = false;
  prompts_->AnswerDialog([&masked](QDialog& dialog) {
    QLineEdit* edit = dialog.findChild<QLineEdit*>(QStringLiteral("password"));
    edit->setText(QString::fromLatin1(kPassword));
    masked = edit->echoMode() == QLineEdit::Password;
    dialog.show();
    const std::string folder = QELVO_E2E_SCREENSHOTS;
    QDir().mkpath(QString::fromStdString(folder));
    dialog.grab().save(QString::fromStdString(folder + "/password-dialog.png"));
    return QDialog::Accepted;
  });
  EXPECT_EQ(RunOneValue(again), "42");
  ASSERT_EQ(prompts_->Dialogs().size(), 1u);
  EXPECT_EQ(prompts_->Dialogs()[0].className, "PasswordDialog");
  EXPECT_TRUE(masked);
  EXPECT_TRUE(prompts_->Messages().empty());
  // The typed answer is not written anywhere either.
  Stop();
  EXPECT_TRUE(FilesHolding(settings_.Path(), kPassword).empty());

  // Cancel: the run fails with a message that says why.
  Program& third = Start();
  ResetSessionSecrets();
  prompts_->AnswerDialog([](QDialog&) { return QDialog::Rejected; });
  const std::string error = ListTablesError(third);
  EXPECT_NE(error.find("no password was given"), std::string::npos) << error;
}

// Needs no server: the placeholder is refused before any driver is asked.
using PlaceholderTest = ProgramTest;

TEST_F(PlaceholderTest, WithoutServiceAWrongPlaceholderIsAClearError) {
  Program& p = Start();
  p.TypeConnection("Provider=MSDASQL;DSN=none;PWD=<saved-password:not-one-of-ours>");
  prompts_->AnswerMessage(IDOK);
  p.RunCommand(ID_LIST_TABLES);
  ASSERT_EQ(prompts_->Messages().size(), 1u);
  const std::string error = prompts_->Messages()[0].text;
  EXPECT_NE(error.find("\"<saved-password:not-one-of-ours>\" is not a saved password"), std::string::npos) << error;
  EXPECT_TRUE(prompts_->Dialogs().empty());
}

}  // namespace
}  // namespace e2e
