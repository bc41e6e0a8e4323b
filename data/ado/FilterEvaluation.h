#pragma once
// The compiled filter criteria: tests of one row's values, joined into a tree by the parser
// (data/ado/FilterParser.h), evaluated for each row the filter looks at.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/ado/Decimal.h"
#include "data/ado/ValueView.h"

namespace ado {

// The truth of a criterion for one row, three-valued as in SQL's WHERE: a comparison with a NULL
// value is unknown, NOT leaves unknown unknown, AND is false when any part is false and OR true
// when any part is true. Only rows whose criteria are true pass.
enum class Truth : std::uint8_t { False, Unknown, True };

class FilterExpression {
 public:
  virtual ~FilterExpression() = default;
  virtual Truth Evaluate(const RowSource& source, std::uint32_t row) const = 0;
  bool Matches(const RowSource& source, std::uint32_t row) const { return Evaluate(source, row) == Truth::True; }
};

enum class FilterOp : std::uint8_t { Eq, Ne, Lt, Gt, Le, Ge };
using FilterNode = std::unique_ptr<FilterExpression>;

// A date constant and the span it stands for, in days: a day, a minute, a second, a millisecond.
struct FilterDate {
  double value = 0;  // automation date
  double unit = 1;
};

// Numbers of the criteria and of text values: '.' or the user's decimal point, blanks around.
std::optional<Decimal> ParseFilterNumber(std::string_view text);
// TRUE or FALSE in any case, or a number (zero false, others true).
std::optional<bool> ParseFilterBool(std::string_view text);

FilterNode MatchAllRows();
FilterNode AllOfNode(std::vector<FilterNode> parts);
FilterNode AnyOfNode(std::vector<FilterNode> parts);
FilterNode NotNode(FilterNode inner);
// IS NULL (wantNull) or IS NOT NULL.
FilterNode NullTestNode(int column, bool wantNull);
FilterNode NumberTestNode(int column, FilterOp op, const Decimal& value);
FilterNode BoolTestNode(int column, FilterOp op, bool value);
FilterNode DateTestNode(int column, FilterOp op, const FilterDate& date);
// `padded`: a fixed-width char column, whose trailing blanks comparisons ignore.
FilterNode TextTestNode(int column, FilterOp op, std::string value, bool padded);
FilterNode LikeTestNode(int column, std::string_view pattern, bool negate, bool padded);

}  // namespace ado
