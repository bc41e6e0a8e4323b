// Field names are found by the same case-folding rule wherever a name is looked up: the record's
// value, the Fields collection, sort and filter criteria. Run on every database.
#include <gtest/gtest.h>

#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/Recordset.h"
#include "tests/ComErrorOf.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;

namespace {

class FieldNameCase : public testing::TestWithParam<TestDatabase>, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    db_ = std::make_unique<FreshDatabase>(GetParam());
    const std::string quote = GetParam().name == "MariaDB" ? "`" : "\"";
    auto name = [&quote](const std::string& n) { return quote + n + quote; };
    db_->Run({"CREATE TABLE qt_other (id INTEGER PRIMARY KEY, " + name("Ärger") + " VARCHAR(20), " + name("Ωmega") +
                  " INTEGER, " + name("Жук") + " INTEGER)",
              "INSERT INTO qt_other VALUES (1, 'klein', 30, 3)", "INSERT INTO qt_other VALUES (2, 'groß', 10, 1)",
              "INSERT INTO qt_other VALUES (3, 'mittel', 20, 2)"});
    Connect(db_->ConnectionString());
    rs_ = Open("SELECT * FROM qt_other ORDER BY id");
  }

  std::unique_ptr<FreshDatabase> db_;
  RecordsetPtr rs_;
};

}  // namespace

TEST_P(FieldNameCase, ValueAndFieldsFindANameInAnotherAccentedCase) {
  EXPECT_EQ(rs_->GetCollect("ÄRGER").Str(), "klein");
  EXPECT_EQ(rs_->GetCollect("ärger").Str(), "klein");
  EXPECT_EQ(rs_->GetCollect("ωMEGA").ToInt64(), 30);
  EXPECT_EQ(rs_->GetCollect("жУК").ToInt64(), 3);
  EXPECT_EQ(rs_->GetFields()->GetItem("ÄrGeR")->GetName(), "Ärger");
  EXPECT_EQ(rs_->GetFields()->GetItem("ΩMEGA")->GetValue().ToInt64(), 30);
  // Folding maps letters to their own lower case only: another letter is another name.
  EXPECT_COM_ERROR(rs_->GetCollect("Arger"), adErrItemNotFound);
  EXPECT_COM_ERROR(rs_->GetFields()->GetItem("ÄRGERN"), adErrItemNotFound);
}

TEST_P(FieldNameCase, SortAndFilterFindTheSameNames) {
  rs_->PutSort("[ΩMEGA] DESC");
  EXPECT_EQ(Ids(rs_), (std::vector<long>{1, 3, 2}));
  rs_->PutSort("жук");
  EXPECT_EQ(Ids(rs_), (std::vector<long>{2, 3, 1}));
  rs_->PutSort("");
  rs_->PutFilter(Variant("ÄRGER = 'GROSS' OR ärger = 'MITTEL'"));
  EXPECT_EQ(Ids(rs_), (std::vector<long>{3}));
  rs_->PutFilter(Variant("[äRGER] like 'GRO%'"));
  EXPECT_EQ(Ids(rs_), (std::vector<long>{2}));
  rs_->PutFilter(Variant("ЖУК >= 2"));
  EXPECT_EQ(Ids(rs_), (std::vector<long>{1, 3}));
}

INSTANTIATE_TEST_SUITE_P(Databases, FieldNameCase, testing::ValuesIn(TestDatabases()), TestDatabaseName);
