// The recordset's Filter keeps exactly the rows that the same condition as a WHERE clause keeps on
// the database itself, NULLs included: each criterion runs both ways and the row sets must agree.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "data/ado/AdoEnums.h"
#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;

namespace {

// Every operator alone, under NOT, and in AND / OR combinations with NULLs on either side. The
// data keep one case per text and no trailing blanks, where the databases' collations differ.
const char* const kCriteria[] = {
    "genre = 1",
    "genre <> 1",
    "genre != 3",
    "genre < 2",
    "genre > 2",
    "genre <= 2",
    "genre >= 2",
    "composer = 'Jimmy Page'",
    "composer <> 'Jimmy Page'",
    "composer > 'L'",
    "composer LIKE '*Page*'",
    "composer LIKE 'Jimmy%'",
    "composer NOT LIKE '*Page*'",
    "NOT (composer LIKE '*Page*')",
    "NOT (composer NOT LIKE '*Page*')",
    "NOT (NOT (composer LIKE '*Page*'))",
    "composer IS NULL",
    "composer IS NOT NULL",
    "NOT (composer IS NULL)",
    "NOT (genre = 1)",
    "NOT (genre < 2)",
    "NOT (genre >= 2)",
    "NOT (genre <> 1)",
    "((genre = 1) OR (genre = 3)) AND (NOT (composer LIKE '*Page*'))",
    "NOT (genre = 1 OR composer = 'Jimmy Page')",
    "NOT (genre = 1 AND composer = 'Jimmy Page')",
    "NOT (genre = 1) OR NOT (composer LIKE '*Plant*')",
    "genre = 1 OR composer LIKE '*Plant*'",
    "genre = 2 AND composer IS NULL",
    "price > 1 OR composer IS NULL",
    "NOT (price > 1) AND genre = 1",
    "NOT (price = 0.99 OR price = 1.99)",
    "born >= '2003-02-01' AND born <= '2003-02-05'",
    "NOT (born < '2003-02-03')",
    "NOT (born = '2003-02-03') OR genre IS NULL",
    "active = TRUE",
    "active = FALSE",
    "NOT (active = TRUE)",
    "NOT (active = FALSE AND genre = 1)",
    "NOT (active = TRUE OR price < 1)",
};

// ADO's wildcard '*' is SQL's '%'; everything else in the criteria above reads the same in SQL.
std::string AsWhere(std::string criteria) {
  for (char& c : criteria)
    if (c == '*') c = '%';
  return criteria;
}

// MariaDB's BOOLEAN is a TINYINT, which the filter compares as the number it is.
std::string ForFilter(std::string criteria, const TestDatabase& db) {
  if (db.name != "MariaDB") return criteria;
  for (const auto& [word, number] : {std::pair<std::string, std::string>{"TRUE", "1"}, {"FALSE", "0"}})
    for (std::size_t at = criteria.find(word); at != std::string::npos; at = criteria.find(word))
      criteria.replace(at, word.size(), number);
  return criteria;
}

class FilterAgainstWhere : public testing::TestWithParam<TestDatabase>, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    db_ = std::make_unique<FreshDatabase>(GetParam());
    const TestDatabase& p = GetParam();
    std::vector<std::string> statements = {
        "CREATE TABLE qt_filter (id INTEGER PRIMARY KEY, genre INTEGER, "
        "composer VARCHAR(40), price DECIMAL(10,2), born DATE, active " +
        p.booleanType + ")"};
    const char* const rows[] = {
        "1, 1, 'Jimmy Page', 0.99, '2003-02-01', TRUE",
        "2, 1, NULL, 0.99, '2003-02-02', FALSE",
        "3, 1, 'Robert Plant', NULL, '2003-02-03', NULL",
        "4, 2, 'Jimmy Page, Robert Plant', 1.99, NULL, TRUE",
        "5, 2, NULL, 1.99, '2003-02-05', TRUE",
        "6, 3, 'Angus Young', 0.99, '2003-02-06', FALSE",
        "7, 3, NULL, NULL, NULL, NULL",
        "8, NULL, 'Jimmy Page', 0.99, '2003-02-03', FALSE",
        "9, NULL, NULL, 1.99, '2003-01-31', TRUE",
        "10, 4, 'Page', 9.99, '2003-02-04', FALSE",
        "11, 1, 'Ludwig van Beethoven', 1.99, '2003-02-03', TRUE",
        "12, 3, 'Mick Jagger', NULL, '2003-01-30', NULL",
    };
    for (const char* row : rows)
      statements.push_back(std::string("INSERT INTO qt_filter (id, genre, composer, price, born, active) VALUES (") +
                           row + ")");
    db_->Run(statements);
    Connect(db_->ConnectionString());
  }

  std::unique_ptr<FreshDatabase> db_;
};

}  // namespace

TEST_P(FilterAgainstWhere, FilterKeepsTheRowsOfTheSameWhere) {
  RecordsetPtr all = Open("SELECT id, genre, composer, price, born, active FROM qt_filter ORDER BY id");
  for (const char* criteria : kCriteria) {
    const std::string where = AsWhere(criteria);
    const std::vector<long> expected = Ids(Open("SELECT id FROM qt_filter WHERE " + where + " ORDER BY id"));
    all->PutFilter(Variant(ForFilter(criteria, GetParam())));
    EXPECT_EQ(Ids(all), expected) << criteria;
  }
  // NOT around a LIKE drops the NULL composers, as the WHERE does.
  all->PutFilter(Variant("((genre = 1) OR (genre = 3)) AND (NOT (composer LIKE '*Page*'))"));
  EXPECT_EQ(Ids(all), (std::vector<long>{3, 6, 11, 12}));
}

INSTANTIATE_TEST_SUITE_P(Databases, FilterAgainstWhere, testing::ValuesIn(TestDatabases()), TestDatabaseName);
