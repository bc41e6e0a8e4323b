#include "data/ado/FilterEvaluation.h"

#include <charconv>
#include <cmath>

#include "data/ado/SortCriteria.h"
#include "text/CaseFold.h"
#include "text/DateScan.h"
#include "text/TextUtil.h"
#include "text/UserLocale.h"

namespace ado {

std::optional<Decimal> ParseFilterNumber(std::string_view text) {
  text = TrimBlanks(text);
  if (auto d = Decimal::Parse(text, '.')) return d;
  const char point = UserDecimalPoint();
  if (point != '.') return Decimal::Parse(text, point);
  return std::nullopt;
}

std::optional<bool> ParseFilterBool(std::string_view text) {
  text = TrimBlanks(text);
  if (EqualsKeyword(text, "TRUE")) return true;
  if (EqualsKeyword(text, "FALSE")) return false;
  if (auto d = ParseFilterNumber(text)) return !d->IsZero();
  return std::nullopt;
}

namespace {

using Op = FilterOp;

std::string_view TrimPadding(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

inline unsigned char FoldByte(std::string_view s, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
  return FoldedByteAt(s, i);
}

Truth Known(bool b) {
  return b ? Truth::True : Truth::False;
}

Truth Holds(Op op, int c) {
  switch (op) {
    case Op::Eq:
      return Known(c == 0);
    case Op::Ne:
      return Known(c != 0);
    case Op::Lt:
      return Known(c < 0);
    case Op::Gt:
      return Known(c > 0);
    case Op::Le:
      return Known(c <= 0);
    case Op::Ge:
      return Known(c >= 0);
  }
  return Truth::False;
}

// A value that cannot be compared with the constant (a text in a numeric column, say) is
// different from it and neither smaller nor greater.
Truth Incomparable(Op op) {
  return Known(op == Op::Ne);
}

bool IsSignedVt(VARTYPE vt) {
  return vt == VT_I1 || vt == VT_I2 || vt == VT_I4 || vt == VT_I8 || vt == VT_INT;
}
bool IsUnsignedVt(VARTYPE vt) {
  return vt == VT_UI1 || vt == VT_UI2 || vt == VT_UI4 || vt == VT_UI8 || vt == VT_UINT;
}

// A row value as text, formatting numbers into `buffer` (no allocation); empty when the value
// has no text form worth comparing.
std::optional<std::string_view> RowText(const ValueView& v, char (&buffer)[64]) {
  std::to_chars_result r{};
  if (v.vt == VT_BSTR || v.vt == (VT_ARRAY | VT_UI1)) return v.s;
  if (IsSignedVt(v.vt))
    r = std::to_chars(buffer, buffer + sizeof buffer, v.i);
  else if (IsUnsignedVt(v.vt))
    r = std::to_chars(buffer, buffer + sizeof buffer, v.u);
  else if (v.vt == VT_R8)
    r = std::to_chars(buffer, buffer + sizeof buffer, v.d);
  else if (v.vt == VT_R4)
    r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(v.d));
  else
    return std::nullopt;
  if (r.ec != std::errc()) return std::nullopt;
  return std::string_view(buffer, static_cast<std::size_t>(r.ptr - buffer));
}

class MatchAll final : public FilterExpression {
 public:
  Truth Evaluate(const RowSource&, std::uint32_t) const override { return Truth::True; }
};

using Node = FilterNode;

// AND and OR: a part with the deciding truth (false for AND, true for OR) decides; otherwise
// an unknown part leaves the whole unknown.
class Junction final : public FilterExpression {
 public:
  Junction(std::vector<Node> parts, Truth deciding) : parts_(std::move(parts)), deciding_(deciding) {}
  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    Truth result = deciding_ == Truth::False ? Truth::True : Truth::False;
    for (const Node& p : parts_) {
      const Truth t = p->Evaluate(source, row);
      if (t == deciding_) return deciding_;
      if (t == Truth::Unknown) result = Truth::Unknown;
    }
    return result;
  }

 private:
  std::vector<Node> parts_;
  Truth deciding_;
};

class Not final : public FilterExpression {
 public:
  explicit Not(Node inner) : inner_(std::move(inner)) {}
  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    const Truth t = inner_->Evaluate(source, row);
    return t == Truth::Unknown ? t : Known(t == Truth::False);
  }

 private:
  Node inner_;
};

class NullTest final : public FilterExpression {
 public:
  NullTest(int column, bool wantNull) : column_(column), wantNull_(wantNull) {}
  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    return Known(source.Get(row, column_).IsNull() == wantNull_);
  }

 private:
  int column_;
  bool wantNull_;
};

class NumberTest final : public FilterExpression {
 public:
  NumberTest(int column, Op op, const Decimal& value) : column_(column), op_(op), value_(value) {
    if (auto i = value.Rescaled(0); i && i->Compare(value) == 0) {
      if (auto whole = i->ToInt64()) {
        isInt_ = true;
        int_ = *whole;
      }
    }
    approx_ = value.ToDouble();
  }

  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    const ValueView v = source.Get(row, column_);
    if (v.IsNull()) return Truth::Unknown;
    if (isInt_ && IsSignedVt(v.vt)) return Holds(op_, v.i < int_ ? -1 : (v.i > int_ ? 1 : 0));
    if (isInt_ && IsUnsignedVt(v.vt)) {
      if (int_ < 0) return Holds(op_, 1);
      const auto c = static_cast<std::uint64_t>(int_);
      return Holds(op_, v.u < c ? -1 : (v.u > c ? 1 : 0));
    }
    // Exact numbers of different types order by their correctly rounded doubles first.
    if ((v.vt == VT_R8 || v.vt == VT_R4) && !std::isnan(v.d) && v.d != approx_)
      return Holds(op_, v.d < approx_ ? -1 : 1);
    ValueView constant;
    constant.vt = VT_DECIMAL;
    constant.dec = value_;
    switch (v.vt) {
      case VT_I1:
      case VT_I2:
      case VT_I4:
      case VT_I8:
      case VT_INT:
      case VT_UI1:
      case VT_UI2:
      case VT_UI4:
      case VT_UI8:
      case VT_UINT:
      case VT_R4:
      case VT_R8:
      case VT_CY:
      case VT_DECIMAL:
        return Holds(op_, CompareValues(v, constant));
      case VT_BSTR: {  // a typeless database may keep numbers as text
        const std::optional<Decimal> parsed = Decimal::Parse(v.s, '.');
        if (!parsed) return Incomparable(op_);
        return Holds(op_, parsed->Compare(value_));
      }
      case VT_BOOL:
        return Holds(op_, Decimal::FromInt64(v.b ? 1 : 0).Compare(value_));
      default:
        return Incomparable(op_);
    }
  }

 private:
  int column_;
  Op op_;
  Decimal value_;
  bool isInt_ = false;
  std::int64_t int_ = 0;
  double approx_ = 0;
};

class BoolTest final : public FilterExpression {
 public:
  BoolTest(int column, Op op, bool value) : column_(column), op_(op), value_(value) {}
  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    const ValueView v = source.Get(row, column_);
    if (v.IsNull()) return Truth::Unknown;
    bool b = false;
    if (v.vt == VT_BOOL) {
      b = v.b;
    } else if (IsSignedVt(v.vt)) {
      b = v.i != 0;
    } else if (IsUnsignedVt(v.vt)) {
      b = v.u != 0;
    } else if (v.vt == VT_R4 || v.vt == VT_R8) {
      b = v.d != 0;
    } else if (v.vt == VT_BSTR) {
      const std::optional<bool> parsed = ParseFilterBool(v.s);
      if (!parsed) return Incomparable(op_);
      b = *parsed;
    } else {
      return Incomparable(op_);
    }
    return Holds(op_, b == value_ ? 0 : (b ? 1 : -1));
  }

 private:
  int column_;
  Op op_;
  bool value_;
};

// A date written to the day stands for the whole day (to the second, for the whole second), so
// D = '2003-02-01' finds the rows of that day whatever their time, and D <= '... 23:59:59'
// includes the last second's fractions. The half millisecond absorbs rounding of stored dates.
class DateTest final : public FilterExpression {
 public:
  DateTest(int column, Op op, const FilterDate& lit) : column_(column), op_(op) {
    constexpr double kHalfMs = 0.5 / (24.0 * 60 * 60 * 1000);
    const double start = ChronologicalDate(lit.value);
    low_ = start - kHalfMs;
    high_ = start + lit.unit - kHalfMs;
  }

  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    const ValueView v = source.Get(row, column_);
    double date = 0;
    switch (v.vt) {
      case VT_DATE:
      case VT_R8:
      case VT_R4:
        date = v.d;
        break;
      case VT_BSTR: {  // a typeless database may keep dates as ISO text
        const std::optional<double> parsed = ParseIsoDateTime(v.s);
        if (!parsed) return Incomparable(op_);
        date = *parsed;
        break;
      }
      case VT_EMPTY:
      case VT_NULL:
        return Truth::Unknown;
      default:
        if (IsSignedVt(v.vt)) {
          date = static_cast<double>(v.i);
          break;
        }
        return Incomparable(op_);
    }
    if (std::isnan(date)) return Incomparable(op_);
    const double r = ChronologicalDate(date);
    const bool within = r >= low_ && r < high_;
    switch (op_) {
      case Op::Eq:
        return Known(within);
      case Op::Ne:
        return Known(!within);
      case Op::Lt:
        return Known(r < low_);
      case Op::Ge:
        return Known(r >= low_);
      case Op::Le:
        return Known(r < high_);
      case Op::Gt:
        return Known(r >= high_);
    }
    return Truth::False;
  }

 private:
  int column_;
  Op op_;
  double low_ = 0;
  double high_ = 0;
};

// The tests of a row's value as text: NULL is unknown, a value with no text form is settled by
// the test, a fixed-width column's text is read without its padding.
class TextRowTest : public FilterExpression {
 public:
  TextRowTest(int column, bool padded) : column_(column), padded_(padded) {}

  Truth Evaluate(const RowSource& source, std::uint32_t row) const final {
    const ValueView v = source.Get(row, column_);
    if (v.IsNull()) return Truth::Unknown;
    char buffer[64];
    const std::optional<std::string_view> text = RowText(v, buffer);
    if (!text) return WithoutText();
    return OfText(padded_ ? TrimPadding(*text) : *text);
  }

 protected:
  virtual Truth WithoutText() const = 0;
  virtual Truth OfText(std::string_view text) const = 0;

 private:
  int column_;
  bool padded_;
};

class TextTest final : public TextRowTest {
 public:
  TextTest(int column, Op op, std::string value, bool padded)
      : TextRowTest(column, padded), op_(op), value_(std::move(value)) {
    if (padded) value_.resize(TrimPadding(value_).size());
  }

 private:
  Truth WithoutText() const override { return Incomparable(op_); }
  Truth OfText(std::string_view text) const override { return Holds(op_, CompareFolded(text, value_)); }

  Op op_;
  std::string value_;
};

// LIKE with '%' or '*' standing for any run of characters, anywhere in the pattern; matching
// ignores case. The pattern is folded once; the row's text is folded byte by byte as it is read.
class LikeTest final : public TextRowTest {
 public:
  LikeTest(int column, std::string_view pattern, bool negate, bool padded)
      : TextRowTest(column, padded), negate_(negate) {
    folded_.resize(pattern.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) folded_[i] = static_cast<char>(FoldByte(pattern, i));
    std::size_t start = 0;
    for (std::size_t i = 0; i <= folded_.size(); ++i) {
      if (i == folded_.size() || folded_[i] == '%' || folded_[i] == '*') {
        if (i > start) segments_.push_back({start, i - start});
        start = i + 1;
      }
    }
    anchoredStart_ = folded_.empty() || (folded_.front() != '%' && folded_.front() != '*');
    anchoredEnd_ = folded_.empty() || (folded_.back() != '%' && folded_.back() != '*');
  }

 private:
  Truth WithoutText() const override { return Known(negate_); }
  Truth OfText(std::string_view text) const override { return Known(Match(text) != negate_); }

  struct Segment {
    std::size_t offset;
    std::size_t length;
  };

  bool At(std::string_view s, std::size_t pos, const Segment& seg) const {
    for (std::size_t j = 0; j < seg.length; ++j)
      if (FoldByte(s, pos + j) != static_cast<unsigned char>(folded_[seg.offset + j])) return false;
    return true;
  }

  bool Match(std::string_view s) const {
    if (segments_.empty()) return !anchoredStart_ || s.empty();  // only wildcards, or ''
    std::size_t first = 0, last = segments_.size();              // the segments still to place
    std::size_t from = 0, to = s.size();                         // where they may go
    if (anchoredStart_) {
      const Segment& head = segments_.front();
      if (head.length > s.size() || !At(s, 0, head)) return false;
      if (segments_.size() == 1 && anchoredEnd_) return head.length == s.size();
      from = head.length;
      ++first;
    }
    if (anchoredEnd_ && first < last) {
      const Segment& tail = segments_.back();
      if (tail.length > s.size() - from || !At(s, s.size() - tail.length, tail)) return false;
      to = s.size() - tail.length;
      --last;
    }
    // Leftmost placement of each middle segment is enough when wildcards match any run.
    for (std::size_t k = first; k < last; ++k) {
      const Segment& seg = segments_[k];
      bool found = false;
      for (std::size_t pos = from; pos + seg.length <= to; ++pos) {
        if (At(s, pos, seg)) {
          from = pos + seg.length;
          found = true;
          break;
        }
      }
      if (!found) return false;
    }
    return true;
  }

  bool negate_;
  std::string folded_;
  std::vector<Segment> segments_;
  bool anchoredStart_ = true;
  bool anchoredEnd_ = true;
};

}  // namespace

FilterNode MatchAllRows() {
  return std::make_unique<MatchAll>();
}
FilterNode AllOfNode(std::vector<FilterNode> parts) {
  return std::make_unique<Junction>(std::move(parts), Truth::False);
}
FilterNode AnyOfNode(std::vector<FilterNode> parts) {
  return std::make_unique<Junction>(std::move(parts), Truth::True);
}
FilterNode NotNode(FilterNode inner) {
  return std::make_unique<Not>(std::move(inner));
}
FilterNode NullTestNode(int column, bool wantNull) {
  return std::make_unique<NullTest>(column, wantNull);
}
FilterNode NumberTestNode(int column, FilterOp op, const Decimal& value) {
  return std::make_unique<NumberTest>(column, op, value);
}
FilterNode BoolTestNode(int column, FilterOp op, bool value) {
  return std::make_unique<BoolTest>(column, op, value);
}
FilterNode DateTestNode(int column, FilterOp op, const FilterDate& date) {
  return std::make_unique<DateTest>(column, op, date);
}
FilterNode TextTestNode(int column, FilterOp op, std::string value, bool padded) {
  return std::make_unique<TextTest>(column, op, std::move(value), padded);
}
FilterNode LikeTestNode(int column, std::string_view pattern, bool negate, bool padded) {
  return std::make_unique<LikeTest>(column, pattern, negate, padded);
}

}  // namespace ado
