// The data-link dialog's PostgreSQL page: the native provider's string built from its fields and
// read back into them without losing an attribute, a port that is no number refused, and Test
// Connection against the test command's server.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cstdlib>
#include <memory>

#include "data/ado/ConnectionString.h"
#include "platform/DataLinkDialog.h"
#include "platform/framework/MessageBox.h"
#include "platform/framework/ScriptedPrompts.h"
#include "tests/platform/QtTestEnvironment.h"

namespace {

struct DataLinkPostgres : ::testing::Test {
  std::shared_ptr<ScriptedPrompts> prompts = std::make_shared<ScriptedPrompts>();
  void SetUp() override { SetPromptSeam(prompts); }
  void TearDown() override { SetPromptSeam(nullptr); }

  static QLineEdit* Edit(DataLinkDialog& d, int id) { return qobject_cast<QLineEdit*>(d.Control(id)); }
  static void Click(DataLinkDialog& d, int id) { qobject_cast<QPushButton*>(d.Control(id))->click(); }
};

TEST_F(DataLinkPostgres, TheFieldsMakeTheNativeStringAndReadBackWithEveryAttribute) {
  DataLinkDialog dialog;
  dialog.SetProvider(DataLinkDialog::kPostgresProvider);
  EXPECT_TRUE(dialog.Control(DataLinkDialog::kPgPage)->isVisibleTo(&dialog));
  EXPECT_FALSE(dialog.Control(DataLinkDialog::kOdbcPage)->isVisibleTo(&dialog));
  EXPECT_EQ(qobject_cast<QComboBox*>(dialog.Control(DataLinkDialog::kProvider))->currentText(), "PostgreSQL");
  Edit(dialog, DataLinkDialog::kPgHost)->setText(" db.example ");
  Edit(dialog, DataLinkDialog::kPgPort)->setText("6543");
  Edit(dialog, DataLinkDialog::kPgDatabase)->setText("shop");
  Edit(dialog, DataLinkDialog::kPgUser)->setText("ann");
  Edit(dialog, DataLinkDialog::kPgPassword)->setText(" s;e t");
  Edit(dialog, DataLinkDialog::kOther)->setText("sslmode=require");
  std::optional<std::string> text = dialog.BuildConnectionString(false);
  ASSERT_TRUE(text);
  ado::ConnectionString parsed = ado::ConnectionString::Parse(*text);
  EXPECT_EQ(parsed.Get("Provider"), "PostgreSQL");
  EXPECT_EQ(parsed.Get("Host"), "db.example");
  EXPECT_EQ(parsed.Get("Port"), "6543");
  EXPECT_EQ(parsed.Get("Database"), "shop");
  EXPECT_EQ(parsed.Get("User ID"), "ann");
  EXPECT_EQ(parsed.Get("Password"), " s;e t") << "passwords keep their blanks";
  EXPECT_EQ(parsed.Get("sslmode"), "require");

  DataLinkDialog again(*text);
  EXPECT_EQ(again.CurrentProvider(), DataLinkDialog::kPostgresProvider);
  EXPECT_EQ(Edit(again, DataLinkDialog::kPgHost)->text(), "db.example");
  EXPECT_EQ(Edit(again, DataLinkDialog::kPgPassword)->text(), " s;e t");
  EXPECT_EQ(Edit(again, DataLinkDialog::kOther)->text(), "sslmode=require");
  EXPECT_EQ(again.BuildConnectionString(false), text);

  // The other spellings of the same keys land in the fields too.
  DataLinkDialog spelled("Provider=postgresql;Server=h;UID=bob;PWD=p;Initial Catalog=c");
  EXPECT_EQ(Edit(spelled, DataLinkDialog::kPgHost)->text(), "h");
  EXPECT_EQ(Edit(spelled, DataLinkDialog::kPgUser)->text(), "bob");
  EXPECT_EQ(Edit(spelled, DataLinkDialog::kPgDatabase)->text(), "c");
  EXPECT_TRUE(Edit(spelled, DataLinkDialog::kOther)->text().isEmpty());
}

TEST_F(DataLinkPostgres, APortThatIsNoNumberIsExplained) {
  DataLinkDialog dialog("Provider=PostgreSQL;Host=h;Port=54x2");
  EXPECT_FALSE(dialog.BuildConnectionString(true).has_value());
  ASSERT_EQ(prompts->Messages().size(), 1u);
  EXPECT_NE(prompts->Messages()[0].text.find("port"), std::string::npos) << prompts->Messages()[0].text;
  Click(dialog, DataLinkDialog::kOk);
  EXPECT_TRUE(dialog.Result().empty());
}

TEST_F(DataLinkPostgres, TestConnectionReachesTheServerAndNamesTheRefusal) {
  const char* port = std::getenv("QELVO_PG_PORT");
  if (!port || !*port) GTEST_SKIP() << "needs the test command's PostgreSQL server (QELVO_PG_PORT)";
  DataLinkDialog dialog("Provider=PostgreSQL;Host=127.0.0.1;Port=" + std::string(port) +
                        ";Database=testdb;User ID=tester;Password=secret");
  Click(dialog, DataLinkDialog::kTestConnection);
  Edit(dialog, DataLinkDialog::kPgPassword)->setText("wrong");
  Click(dialog, DataLinkDialog::kTestConnection);
  ASSERT_EQ(prompts->Messages().size(), 2u);
  EXPECT_EQ(prompts->Messages()[0].text, "Test connection succeeded.");
  EXPECT_NE(prompts->Messages()[1].text.find("password authentication failed"), std::string::npos)
      << prompts->Messages()[1].text;
}

TEST_F(DataLinkPostgres, Screenshot) {
  DataLinkDialog dialog("Provider=PostgreSQL;Host=db.example;Port=5432;Database=shop;User ID=ann;Password=x");
  ASSERT_TRUE(qtest_env::ShowActive(dialog));
  EXPECT_FALSE(qtest_env::Screenshot(dialog, "datalink-postgresql").isNull());
}

}  // namespace
