// The data-link dialog on real SQLite files: the strings it builds and reads back, the file
// chooser and Test Connection through the seam, and its place as the data layer's prompt.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "data/DbConnection.h"
#include "data/ado/ConnectionString.h"
#include "data/ado/DataLinks.h"
#include "platform/DataLinkDialog.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/ScriptedPrompts.h"
#include "tests/platform/QtTestEnvironment.h"

namespace {

std::string MakeDatabase(const QString& name) {
  const std::string path = QDir(qtest_env::TempFolder()).filePath(name).toStdString();
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(
      sqlite3_exec(db, "CREATE TABLE t(id INTEGER PRIMARY KEY); INSERT INTO t VALUES (1);", nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(db);
  return path;
}

struct DataLink : ::testing::Test {
  std::shared_ptr<ScriptedPrompts> prompts = std::make_shared<ScriptedPrompts>();
  void SetUp() override { SetPromptSeam(prompts); }
  void TearDown() override { SetPromptSeam(nullptr); }

  static QLineEdit* Edit(DataLinkDialog& d, int id) { return qobject_cast<QLineEdit*>(d.Control(id)); }
  static void Click(DataLinkDialog& d, int id) { qobject_cast<QPushButton*>(d.Control(id))->click(); }
};

TEST_F(DataLink, BuildsASqliteStringFromTheChosenFile) {
  const std::string path = MakeDatabase("shop files.db");
  DataLinkDialog dialog;
  EXPECT_EQ(dialog.CurrentProvider(), DataLinkDialog::kSqliteProvider);
  prompts->AnswerFile(path);
  Click(dialog, DataLinkDialog::kSqliteBrowse);
  ASSERT_EQ(prompts->Files().size(), 1u);
  EXPECT_TRUE(prompts->Files()[0].fileMustExist);
  EXPECT_EQ(Edit(dialog, DataLinkDialog::kSqliteFile)->text().toStdString(), path);
  const std::optional<std::string> text = dialog.BuildConnectionString(false);
  ASSERT_TRUE(text);
  const ado::ConnectionString parsed = ado::ConnectionString::Parse(*text);
  EXPECT_EQ(parsed.Get("Provider"), "SQLite");
  EXPECT_EQ(parsed.Get("Data Source"), path);
  EXPECT_FALSE(parsed.Has("Create"));
}

TEST_F(DataLink, TestConnectionOpensTheDatabaseAndSaysSo) {
  const std::string good = MakeDatabase("good.db");
  const std::string notADatabase = QDir(qtest_env::TempFolder()).filePath("notes.db").toStdString();
  {
    QFile file(QString::fromStdString(notADatabase));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is not a database file, just some text that is long enough to have a header");
  }
  DataLinkDialog dialog("Provider=SQLite;Data Source=" + good);
  Click(dialog, DataLinkDialog::kTestConnection);
  Edit(dialog, DataLinkDialog::kSqliteFile)->setText(QString::fromStdString(notADatabase));
  Click(dialog, DataLinkDialog::kTestConnection);
  Edit(dialog, DataLinkDialog::kSqliteFile)->setText("/nonexistent/folder/x.db");
  Click(dialog, DataLinkDialog::kTestConnection);
  ASSERT_EQ(prompts->Messages().size(), 3u);
  EXPECT_EQ(prompts->Messages()[0].text, "Test connection succeeded.");
  EXPECT_EQ(prompts->Messages()[0].type & MB_ICONMASK, MB_ICONINFORMATION);
  EXPECT_EQ(prompts->Messages()[0].caption, "Qelvo");
  EXPECT_NE(prompts->Messages()[1].text.find("Test connection failed:\n"), std::string::npos);
  EXPECT_NE(prompts->Messages()[1].text.find("not a database"), std::string::npos) << prompts->Messages()[1].text;
  EXPECT_EQ(prompts->Messages()[1].type & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_NE(prompts->Messages()[2].text.find("/nonexistent/folder/x.db"), std::string::npos);
  EXPECT_FALSE(QFile::exists("/nonexistent/folder/x.db"));
}

TEST_F(DataLink, TheCreateOptionMakesANewFile) {
  const std::string path = QDir(qtest_env::TempFolder()).filePath("new.db").toStdString();
  DataLinkDialog dialog("Provider=SQLite;Data Source=" + path + ";Create=True");
  EXPECT_TRUE(qobject_cast<QCheckBox*>(dialog.Control(DataLinkDialog::kSqliteCreate))->isChecked());
  Click(dialog, DataLinkDialog::kTestConnection);
  EXPECT_EQ(prompts->Messages().at(0).text, "Test connection succeeded.");
  EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
}

TEST_F(DataLink, IncompleteFieldsAreExplainedAndNothingIsReturned) {
  DataLinkDialog dialog;
  Click(dialog, DataLinkDialog::kOk);
  EXPECT_EQ(prompts->Messages().at(0).text, "Choose the database file (Data Source).");
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  dialog.SetProvider(DataLinkDialog::kOdbcProvider);
  Edit(dialog, DataLinkDialog::kOther)->setText("SERVER='unterminated");
  Click(dialog, DataLinkDialog::kOk);
  EXPECT_NE(prompts->Messages().at(1).text.find("The other attributes cannot be read"), std::string::npos);
  EXPECT_TRUE(dialog.Result().empty());
}

TEST_F(DataLink, AnOdbcStringReadsBackIntoItsFieldsAndLosesNothing) {
  const std::string initial =
      "Provider=MSDASQL;DRIVER={PostgreSQL Unicode};SERVER=localhost;PORT=5433;DATABASE=shop;UID=ann;PWD='s;e t';"
      "SSLmode=disable";
  DataLinkDialog dialog(initial);
  EXPECT_EQ(dialog.CurrentProvider(), DataLinkDialog::kOdbcProvider);
  EXPECT_EQ(Edit(dialog, DataLinkDialog::kOdbcUser)->text(), "ann");
  EXPECT_EQ(Edit(dialog, DataLinkDialog::kOdbcCatalog)->text(), "shop");
  EXPECT_TRUE(dialog.Control(DataLinkDialog::kOdbcPage)->isVisibleTo(&dialog));
  EXPECT_FALSE(dialog.Control(DataLinkDialog::kSqlitePage)->isVisibleTo(&dialog));
  const std::optional<std::string> rebuilt = dialog.BuildConnectionString(false);
  ASSERT_TRUE(rebuilt);
  const ado::ConnectionString before = ado::ConnectionString::Parse(initial);
  const ado::ConnectionString after = ado::ConnectionString::Parse(*rebuilt);
  for (const auto& attribute : before.Attributes())
    EXPECT_EQ(after.Get(attribute.key), attribute.value) << attribute.key << " in " << *rebuilt;
  EXPECT_EQ(after.Attributes().size(), before.Attributes().size());
}

TEST_F(DataLink, AnUnreadableOrForeignStringIsExplained) {
  DataLinkDialog unreadable("Provider=SQLite;Data Source='open");
  EXPECT_FALSE(qobject_cast<QLabel*>(unreadable.Control(DataLinkDialog::kNote))->text().isEmpty());
  DataLinkDialog foreign("Provider=SQLOLEDB.1;Data Source=server;Initial Catalog=shop");
  EXPECT_EQ(foreign.CurrentProvider(), DataLinkDialog::kOdbcProvider);
  EXPECT_TRUE(qobject_cast<QLabel*>(foreign.Control(DataLinkDialog::kNote))->text().contains("SQLOLEDB.1"));
  EXPECT_EQ(qobject_cast<QComboBox*>(foreign.Control(DataLinkDialog::kOdbcDsn))->currentText(), "server");
  EXPECT_EQ(Edit(foreign, DataLinkDialog::kOdbcCatalog)->text(), "shop");
}

TEST_F(DataLink, RunReturnsTheStringOnOkAndNothingOnCancel) {
  const std::string path = MakeDatabase("run.db");
  prompts->AnswerDialog([&](QDialog& d) {
    auto& dialog = static_cast<DataLinkDialog&>(d);
    Edit(dialog, DataLinkDialog::kSqliteFile)->setText(QString::fromStdString(path));
    Click(dialog, DataLinkDialog::kOk);
    return ScriptedPrompts::kUseDialogResult;
  });
  prompts->AnswerDialog([](QDialog& d) {
    Click(static_cast<DataLinkDialog&>(d), DataLinkDialog::kCancel);
    return ScriptedPrompts::kUseDialogResult;
  });
  const std::optional<std::string> text = RunDataLinkDialog(nullptr, {});
  ASSERT_TRUE(text);
  EXPECT_EQ(ado::ConnectionString::Parse(*text).Get("Data Source"), path);
  EXPECT_FALSE(RunDataLinkDialog(nullptr, *text).has_value());
  EXPECT_EQ(prompts->Dialogs().at(0).title, "Data Link Properties");
}

TEST_F(DataLink, IsTheDataLayersPromptForNewAndEditedStrings) {
  const std::string first = MakeDatabase("first.db");
  const std::string second = MakeDatabase("second.db");
  RegisterDataLinkDialog(nullptr);
  prompts->AnswerDialog([&](QDialog& d) {
    auto& dialog = static_cast<DataLinkDialog&>(d);
    Edit(dialog, DataLinkDialog::kSqliteFile)->setText(QString::fromStdString(first));
    Click(dialog, DataLinkDialog::kOk);
    return ScriptedPrompts::kUseDialogResult;
  });
  DbConnection connection;
  const std::string created = connection.CreateOLEDBConnectionString("");
  EXPECT_EQ(ado::ConnectionString::Parse(created).Get("Data Source"), first);
  prompts->AnswerDialog([&](QDialog& d) {
    auto& dialog = static_cast<DataLinkDialog&>(d);
    EXPECT_EQ(Edit(dialog, DataLinkDialog::kSqliteFile)->text().toStdString(), first) << "edits the given string";
    Edit(dialog, DataLinkDialog::kSqliteFile)->setText(QString::fromStdString(second));
    Click(dialog, DataLinkDialog::kOk);
    return ScriptedPrompts::kUseDialogResult;
  });
  EXPECT_EQ(ado::ConnectionString::Parse(connection.CreateOLEDBConnectionString(created)).Get("Data Source"), second);
  prompts->AnswerDialog([](QDialog&) { return int(QDialog::Rejected); });
  EXPECT_EQ(connection.CreateOLEDBConnectionString(created), created) << "Cancel keeps the text";
  ado::RegisterDataLinksPrompt(nullptr);
}

TEST_F(DataLink, Screenshots) {
  DataLinkDialog sqlite("Provider=SQLite;Data Source=/home/ann/shop.db");
  ASSERT_TRUE(qtest_env::ShowActive(sqlite));
  EXPECT_FALSE(qtest_env::Screenshot(sqlite, "datalink-sqlite").isNull());
  DataLinkDialog odbc("Provider=MSDASQL;DSN=shop;UID=ann;PWD=x;DATABASE=shop;SSLmode=disable");
  ASSERT_TRUE(qtest_env::ShowActive(odbc));
  qtest_env::Screenshot(odbc, "datalink-odbc");
}

}  // namespace
