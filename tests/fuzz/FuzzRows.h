#pragma once
// Rows for the criteria fuzzers: a fixed set covering every value kind, plus one row per line of
// the fuzzer's input after the first, so that the fuzzer also steers the texts being compared.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/ado/Decimal.h"
#include "data/ado/ValueView.h"
#include "data/ado/Variant.h"

inline const std::vector<ado::CriteriaColumn>& FuzzColumns() {
  static const std::vector<ado::CriteriaColumn> columns = {
      {"Name", 202},  {"Qty", 3},    {"Active", 11}, {"D", 135}, {"Customer Name", 200},
      {"Price", 131}, {"Code", 129}, {"Blob", 204},  {"Any", 0}, {"a]b", 200}};
  return columns;
}

class FuzzRows : public ado::RowSource {
 public:
  // `lines` is the input after its first line.
  explicit FuzzRows(std::string_view lines) {
    Add({ado::Variant("O'Brien"), ado::Variant(std::int32_t{1500}), ado::Variant(true), ado::Variant::Date(37653.4375),
         ado::Variant("abc corp"), ado::Variant(1.5), ado::Variant("AB   "), ado::Variant::Bytes("ab"),
         ado::Variant(std::int32_t{7}), ado::Variant("x")});
    Add({ado::Variant::Null(), ado::Variant::Null(), ado::Variant::Null(), ado::Variant::Null(), ado::Variant::Null(),
         ado::Variant::Null(), ado::Variant::Null(), ado::Variant::Null(), ado::Variant::Null(), ado::Variant::Null()});
    Add({ado::Variant("ÉTÉ Zoë"), ado::Variant(std::int64_t{-9007199254740993}), ado::Variant(false),
         ado::Variant::Date(-1.25), ado::Variant(""), ado::Variant::Currency(15000), ado::Variant("ABC"),
         ado::Variant::Bytes(std::string("\0\xff", 2)), ado::Variant("seven"), ado::Variant(std::int64_t{3})});
    Add({ado::Variant("o'brady"), ado::Variant::UnsignedInt(ado::VT_UI8, 18446744073709551615ull), ado::Variant(true),
         ado::Variant("2003-02-01"), ado::Variant(std::int32_t{12}), ado::Variant(*ado::Decimal::Parse("-12.50")),
         ado::Variant(), ado::Variant("text"), ado::Variant(7.5), ado::Variant::Date(0)});
    std::size_t start = 0;
    for (std::size_t i = 0; i <= lines.size() && Size() < 64; ++i) {
      if (i == lines.size() || lines[i] == '\n') {
        AddLine(lines.substr(start, i - start));
        start = i + 1;
      }
    }
  }

  std::size_t Size() const { return rows_.size(); }
  ado::ValueView Get(std::uint32_t row, int column) const override {
    return ado::ValueView::Of(rows_.at(row).at(static_cast<std::size_t>(column)));
  }

 private:
  void Add(std::vector<ado::Variant> row) { rows_.push_back(std::move(row)); }

  void AddLine(std::string_view line) {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : line) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    const std::string text(line);
    const auto number = ado::Decimal::Parse(line);
    ado::Variant any;
    switch (h % 5) {
      case 0:
        any = ado::Variant(text);
        break;
      case 1:
        any = ado::Variant(static_cast<std::int64_t>(h >> 8));
        break;
      case 2:
        any = ado::Variant(static_cast<double>(static_cast<std::int64_t>(h)) / 1e6);
        break;
      case 3:
        any = number ? ado::Variant(*number) : ado::Variant::Null();
        break;
      default:
        any = ado::Variant::Date(static_cast<double>(h % 4000000) / 97.0 - 20000);
        break;
    }
    Add({ado::Variant(text),
         h % 7 == 0 ? ado::Variant::Null() : ado::Variant(static_cast<std::int32_t>(h % 2001) - 1000),
         ado::Variant((h & 1) != 0), ado::Variant::Date(static_cast<double>(h % 80000) / 7.0 - 1000),
         ado::Variant(std::string(line.rbegin(), line.rend())),
         number ? ado::Variant(*number) : ado::Variant(static_cast<double>(h % 977) / 8), ado::Variant(text + "  "),
         ado::Variant::Bytes(text), any, ado::Variant(text)});
  }

  std::vector<std::vector<ado::Variant>> rows_;
};

// The first line of the input, and the rest.
inline std::pair<std::string_view, std::string_view> SplitFirstLine(const std::uint8_t* data, std::size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t nl = all.find('\n');
  if (nl == std::string_view::npos) return {all, {}};
  return {all.substr(0, nl), all.substr(nl + 1)};
}
