#pragma once
// A tiny in-memory row source over variants, standing in for the cursor engine's row store.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "data/ado/FilterParser.h"
#include "data/ado/ValueView.h"
#include "data/ado/Variant.h"

class RowTable : public ado::RowSource {
 public:
  RowTable() = default;
  RowTable(std::initializer_list<std::vector<ado::Variant>> rows) : rows_(rows) {}

  void Add(std::vector<ado::Variant> row) { rows_.push_back(std::move(row)); }
  std::size_t Size() const { return rows_.size(); }

  ado::ValueView Get(std::uint32_t row, int column) const override {
    return ado::ValueView::Of(rows_.at(row).at(static_cast<std::size_t>(column)));
  }

  std::vector<std::uint32_t> AllRows() const {
    std::vector<std::uint32_t> rows(rows_.size());
    for (std::uint32_t i = 0; i < rows.size(); ++i) rows[i] = i;
    return rows;
  }

  std::vector<std::uint32_t> Matching(const ado::FilterExpression& filter) const {
    std::vector<std::uint32_t> rows;
    for (std::uint32_t i = 0; i < rows_.size(); ++i)
      if (filter.Matches(*this, i)) rows.push_back(i);
    return rows;
  }

 private:
  std::vector<std::vector<ado::Variant>> rows_;
};

// Shorthands for building rows.
inline ado::Variant V(const char* s) {
  return ado::Variant(s);
}
inline ado::Variant V(int v) {
  return ado::Variant(static_cast<std::int32_t>(v));
}
inline ado::Variant V(double v) {
  return ado::Variant(v);
}
inline ado::Variant Null() {
  return ado::Variant::Null();
}
