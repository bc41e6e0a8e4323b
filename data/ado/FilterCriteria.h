#pragma once
// ADO's filter criteria grammar over the cursor engine: clauses "field op value" joined by AND /
// OR with parentheses. Criteria never reach the database as SQL.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "data/ado/ValueView.h"

class FilterExpression {
 public:
  virtual ~FilterExpression() = default;
  virtual bool Matches(const RowSource& source, std::uint32_t row) const = 0;
};

// Compiles the criteria against the columns; raises ComError (adErrInvalidArgument, with a clear
// message) for malformed criteria, unknown fields and values that do not convert to the field's
// type.
std::unique_ptr<FilterExpression> CompileFilter(std::string_view criteria, const std::vector<CriteriaColumn>& columns);
