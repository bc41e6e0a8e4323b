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

inline const std::vector<CriteriaColumn>& FuzzColumns() {
  static const std::vector<CriteriaColumn> columns = {
      {"Name", 202},  {"Qty", 3},    {"Active", 11}, {"D", 135}, {"Customer Name", 200},
      {"Price", 131}, {"Code", 129}, {"Blob", 204},  {"Any", 0}, {"a]b", 200}};
  return columns;
}

class FuzzRows : public RowSource {
 public:
  // `lines` is the input after its first line.
  explicit FuzzRows(std::string_view lines) {
    Add({Variant("O'Brien"), Variant(std::int32_t{1500}), Variant(true), Variant::Date(37653.4375), Variant("abc corp"),
         Variant(1.5), Variant("AB   "), Variant::Bytes("ab"), Variant(std::int32_t{7}), Variant("x")});
    Add({Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(),
         Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null()});
    Add({Variant("ÉTÉ Zoë"), Variant(std::int64_t{-9007199254740993}), Variant(false), Variant::Date(-1.25),
         Variant(""), Variant::Currency(15000), Variant("ABC"), Variant::Bytes(std::string("\0\xff", 2)),
         Variant("seven"), Variant(std::int64_t{3})});
    Add({Variant("o'brady"), Variant::UnsignedInt(VT_UI8, 18446744073709551615ull), Variant(true),
         Variant("2003-02-01"), Variant(std::int32_t{12}), Variant(*Decimal::Parse("-12.50")), Variant(),
         Variant("text"), Variant(7.5), Variant::Date(0)});
    std::size_t start = 0;
    for (std::size_t i = 0; i <= lines.size() && Size() < 64; ++i) {
      if (i == lines.size() || lines[i] == '\n') {
        AddLine(lines.substr(start, i - start));
        start = i + 1;
      }
    }
  }

  std::size_t Size() const { return rows_.size(); }
  ValueView Get(std::uint32_t row, int column) const override {
    return ValueView::Of(rows_.at(row).at(static_cast<std::size_t>(column)));
  }

 private:
  void Add(std::vector<Variant> row) { rows_.push_back(std::move(row)); }

  void AddLine(std::string_view line) {
    std::uint64_t h = 1469598103934665603ull;
    for (char c : line) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    const std::string text(line);
    const auto number = Decimal::Parse(line);
    Variant any;
    switch (h % 5) {
      case 0:
        any = Variant(text);
        break;
      case 1:
        any = Variant(static_cast<std::int64_t>(h >> 8));
        break;
      case 2:
        any = Variant(static_cast<double>(static_cast<std::int64_t>(h)) / 1e6);
        break;
      case 3:
        any = number ? Variant(*number) : Variant::Null();
        break;
      default:
        any = Variant::Date(static_cast<double>(h % 4000000) / 97.0 - 20000);
        break;
    }
    Add({Variant(text), h % 7 == 0 ? Variant::Null() : Variant(static_cast<std::int32_t>(h % 2001) - 1000),
         Variant((h & 1) != 0), Variant::Date(static_cast<double>(h % 80000) / 7.0 - 1000),
         Variant(std::string(line.rbegin(), line.rend())),
         number ? Variant(*number) : Variant(static_cast<double>(h % 977) / 8), Variant(text + "  "),
         Variant::Bytes(text), any, Variant(text)});
  }

  std::vector<std::vector<Variant>> rows_;
};

// The first line of the input, and the rest.
inline std::pair<std::string_view, std::string_view> SplitFirstLine(const std::uint8_t* data, std::size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const std::size_t nl = all.find('\n');
  if (nl == std::string_view::npos) return {all, {}};
  return {all.substr(0, nl), all.substr(nl + 1)};
}
