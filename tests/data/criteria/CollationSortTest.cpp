// Text columns sort in the user's collation: the order of the language, made from one key per
// text, with the C collation keeping the case-insensitive order of the cursor engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "data/ado/SortCriteria.h"
#include "data/ado/UserCollation.h"
#include "tests/data/criteria/RowTable.h"

namespace {

class CollationSort : public ::testing::Test {
 protected:
  void TearDown() override { ado::SetUserCollationLocale(""); }

  // The texts sorted on their own, ascending or descending.
  static std::vector<std::string> Sorted(const std::vector<std::string>& texts, bool descending = false) {
    RowTable table;
    for (const std::string& text : texts) table.Add({ado::Variant(text)});
    std::vector<std::uint32_t> rows = table.AllRows();
    ado::SortRows(rows, {{0, descending}}, table);
    std::vector<std::string> result;
    for (std::uint32_t row : rows) result.push_back(texts[row]);
    return result;
  }
};

using Texts = std::vector<std::string>;

TEST_F(CollationSort, EachLanguageItsOwnOrder) {
  const Texts places = {"Zed's", "Öland", "Ålesund", "Ærø", "Aachen", "zebra"};
  ASSERT_TRUE(ado::SetUserCollationLocale("de_DE.UTF-8"));
  EXPECT_EQ(Sorted(places), (Texts{"Aachen", "Ærø", "Ålesund", "Öland", "zebra", "Zed's"}));
  EXPECT_EQ(Sorted({"Mund", "Müller", "Muller", "Bäcker", "Äpfel"}),
            (Texts{"Äpfel", "Bäcker", "Muller", "Müller", "Mund"}));

  // Swedish letters Å, Ä, Ö follow Z.
  ASSERT_TRUE(ado::SetUserCollationLocale("sv_SE.UTF-8"));
  EXPECT_EQ(Sorted({"Öland", "Ärla", "Ålesund", "Zed's", "Aachen"}),
            (Texts{"Aachen", "Zed's", "Ålesund", "Ärla", "Öland"}));
  // Danish and Norwegian: Æ, Ø, Å.
  ASSERT_TRUE(ado::SetUserCollationLocale("nb_NO.UTF-8"));
  EXPECT_EQ(Sorted({"Ålesund", "Ørsta", "Ærø", "Zed's"}), (Texts{"Zed's", "Ærø", "Ørsta", "Ålesund"}));

  ASSERT_TRUE(ado::SetUserCollationLocale("fr_FR.UTF-8"));
  EXPECT_EQ(Sorted({"Zola", "Évry", "Eze", "Écully", "élan"}), (Texts{"Écully", "élan", "Évry", "Eze", "Zola"}));
  EXPECT_EQ(Sorted({"Zola", "Évry", "Eze", "Écully", "élan"}, true), (Texts{"Zola", "Eze", "Évry", "élan", "Écully"}));
}

TEST_F(CollationSort, TheCCollationKeepsTheCaseInsensitiveOrder) {
  ASSERT_TRUE(ado::SetUserCollationLocale("C.UTF-8"));
  EXPECT_EQ(ado::UserCollationLocale(), nullptr);
  EXPECT_EQ(Sorted({"b", "Ålesund", "B", "a", "Zed's"}), (Texts{"a", "B", "b", "Zed's", "Ålesund"}));
  EXPECT_FALSE(ado::SetUserCollationLocale("xx_NOWHERE.UTF-8"));
  EXPECT_EQ(ado::UserCollationLocale(), nullptr) << "an unknown name keeps the collation in force";
}

TEST_F(CollationSort, NullsKindsAndTiesAroundCollatedTexts) {
  ASSERT_TRUE(ado::SetUserCollationLocale("de_DE.UTF-8"));
  RowTable table{{V("Zed's"), V(1)},   {Null(), V(2)}, {V("Ålesund"), V(3)}, {V(5), V(4)},
                 {V("Ålesund"), V(0)}, {V(""), V(6)},  {V("ålesund"), V(7)}};
  std::vector<std::uint32_t> rows = table.AllRows();
  ado::SortRows(rows, {{0, false}, {1, true}}, table);
  // NULL first, numbers before texts, the empty text first of them; equal texts by the second
  // key; letter case counts only after the letters.
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{1, 3, 5, 6, 2, 4, 0}));
  rows = table.AllRows();
  ado::SortRows(rows, {{0, true}}, table);
  EXPECT_EQ(rows, (std::vector<std::uint32_t>{0, 2, 4, 6, 5, 3, 1}));
}

TEST_F(CollationSort, AnyBytesGiveOneConsistentOrder) {
  // Invalid UTF-8, NUL bytes and long texts: every pair of rows keeps the order of its keys, and
  // texts that differ never come out as equal neighbours in an unstable order.
  ASSERT_TRUE(ado::SetUserCollationLocale("sv_SE.UTF-8"));
  std::mt19937 random(17);
  const std::string pieces[] = {"a", "Å", "\xff", "\xc3", std::string(1, '\0'), "Z", "ö", " ", "-", "é", "1"};
  Texts texts;
  for (int i = 0; i < 400; ++i) {
    std::string text;
    const int length = static_cast<int>(random() % 9);
    for (int j = 0; j < length; ++j) text += pieces[random() % std::size(pieces)];
    if (i % 50 == 0) text += std::string(300, 'x');
    texts.push_back(text);
  }
  const Texts sorted = Sorted(texts);
  ASSERT_EQ(sorted.size(), texts.size());
  auto keyOf = [](const std::string& text) {
    std::string key;
    ado::AppendCollationKey(ado::UserCollationLocale(), text, key);
    return key;
  };
  for (std::size_t i = 1; i < sorted.size(); ++i) EXPECT_LE(keyOf(sorted[i - 1]), keyOf(sorted[i])) << i;
  EXPECT_TRUE(std::is_permutation(sorted.begin(), sorted.end(), texts.begin()));
}

}  // namespace
