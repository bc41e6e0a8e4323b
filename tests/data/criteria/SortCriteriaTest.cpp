#include "data/ado/SortCriteria.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>

#include "data/ado/ComError.h"
#include "data/ado/UserCollation.h"
#include "tests/data/criteria/RowTable.h"
#include "text/DateScan.h"
#include "text/OleDate.h"

namespace {

const std::vector<ado::CriteriaColumn> kColumns = {
    {"Name", 200}, {"Qty", 3}, {"Order Date", 135}, {"a]b", 200}, {"Ünïcode", 202}};

std::string ErrorOf(std::string_view criteria) {
  try {
    ado::ParseSortCriteria(criteria, kColumns);
  } catch (const ado::ComError& e) {
    EXPECT_EQ(e.Error(), ado::adErrInvalidArgument);
    return e.Description();
  }
  return "no error";
}

int Sign(int v) {
  return (v > 0) - (v < 0);
}
int Compare(const ado::Variant& a, const ado::Variant& b) {
  return Sign(ado::CompareValues(ado::ValueView::Of(a), ado::ValueView::Of(b)));
}

double Date(const char* iso) {
  return ParseIsoDateTime(iso).value();
}

TEST(SortCriteriaParse, ReadsTheGridsCriteriaAndBareNames) {
  auto keys = ado::ParseSortCriteria("[Order Date] DESC", kColumns);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].column, 2);
  EXPECT_TRUE(keys[0].descending);

  keys = ado::ParseSortCriteria("  name asc ,QTY   Desc, [Name]", kColumns);
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0].column, 0);
  EXPECT_FALSE(keys[0].descending);
  EXPECT_EQ(keys[1].column, 1);
  EXPECT_TRUE(keys[1].descending);
  EXPECT_FALSE(keys[2].descending);

  // A bare name may hold blanks; the direction is the last word.
  keys = ado::ParseSortCriteria("order date DESC", kColumns);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].column, 2);
  EXPECT_TRUE(keys[0].descending);

  keys = ado::ParseSortCriteria("[a]]b] asc,[ÜNÏCODE]", kColumns);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].column, 3);
  EXPECT_EQ(keys[1].column, 4);

  EXPECT_TRUE(ado::ParseSortCriteria("", kColumns).empty());
  EXPECT_TRUE(ado::ParseSortCriteria(" \t\r\n", kColumns).empty());
}

TEST(SortCriteriaParse, RejectsBadCriteriaWithAMessage) {
  EXPECT_EQ(ErrorOf("Nmae"), "Sort criteria: unknown field 'Nmae'");
  EXPECT_NE(ErrorOf("[Name").find("missing ']'"), std::string::npos);
  EXPECT_NE(ErrorOf("Name,").find("missing field name"), std::string::npos);
  EXPECT_NE(ErrorOf(",Name").find("missing field name"), std::string::npos);
  EXPECT_NE(ErrorOf("Name,,Qty").find("missing field name"), std::string::npos);
  EXPECT_NE(ErrorOf("[Name] DOWN").find("expected ASC or DESC"), std::string::npos);
  EXPECT_NE(ErrorOf("[Name] ASC Qty").find("unexpected"), std::string::npos);
  EXPECT_EQ(ErrorOf("[]"), "Sort criteria: unknown field ''");
  EXPECT_EQ(ErrorOf("[a]b]"), "Sort criteria: unknown field 'a'");
}

TEST(CompareValues, NumbersCompareByValueAcrossTypes) {
  EXPECT_EQ(Compare(ado::Variant(std::int16_t{5}), ado::Variant(std::int64_t{5})), 0);
  EXPECT_EQ(Compare(ado::Variant(5.0), ado::Variant(*ado::Decimal::Parse("5.00"))), 0);
  EXPECT_EQ(Compare(ado::Variant::Currency(15000), ado::Variant(1.5)), 0);
  EXPECT_EQ(Compare(ado::Variant::Currency(15000), ado::Variant(*ado::Decimal::Parse("1.5"))), 0);
  EXPECT_EQ(Compare(ado::Variant(0.1), ado::Variant(*ado::Decimal::Parse("0.1"))), 0);
  EXPECT_EQ(Compare(ado::Variant(*ado::Decimal::Parse("0.1")), ado::Variant(0.30000000000000004 - 0.2)), -1);
  EXPECT_EQ(Compare(ado::Variant(std::int32_t{-1}), ado::Variant::UnsignedInt(ado::VT_UI1, 0)), -1);
  EXPECT_EQ(Compare(ado::Variant::UnsignedInt(ado::VT_UI8, std::numeric_limits<std::uint64_t>::max()),
                    ado::Variant(std::numeric_limits<std::int64_t>::max())),
            1);
  // Neighbours that share a double still differ.
  EXPECT_EQ(Compare(ado::Variant(std::int64_t{9007199254740993}), ado::Variant(9007199254740992.0)), 1);
  EXPECT_EQ(
      Compare(ado::Variant(std::int64_t{9007199254740993}), ado::Variant(*ado::Decimal::Parse("9007199254740992.5"))),
      1);
  EXPECT_EQ(Compare(ado::Variant(-2.5), ado::Variant(std::int32_t{-2})), -1);
  EXPECT_EQ(Compare(ado::Variant(std::numeric_limits<double>::quiet_NaN()), ado::Variant(-1e300)), -1);
  EXPECT_EQ(Compare(ado::Variant(-0.0), ado::Variant(std::int32_t{0})), 0);
}

TEST(CompareValues, NullFirstThenKindsThenValues) {
  EXPECT_EQ(Compare(ado::Variant::Null(), ado::Variant()), 0);
  EXPECT_EQ(Compare(ado::Variant::Null(), ado::Variant(false)), -1);
  EXPECT_EQ(Compare(ado::Variant(), ado::Variant("")), -1);
  EXPECT_EQ(Compare(ado::Variant(false), ado::Variant(true)), -1);
  EXPECT_EQ(Compare(ado::Variant(true), ado::Variant(std::int32_t{-5})), -1);
  EXPECT_EQ(Compare(ado::Variant::Date(Date("2003-02-01")), ado::Variant::Date(Date("2003-02-01 00:00:01"))), -1);
  // Before 1900 the fraction still counts forward: 29 Dec 1899 06:00 is before 12:00.
  EXPECT_EQ(Compare(ado::Variant::Date(-1.25), ado::Variant::Date(-1.5)), -1);
  EXPECT_EQ(Compare(ado::Variant::Date(-1.0), ado::Variant::Date(-1.25)), -1);
  EXPECT_EQ(Compare(ado::Variant::Bytes(std::string("\x01\xff", 2)), ado::Variant::Bytes("\x02")), -1);
}

TEST(CompareValues, TextsIgnoreCaseAndBreakTiesByBytes) {
  EXPECT_EQ(Compare(V("abc"), V("ABD")), -1);
  EXPECT_EQ(Compare(V("Zeta"), V("alpha")), 1);
  EXPECT_EQ(Compare(V("ABC"), V("abc")), -1);  // tie broken by bytes, consistently
  EXPECT_EQ(Compare(V("abc"), V("ABC")), 1);
  EXPECT_EQ(Compare(V("ab"), V("ABC")), -1);
  EXPECT_EQ(Compare(V("a_b"), V("aab")), -1);  // punctuation before letters, as lower case sorts
  EXPECT_EQ(CompareFolded("ÄRGER ÉTÉ Ÿ", "ärger été ÿ"), 0);
  EXPECT_EQ(CompareFolded("ΑΘΗΝΑ", "αθηνα"), 0);
  EXPECT_EQ(CompareFolded("МОСКВА Ёж", "москва ёж"), 0);
  EXPECT_EQ(CompareFolded("Łódź", "ŁÓDŹ"), 0);
  EXPECT_LT(CompareFolded("étf", "été"), 0);  // code point order beyond ASCII
  // Broken UTF-8 compares as bytes rather than failing.
  EXPECT_EQ(CompareFolded("a\xC3", "A\xC3"), 0);
  EXPECT_NE(CompareFolded("\xC3\x80", "\x80\xC3"), 0);
}

// The engine's own text order: these tests hold whatever the environment's collation is.
class EngineTextOrder : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(ado::SetUserCollationLocale("C.UTF-8")); }
  void TearDown() override { ado::SetUserCollationLocale(""); }
};

TEST_F(EngineTextOrder, IsStableAndPutsNullsFirstAscendingLastDescending) {
  RowTable t{{V("b"), V(1)}, {Null(), V(2)}, {V("A"), V(3)}, {V("a"), V(4)},
             {V("B"), V(5)}, {Null(), V(6)}, {V("a"), V(7)}};
  auto rows = t.AllRows();
  ado::SortRows(rows, {{0, false}}, t);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{1, 5, 2, 3, 6, 4, 0}));
  rows = t.AllRows();
  ado::SortRows(rows, {{0, true}}, t);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{0, 4, 3, 6, 2, 1, 5}));
}

TEST_F(EngineTextOrder, SecondKeyOrdersTiesOfTheFirst) {
  RowTable t{{V("x"), V(1)}, {V("y"), V(9)}, {V("X"), V(3)}, {V("x"), V(2)}, {V("y"), Null()}};
  auto rows = t.AllRows();
  ado::SortRows(rows, {{0, false}, {1, true}}, t);
  // "X" sorts before "x" (bytes), then x by Qty descending; y: 9, then NULL last.
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{2, 3, 0, 1, 4}));
}

TEST_F(EngineTextOrder, MixedNumericTypesSortByValue) {
  RowTable t{{V(2.5)},
             {ado::Variant(std::int64_t{-3})},
             {ado::Variant::Currency(25000)},
             {ado::Variant(*ado::Decimal::Parse("2.4999"))},
             {ado::Variant::UnsignedInt(ado::VT_UI8, 1ull << 63)},
             {V(2)},
             {ado::Variant(static_cast<float>(-3.5f))}};
  auto rows = t.AllRows();
  ado::SortRows(rows, {{0, false}}, t);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{6, 1, 5, 3, 0, 2, 4}));
}

TEST_F(EngineTextOrder, LongCommonPrefixesAndSubsetOfRows) {
  const std::string common(500, 'k');
  RowTable t;
  const char* tails[] = {"d", "B", "a", "", "c", "b", "A"};
  for (const char* tail : tails) t.Add({ado::Variant(common + tail)});
  t.Add({ado::Variant(std::string(499, 'k'))});
  std::vector<std::uint32_t> rows = {0, 1, 2, 3, 4, 5, 6, 7};
  ado::SortRows(rows, {{0, false}}, t);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{7, 3, 6, 2, 1, 5, 4, 0}));
  // Only the rows handed in are sorted (a filtered view).
  rows = {5, 0, 2};
  ado::SortRows(rows, {{0, true}}, t);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{0, 5, 2}));
}

// The fast key-based sort must agree with the plain comparison, on awkward data.
TEST_F(EngineTextOrder, AgreesWithCompareValuesOnRandomData) {
  std::mt19937 random(42);
  const char* pieces[] = {"a",  "A",       "é",        "É", "z",         "_",         "\xC3",      "0",
                          "ab", "abcdefg", "ABCDEFGH", " ", "Customer ", "customer ", "CUSTOMER ", "Customer "};
  RowTable t;
  for (int i = 0; i < 3000; ++i) {
    std::string text;
    const int n = static_cast<int>(random() % 4);
    for (int k = 0; k < n; ++k) text += pieces[random() % std::size(pieces)];
    ado::Variant first = random() % 17 == 0 ? ado::Variant::Null() : ado::Variant(text);
    ado::Variant second;
    switch (random() % 6) {
      case 0:
        second = ado::Variant(static_cast<std::int32_t>(random() % 7) - 3);
        break;
      case 1:
        second = ado::Variant((static_cast<double>(random() % 13) - 6) / 2);
        break;
      case 2:
        second = ado::Variant::Currency((static_cast<std::int64_t>(random() % 13) - 6) * 5000);
        break;
      case 3:
        second = ado::Variant(*ado::Decimal::Parse(std::to_string(static_cast<int>(random() % 13) - 6) + ".50"));
        break;
      case 4:
        second = ado::Variant::Null();
        break;
      default:
        second = ado::Variant(random() % 2 == 0);
        break;
    }
    t.Add({first, second});
  }
  const std::vector<ado::SortKey> keys = {{0, true}, {1, false}};
  auto rows = t.AllRows();
  ado::SortRows(rows, keys, t);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::uint32_t a = rows[i - 1], b = rows[i];
    int c = -ado::CompareValues(t.Get(a, 0), t.Get(b, 0));
    if (c == 0) c = ado::CompareValues(t.Get(a, 1), t.Get(b, 1));
    ASSERT_LE(c, 0) << "rows " << a << " and " << b << " out of order at " << i;
    if (c == 0) {
      ASSERT_LT(a, b) << "equal rows " << a << " and " << b << " lost their order";
    }
  }
}

}  // namespace
