// The grid's row heights: chunks of one height and chunks of their own, against a plain array
// through a long run of random changes that cross chunk edges.
#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

#include "grid/RowHeights.h"

namespace {
void ExpectSame(const RowHeights& heights, const std::vector<int>& model, std::mt19937& random) {
  ASSERT_EQ(heights.size(), model.size());
  for (std::size_t row = 0; row < model.size(); ++row) ASSERT_EQ(heights[row], model[row]) << "row " << row;
  EXPECT_EQ(heights.Sum(), std::accumulate(model.begin(), model.end(), 0LL));
  if (model.empty()) return;
  std::uniform_int_distribution<std::size_t> pick(0, model.size());
  std::size_t from = pick(random), to = pick(random);
  if (from > to) std::swap(from, to);
  EXPECT_EQ(heights.Sum(from, to), std::accumulate(model.begin() + from, model.begin() + to, 0LL));
}
}  // namespace

TEST(RowHeights, FollowAPlainArrayThroughGrowingShrinkingSettingAndFilling) {
  std::mt19937 random(16);
  RowHeights heights;
  std::vector<int> model;
  std::uniform_int_distribution<int> action(0, 9), height(0, 3);
  for (int step = 0; step < 400; ++step) {
    switch (action(random)) {
      case 0:
      case 1:
      case 2: {  // rows arriving, a few at a time or many
        const std::size_t rows = model.size() + std::uniform_int_distribution<std::size_t>(0, 9000)(random);
        const int h = 20 + height(random);
        heights.Resize(rows, h);
        model.resize(rows, h);
        break;
      }
      case 3: {  // a filter or a new query
        const std::size_t rows = std::uniform_int_distribution<std::size_t>(0, model.size())(random);
        heights.Resize(rows, 0);
        model.resize(rows);
        break;
      }
      case 4: {
        const int h = 20 + height(random);
        heights.Fill(h);
        std::fill(model.begin(), model.end(), h);
        break;
      }
      default:
        if (!model.empty()) {  // a hidden or resized row, often back to the height around it
          const std::size_t row = std::uniform_int_distribution<std::size_t>(0, model.size() - 1)(random);
          const int h = height(random) == 0 ? 0 : 20 + height(random);
          heights.Set(row, h);
          model[row] = h;
        }
    }
    ExpectSame(heights, model, random);
    if (HasFatalFailure()) return;
  }
}
