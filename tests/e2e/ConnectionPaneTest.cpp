// The status bar's connection pane: the database kind and its file or server, from the
// connection a run uses, shortened in the middle when long and never showing a password.
#include <QLabel>

#include "resources/CommandIds.h"
#include "tests/e2e/E2eSupport.h"
#include "workspace/ui/ConnectionPaneText.h"
#include "workspace/ui/MainFrame.h"

namespace e2e {
namespace {

TEST(ConnectionPaneText, KindAndFileOrServer) {
  EXPECT_EQ(ConnectionPaneText("Provider=SQLite;Data Source=/home/ann/Shop.db"), "SQLite: /home/ann/Shop.db");
  EXPECT_EQ(ConnectionPaneText("DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=5433;DATABASE=testdb;UID=tester;"
                               "PWD=secret;BoolsAsChar=0"),
            "PostgreSQL: testdb on 127.0.0.1:5433");
  EXPECT_EQ(ConnectionPaneText("Provider=MSDASQL;DRIVER={MariaDB Unicode};SERVER=db.example;DATABASE=shop;PWD=x"),
            "MariaDB: shop on db.example");
  EXPECT_EQ(ConnectionPaneText("DRIVER=SQLite3;Database=/tmp/a.db"), "SQLite: /tmp/a.db");
  EXPECT_EQ(ConnectionPaneText("DSN=Sales;UID=ann;PWD=secret"), "ODBC: DSN=Sales");
  EXPECT_EQ(ConnectionPaneText("DRIVER={Acme Driver};HOST=h"), "Acme Driver: h");
  // Text that does not parse, or names nothing, leaves the pane empty.
  EXPECT_EQ(ConnectionPaneText("Provider='unclosed"), "");
  EXPECT_EQ(ConnectionPaneText(""), "");
  for (const char* text :
       {"DSN=a;PWD=secret", "DRIVER={PostgreSQL};SERVER=s;PASSWORD=secret", "Provider=X;Password=secret"})
    EXPECT_EQ(ConnectionPaneText(text).find("secret"), std::string::npos) << text;
}

TEST(ConnectionPaneText, ALongPathLosesItsMiddle) {
  const std::string path = "/home/ann/projects/ålesund/reports/2026/december/Shop.db";
  const std::string text = ConnectionPaneText("Provider=SQLite;Data Source=" + path);
  EXPECT_EQ(QString::fromStdString(text).size(), 45);
  EXPECT_EQ(text.rfind("SQLite: /ho", 0), 0u) << text;
  EXPECT_TRUE(text.ends_with("/december/Shop.db")) << text;
  EXPECT_NE(text.find("\u2026"), std::string::npos);
  EXPECT_EQ(ConnectionPaneText("Provider=SQLite;Data Source=" + path, std::string::npos), "SQLite: " + path);
}

class ConnectionPaneTest : public ProgramTest {};

TEST_F(ConnectionPaneTest, ARunShowsItsConnection) {
  const std::string db = data_.File("pane.db");
  MakeSqliteDatabase(db, {"CREATE TABLE t (a)", "INSERT INTO t VALUES (1)"});
  Program& p = Start();
  EXPECT_EQ(p.Pane(ID_INDICATOR_BLANK), "");
  p.TypeConnection("Provider=SQLite;Data Source=" + db);
  p.TypeQuery("SELECT * FROM t");
  p.PressExecute();
  EXPECT_EQ(p.Pane(ID_INDICATOR_BLANK), ConnectionPaneText("Provider=SQLite;Data Source=" + db));
  EXPECT_EQ(p.Frame().Pane(ID_INDICATOR_BLANK)->toolTip().toStdString(), "SQLite: " + db);
  Screenshot("connection-pane");
}

}  // namespace
}  // namespace e2e
