#include "data/ado/FilterParser.h"

#include <gtest/gtest.h>

#include <string>

#include "data/ado/ComError.h"
#include "tests/data/criteria/RowTable.h"
#include "text/DateScan.h"
#include "text/OleDate.h"
#include "text/UserLocale.h"

namespace {

using Rows = std::vector<std::uint32_t>;

double Date(const char* iso) {
  return ParseIsoDateTime(iso).value();
}

// Columns of every kind the grid filters on.
const std::vector<ado::CriteriaColumn> kColumns = {
    {"Name", 202},           // 0 text
    {"Qty", 3},              // 1 integer
    {"Active", 11},          // 2 boolean
    {"D", 135},              // 3 timestamp
    {"Customer Name", 200},  // 4 text with a blank
    {"B", 20},               // 5 bigint
    {"Price", 131},          // 6 numeric
    {"Code", 129},           // 7 fixed-width char
    {"x]y", 200},            // 8 a bracket in the name
    {"Any", 0},              // 9 no known type
};

class FilterTest : public ::testing::Test {
 protected:
  FilterTest() {
    t.Add({V("O'Brien"), V(1500), ado::Variant(true), ado::Variant::Date(Date("2003-02-01 10:30:00")), V("abc corp"),
           ado::Variant(std::int64_t{5}), V(1.5), V("AB   "), V("one"), V(7)});
    t.Add({V("o'brady"), V(20), ado::Variant(false), ado::Variant::Date(Date("2003-02-05 23:59:59.500")), V("ABCD"),
           ado::Variant(std::int64_t{6}), ado::Variant::Currency(15000), V("ABC  "), V("two"), V("seven")});
    t.Add({V("OBrien"), ado::Variant(std::int64_t{1500}), Null(), ado::Variant::Date(Date("2003-02-06")), V("xabc"),
           ado::Variant(std::int64_t{5}), ado::Variant(*ado::Decimal::Parse("1.50")), Null(), Null(), Null()});
    t.Add({Null(), Null(), ado::Variant(true), Null(), Null(), Null(), V(2.25), V("B    "), V("a]b"), V(7.5)});
    t.Add({V("Zoë Ärger"), ado::Variant::UnsignedInt(ado::VT_UI4, 1500), ado::Variant(false),
           ado::Variant::Date(Date("2003-01-31 23:59:59")), V("ABC"), ado::Variant(std::int64_t{5}), ado::Variant(-3.0),
           V("AB"), V("two"), V("2003-02-01")});
  }

  Rows Run(std::string_view criteria) { return t.Matching(*ado::CompileFilter(criteria, kColumns)); }

  std::string ErrorOf(std::string_view criteria) {
    try {
      ado::CompileFilter(criteria, kColumns);
    } catch (const ado::ComError& e) {
      EXPECT_EQ(e.Error(), ado::adErrInvalidArgument) << criteria;
      return e.Description();
    }
    return "no error";
  }

  RowTable t;
};

TEST_F(FilterTest, CriteriaTheGridBuilds) {
  EXPECT_EQ(Run("Name like 'O''Br%'"), (Rows{0, 1}));
  EXPECT_EQ(Run("Qty=1500"), (Rows{0, 2, 4}));
  EXPECT_EQ(Run("Active<>0"), (Rows{0, 3}));
  EXPECT_EQ(Run("Active=0"), (Rows{1, 4}));
  EXPECT_EQ(Run("D >= '2003-02-01' AND D <= '2003-02-05 23:59:59'"), (Rows{0, 1}));
  EXPECT_EQ(Run("[Customer Name] like 'abc%' AND B=5"), (Rows{0, 4}));
  EXPECT_EQ(Run("[Customer Name] like 'abc%' AND B=6"), (Rows{1}));
}

TEST_F(FilterTest, AnEmptyCriteriaKeepsEveryRow) {
  EXPECT_EQ(Run(""), (Rows{0, 1, 2, 3, 4}));
  EXPECT_EQ(Run("  \t"), (Rows{0, 1, 2, 3, 4}));
}

TEST_F(FilterTest, TextComparisonsIgnoreCase) {
  EXPECT_EQ(Run("name = 'obrien'"), (Rows{2}));
  EXPECT_EQ(Run("NAME LIKE 'zoë ä%'"), (Rows{4}));
  EXPECT_EQ(Run("Name LIKE 'ZOË ÄRGER'"), (Rows{4}));
  EXPECT_EQ(Run("Name > 'o''c'"), (Rows{2, 4}));
  EXPECT_EQ(Run("Name <> 'OBRIEN'"), (Rows{0, 1, 4}));  // NULL is not "different"
}

TEST_F(FilterTest, LikeWildcardsAnywhere) {
  EXPECT_EQ(Run("[Customer Name] like '%abc'"), (Rows{2, 4}));
  EXPECT_EQ(Run("[Customer Name] like '*BC*'"), (Rows{0, 1, 2, 4}));
  EXPECT_EQ(Run("[Customer Name] like 'a%c%p'"), (Rows{0}));
  EXPECT_EQ(Run("[Customer Name] like 'ab*d'"), (Rows{1}));
  EXPECT_EQ(Run("[Customer Name] like 'abc'"), (Rows{4}));
  EXPECT_EQ(Run("[Customer Name] like '%'"), (Rows{0, 1, 2, 4}));
  EXPECT_EQ(Run("[Customer Name] like 'a%bc%cd'"), (Rows{}));  // the parts may not overlap
  EXPECT_EQ(Run("[Customer Name] not like 'abc%'"), (Rows{2}));
  EXPECT_EQ(Run("Name like 'o_b%'"), (Rows{}));  // '_' is an ordinary character
}

TEST_F(FilterTest, NullTests) {
  EXPECT_EQ(Run("Qty = NULL"), (Rows{3}));
  EXPECT_EQ(Run("Qty IS NULL"), (Rows{3}));
  EXPECT_EQ(Run("Qty <> null"), (Rows{0, 1, 2, 4}));
  EXPECT_EQ(Run("Qty is not NULL"), (Rows{0, 1, 2, 4}));
  EXPECT_EQ(Run("Qty < 100000"), (Rows{0, 1, 2, 4}));
  EXPECT_EQ(Run("NOT Qty = 20"), (Rows{0, 2, 4}));
}

// A comparison with NULL is unknown, and stays unknown under NOT: only the NULL tests hold for a
// NULL. AND and OR combine unknown as SQL does (false AND unknown is false, true OR unknown true).
TEST_F(FilterTest, NullIsUnknownUnderNotAndInCombinations) {
  EXPECT_EQ(Run("NOT (Name LIKE '*Br*')"), (Rows{4}));
  EXPECT_EQ(Run("NOT Name NOT LIKE '*Br*'"), (Rows{0, 1, 2}));
  EXPECT_EQ(Run("NOT (NOT (Qty = 20))"), (Rows{1}));
  EXPECT_EQ(Run("NOT (D < '2003-02-02')"), (Rows{1, 2}));
  EXPECT_EQ(Run("NOT (Active = TRUE)"), (Rows{1, 4}));
  EXPECT_EQ(Run("NOT (Code = 'AB')"), (Rows{1, 3}));
  EXPECT_EQ(Run("NOT (Qty IS NULL)"), (Rows{0, 1, 2, 4}));
  EXPECT_EQ(Run("Qty = 20 OR Active = TRUE"), (Rows{0, 1, 3}));             // unknown OR true
  EXPECT_EQ(Run("NOT (Qty = 20 OR Active = TRUE)"), (Rows{4}));             // row 2: NOT (false OR unknown)
  EXPECT_EQ(Run("NOT (Qty = 20 AND Active = FALSE)"), (Rows{0, 2, 3, 4}));  // false AND unknown
  EXPECT_EQ(Run("NOT (Qty = 1500 AND Active = FALSE)"), (Rows{0, 1, 3}));   // row 2: true AND unknown
  EXPECT_EQ(Run("(Qty = 1500 OR Qty = 20) AND NOT (Name LIKE '*Bri*')"), (Rows{1, 4}));
}

TEST_F(FilterTest, NumbersCompareByValueAcrossTypes) {
  EXPECT_EQ(Run("Price = 1.5"), (Rows{0, 1, 2}));
  EXPECT_EQ(Run("Price = '1.50'"), (Rows{0, 1, 2}));
  EXPECT_EQ(Run("Price >= 2"), (Rows{3}));
  EXPECT_EQ(Run("Price < -2.99"), (Rows{4}));
  EXPECT_EQ(Run("Qty > 19.5 AND Qty < 20.5"), (Rows{1}));
  EXPECT_EQ(Run("Qty = -1500"), (Rows{}));
  EXPECT_EQ(Run("Qty >= 1e3"), (Rows{0, 2, 4}));
}

TEST_F(FilterTest, NumbersInTheUsersLocale) {
  if (!SetUserNumericLocale("it_IT.UTF-8")) GTEST_SKIP() << "it_IT.UTF-8 is not installed";
  EXPECT_EQ(UserDecimalPoint(), ',');
  EXPECT_EQ(Run("Price=1,5"), (Rows{0, 1, 2}));
  EXPECT_EQ(Run("Price=1.5"), (Rows{0, 1, 2}));
  SetUserNumericLocale("C");
  EXPECT_NE(ErrorOf("Price=1,5").find("cannot convert '1,5'"), std::string::npos);
  SetUserNumericLocale("");
}

TEST_F(FilterTest, DatesInEveryForm) {
  // A date written to the day stands for the whole day.
  EXPECT_EQ(Run("D = '2003-02-01'"), (Rows{0}));
  EXPECT_EQ(Run("D = #01/02/2003#"), (Rows{0}));
  EXPECT_EQ(Run("D = '1.2.2003'"), (Rows{0}));
  EXPECT_EQ(Run("D <> '2003-02-01'"), (Rows{1, 2, 4}));
  EXPECT_EQ(Run("D < '2003-02-01'"), (Rows{4}));
  EXPECT_EQ(Run("D > '2003-02-05'"), (Rows{2}));
  EXPECT_EQ(Run("D <= '05/02/2003'"), (Rows{0, 1, 4}));
  EXPECT_EQ(Run("D = '2003-02-01 10:30'"), (Rows{0}));
  EXPECT_EQ(Run("D = '2003-02-01 10:30:00'"), (Rows{0}));
  EXPECT_EQ(Run("D = '2003-02-01 10:30:01'"), (Rows{}));
  EXPECT_EQ(Run("D > '2003-02-05 23:59:59'"), (Rows{2}));
  EXPECT_EQ(Run("D > '2003-02-05 23:59:59.2'"), (Rows{1, 2}));
  EXPECT_EQ(Run("D IS NULL"), (Rows{3}));
}

TEST_F(FilterTest, AndBindsTighterThanOrAndParenthesesOverride) {
  EXPECT_EQ(Run("Qty=20 OR Qty=1500 AND B=5"), (Rows{0, 1, 2, 4}));
  EXPECT_EQ(Run("B=6 OR Qty=1500 AND Active<>0"), (Rows{0, 1}));
  EXPECT_EQ(Run("(B=6 OR Qty=1500) AND Active<>0"), (Rows{0}));
  EXPECT_EQ(Run("(B=6 OR Qty=1500) AND (Active=0)"), (Rows{1, 4}));
  EXPECT_EQ(Run("((Name like 'o%')) and not (Qty=20)"), (Rows{0, 2}));
  EXPECT_EQ(Run("Name='x' OR (Price > 2 OR (Price < 0))"), (Rows{3, 4}));
}

TEST_F(FilterTest, BracketedNamesAndPaddedCharColumns) {
  EXPECT_EQ(Run("[x]]y] = 'A]B'"), (Rows{3}));
  EXPECT_EQ(Run("[customer name]='ABCD'"), (Rows{1}));
  EXPECT_EQ(Run("Code = 'ab'"), (Rows{0, 4}));
  EXPECT_EQ(Run("Code like 'AB'"), (Rows{0, 4}));
  EXPECT_EQ(Run("Code like '%c'"), (Rows{1}));
}

// Typeless databases hand back what was stored: the value converts per row.
TEST_F(FilterTest, ValuesOfAnotherTypeInAColumn) {
  EXPECT_EQ(Run("Any = 7"), (Rows{0}));
  EXPECT_EQ(Run("Any > 7"), (Rows{3}));
  EXPECT_EQ(Run("Any <> 7"), (Rows{1, 3, 4}));
  EXPECT_EQ(Run("Any like 'sev%'"), (Rows{1}));
  EXPECT_EQ(Run("Any like '7%'"), (Rows{0, 3}));
  EXPECT_EQ(Run("Any = #2003-02-01#"), (Rows{4}));
  EXPECT_EQ(Run("Any = 'SEVEN'"), (Rows{1}));
}

TEST_F(FilterTest, BadCriteriaRaiseAClearError) {
  EXPECT_EQ(ErrorOf("Nmae = 'x'"), "Filter criteria: unknown field 'Nmae'");
  EXPECT_EQ(ErrorOf("Qty=abc"), "Filter criteria: cannot convert 'abc' to a number for field 'Qty'");
  EXPECT_NE(ErrorOf("D = '2003-13-45'").find("to a date for field 'D'"), std::string::npos);
  EXPECT_NE(ErrorOf("Active = maybe").find("to a boolean"), std::string::npos);
  EXPECT_NE(ErrorOf("Name like").find("missing value"), std::string::npos);
  EXPECT_NE(ErrorOf("Name 'x'").find("expected an operator"), std::string::npos);
  EXPECT_NE(ErrorOf("(Qty=1").find("missing ')'"), std::string::npos);
  EXPECT_NE(ErrorOf("Qty=1)").find("')' without '('"), std::string::npos);
  EXPECT_NE(ErrorOf("Name = 'abc").find("missing closing quote"), std::string::npos);
  EXPECT_NE(ErrorOf("[Name = 'abc'").find("missing closing ']'"), std::string::npos);
  EXPECT_NE(ErrorOf("D = #2003-01-01").find("missing closing '#'"), std::string::npos);
  EXPECT_NE(ErrorOf("Qty=1 AND").find("missing condition"), std::string::npos);
  EXPECT_NE(ErrorOf("Qty=1 Qty=2").find("unexpected 'Qty'"), std::string::npos);
  EXPECT_NE(ErrorOf("Qty < NULL").find("NULL can only be compared"), std::string::npos);
  EXPECT_NE(ErrorOf("Qty like '1%'").find("LIKE needs a text field"), std::string::npos);
  EXPECT_NE(ErrorOf("AND = 1").find("expected a field name"), std::string::npos);
  EXPECT_NE(ErrorOf("Qty ! 1").find("unexpected '!'"), std::string::npos);
  EXPECT_NE(ErrorOf(std::string(500, '(')).find("nested too deeply"), std::string::npos);
}

}  // namespace
