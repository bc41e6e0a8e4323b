#include "data/ado/FilterCriteria.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

#include "data/ado/ComError.h"
#include "data/ado/OleDate.h"
#include "data/ado/SortCriteria.h"
#include "data/ado/UserLocale.h"

namespace ado {

namespace {

// ---- Errors and small text helpers.

[[noreturn]] void Fail(const std::string& message) {
  throw ComError(adErrInvalidArgument, "Filter criteria: " + message, "ADODB.Recordset");
}

std::string At(std::size_t i) {
  return " at position " + std::to_string(i + 1);
}

// Texts quoted in messages are cut, so that a runaway value does not flood the message box.
std::string Quoted(std::string_view s) {
  constexpr std::size_t kMax = 60;
  return "'" + std::string(s.substr(0, kMax)) + (s.size() > kMax ? "...'" : "'");
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualsKeyword(std::string_view word, std::string_view keyword) {
  if (word.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char c = word[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    if (c != keyword[i]) return false;
  }
  return true;
}

inline unsigned char FoldByte(std::string_view s, std::size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
  return FoldedByteAt(s, i);
}

// ---- What a column compares as.

enum class Category { Integer, Numeric, Bool, Date, Text, Binary, Other };

Category CategoryOf(int adoType) {
  switch (adoType) {
    case 2:
    case 3:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
      return Category::Integer;
    case 4:
    case 5:
    case 6:
    case 14:
    case 131:
    case 139:
      return Category::Numeric;
    case 11:
      return Category::Bool;
    case 7:
    case 64:
    case 133:
    case 134:
    case 135:
      return Category::Date;
    case 8:
    case 72:
    case 129:
    case 130:
    case 200:
    case 201:
    case 202:
    case 203:
      return Category::Text;
    case 128:
    case 204:
    case 205:
      return Category::Binary;
    default:
      return Category::Other;
  }
}

// Fixed-width character columns come padded with blanks, which comparisons ignore.
bool IsPadded(int adoType) {
  return adoType == 129 || adoType == 130;
}

enum class Op { Eq, Ne, Lt, Gt, Le, Ge };

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

// ---- Literals.

std::optional<Decimal> ParseNumber(std::string_view text) {
  text = Trim(text);
  if (auto d = Decimal::Parse(text, '.')) return d;
  const char point = UserDecimalPoint();
  if (point != '.') return Decimal::Parse(text, point);
  return std::nullopt;
}

std::optional<bool> ParseBool(std::string_view text) {
  text = Trim(text);
  if (EqualsKeyword(text, "TRUE")) return true;
  if (EqualsKeyword(text, "FALSE")) return false;
  if (auto d = ParseNumber(text)) return !d->IsZero();
  return std::nullopt;
}

struct DateLiteral {
  double value = 0;  // automation date
  double unit = 1;   // the span it stands for, in days: a day, a minute, a second, a millisecond
};

bool ReadDigits(std::string_view t, std::size_t& i, int minDigits, int maxDigits, int& out) {
  int n = 0, v = 0;
  while (i < t.size() && n < maxDigits && t[i] >= '0' && t[i] <= '9') {
    v = v * 10 + (t[i] - '0');
    ++i;
    ++n;
  }
  out = v;
  return n >= minDigits;
}

// The time part "hh:mm[:ss[.fff]]" at `i`; sets the unit from the precision written.
bool ReadTime(std::string_view t, std::size_t& i, DateParts& p, double& unit) {
  if (!ReadDigits(t, i, 1, 2, p.hour) || i >= t.size() || t[i] != ':') return false;
  ++i;
  if (!ReadDigits(t, i, 2, 2, p.minute)) return false;
  unit = 1.0 / (24 * 60);
  if (i < t.size() && t[i] == ':') {
    ++i;
    if (!ReadDigits(t, i, 2, 2, p.second)) return false;
    unit = 1.0 / (24 * 60 * 60);
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
      ++i;
      const std::size_t start = i;
      int ms = 0;
      if (!ReadDigits(t, i, 1, 3, ms)) return false;
      for (std::size_t k = i - start; k < 3; ++k) ms *= 10;
      while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;  // finer digits are dropped
      p.millisecond = ms;
      unit = 1.0 / (24 * 60 * 60 * 1000.0);
    }
  }
  return true;
}

// ISO "yyyy-mm-dd[ hh:mm[:ss[.fff]]]", day-first "dd/mm/yyyy" (also with '.' or '-') with the same
// optional time, or a time alone "hh:mm[:ss]".
std::optional<DateLiteral> ParseDate(std::string_view text) {
  text = Trim(text);
  DateLiteral lit;
  DateParts p;
  std::size_t i = 0;
  int first = 0;
  const std::size_t start = i;
  if (!ReadDigits(text, i, 1, 4, first)) return std::nullopt;
  const std::size_t firstDigits = i - start;
  if (i < text.size() && text[i] == ':') {  // a time of day alone
    i = 0;
    p.year = 1899;
    p.month = 12;
    p.day = 30;
    if (!ReadTime(text, i, p, lit.unit) || i != text.size()) return std::nullopt;
  } else if (firstDigits == 4) {
    p.year = first;
    if (i >= text.size() || text[i++] != '-') return std::nullopt;
    if (!ReadDigits(text, i, 1, 2, p.month) || i >= text.size() || text[i++] != '-') return std::nullopt;
    if (!ReadDigits(text, i, 1, 2, p.day)) return std::nullopt;
  } else {
    if (firstDigits > 2 || i >= text.size()) return std::nullopt;
    const char separator = text[i++];
    if (separator != '/' && separator != '.' && separator != '-') return std::nullopt;
    p.day = first;
    if (!ReadDigits(text, i, 1, 2, p.month) || i >= text.size() || text[i++] != separator) return std::nullopt;
    const std::size_t yearStart = i;
    if (!ReadDigits(text, i, 4, 4, p.year) || i - yearStart != 4) return std::nullopt;
  }
  if (i < text.size()) {
    if (text[i] != ' ' && text[i] != 'T') return std::nullopt;
    while (i < text.size() && (text[i] == ' ' || text[i] == 'T')) ++i;
    if (!ReadTime(text, i, p, lit.unit) || i != text.size()) return std::nullopt;
  }
  const std::optional<double> date = PartsToOleDate(p);
  if (!date) return std::nullopt;
  lit.value = *date;
  return lit;
}

// ---- The compiled tree.

class MatchAll final : public FilterExpression {
 public:
  Truth Evaluate(const RowSource&, std::uint32_t) const override { return Truth::True; }
};

using Node = std::unique_ptr<FilterExpression>;

class AllOf final : public FilterExpression {
 public:
  explicit AllOf(std::vector<Node> parts) : parts_(std::move(parts)) {}
  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    Truth result = Truth::True;
    for (const Node& p : parts_) {
      const Truth t = p->Evaluate(source, row);
      if (t == Truth::False) return Truth::False;
      if (t == Truth::Unknown) result = Truth::Unknown;
    }
    return result;
  }

 private:
  std::vector<Node> parts_;
};

class AnyOf final : public FilterExpression {
 public:
  explicit AnyOf(std::vector<Node> parts) : parts_(std::move(parts)) {}
  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    Truth result = Truth::False;
    for (const Node& p : parts_) {
      const Truth t = p->Evaluate(source, row);
      if (t == Truth::True) return Truth::True;
      if (t == Truth::Unknown) result = Truth::Unknown;
    }
    return result;
  }

 private:
  std::vector<Node> parts_;
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
      const std::optional<bool> parsed = ParseBool(v.s);
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
  DateTest(int column, Op op, const DateLiteral& lit) : column_(column), op_(op) {
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

class TextTest final : public FilterExpression {
 public:
  TextTest(int column, Op op, std::string value, bool padded)
      : column_(column), op_(op), value_(std::move(value)), padded_(padded) {
    if (padded_) value_.resize(TrimRight(value_).size());
  }

  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    const ValueView v = source.Get(row, column_);
    if (v.IsNull()) return Truth::Unknown;
    char buffer[64];
    std::optional<std::string_view> text = RowText(v, buffer);
    if (!text) return Incomparable(op_);
    return Holds(op_, CompareFolded(padded_ ? TrimRight(*text) : *text, value_));
  }

 private:
  int column_;
  Op op_;
  std::string value_;
  bool padded_;
};

// LIKE with '%' or '*' standing for any run of characters, anywhere in the pattern; matching
// ignores case. The pattern is folded once; the row's text is folded byte by byte as it is read.
class LikeTest final : public FilterExpression {
 public:
  LikeTest(int column, std::string_view pattern, bool negate, bool padded)
      : column_(column), negate_(negate), padded_(padded) {
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

  Truth Evaluate(const RowSource& source, std::uint32_t row) const override {
    const ValueView v = source.Get(row, column_);
    if (v.IsNull()) return Truth::Unknown;
    char buffer[64];
    std::optional<std::string_view> text = RowText(v, buffer);
    if (!text) return Known(negate_);
    return Known(Match(padded_ ? TrimRight(*text) : *text) != negate_);
  }

 private:
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

  int column_;
  bool negate_;
  bool padded_;
  std::string folded_;
  std::vector<Segment> segments_;
  bool anchoredStart_ = true;
  bool anchoredEnd_ = true;
};

// ---- Lexer and parser.

enum class Tok { End, LParen, RParen, Op, Word, Name, String, Date };

struct Token {
  Tok kind = Tok::End;
  std::size_t start = 0;
  std::size_t end = 0;
  std::string text;  // words and operators as written; names, strings and dates unquoted
};

class Parser {
 public:
  Parser(std::string_view text, const std::vector<CriteriaColumn>& columns) : text_(text), columns_(columns) {}

  Node Parse() {
    Node e = ParseOr();
    const Token t = Lex();
    if (t.kind == Tok::RParen) Fail("')' without '('" + At(t.start));
    if (t.kind != Tok::End) Fail("unexpected " + Quoted(Source(t)) + At(t.start));
    return e;
  }

 private:
  static constexpr int kMaxDepth = 100;

  std::string_view Source(const Token& t) const { return text_.substr(t.start, t.end - t.start); }

  static bool IsWordChar(char c) {
    switch (c) {
      case '(':
      case ')':
      case '\'':
      case '"':
      case '#':
      case '[':
      case ']':
      case '=':
      case '<':
      case '>':
      case '!':
        return false;
      default:
        return !IsBlank(c);
    }
  }

  // Text up to the closing `close`, in which a doubled `close` stands for one.
  std::string Enclosed(std::size_t open, char close, const char* what) {
    std::string out;
    std::size_t i = open + 1;
    for (;;) {
      if (i >= text_.size()) Fail(std::string("missing closing ") + what + At(open));
      if (text_[i] == close) {
        if (close != '#' && i + 1 < text_.size() && text_[i + 1] == close) {
          out.push_back(close);
          i += 2;
          continue;
        }
        pos_ = i + 1;
        return out;
      }
      out.push_back(text_[i++]);
    }
  }

  Token Lex() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    Token t;
    t.start = pos_;
    if (pos_ >= text_.size()) {
      t.end = pos_;
      return t;
    }
    const char c = text_[pos_];
    if (c == '(' || c == ')') {
      t.kind = c == '(' ? Tok::LParen : Tok::RParen;
      ++pos_;
    } else if (c == '\'' || c == '"') {
      t.kind = Tok::String;
      t.text = Enclosed(pos_, c, "quote of the text");
    } else if (c == '#') {
      t.kind = Tok::Date;
      t.text = Enclosed(pos_, '#', "'#' of the date");
    } else if (c == '[') {
      t.kind = Tok::Name;
      t.text = Enclosed(pos_, ']', "']' of the field name");
    } else if (c == ']') {
      Fail("']' without '['" + At(pos_));
    } else if (c == '=' || c == '<' || c == '>' || c == '!') {
      t.kind = Tok::Op;
      std::size_t n = 1;
      if (pos_ + 1 < text_.size()) {
        const char d = text_[pos_ + 1];
        if ((c == '<' && (d == '>' || d == '=')) || (c == '>' && d == '=') || (c == '!' && d == '=')) n = 2;
      }
      if (c == '!' && n == 1) Fail("unexpected '!'" + At(pos_));
      t.text = std::string(text_.substr(pos_, n));
      pos_ += n;
    } else {
      t.kind = Tok::Word;
      while (pos_ < text_.size() && IsWordChar(text_[pos_])) ++pos_;
      t.text = std::string(text_.substr(t.start, pos_ - t.start));
    }
    t.end = pos_;
    return t;
  }

  Token Peek() {
    const std::size_t saved = pos_;
    Token t = Lex();
    pos_ = saved;
    return t;
  }

  bool PeekKeyword(std::string_view keyword) {
    const Token t = Peek();
    return t.kind == Tok::Word && EqualsKeyword(t.text, keyword);
  }

  static bool IsReserved(std::string_view word) {
    return EqualsKeyword(word, "AND") || EqualsKeyword(word, "OR") || EqualsKeyword(word, "NOT") ||
           EqualsKeyword(word, "LIKE") || EqualsKeyword(word, "IS");
  }

  Node ParseOr() {
    std::vector<Node> parts;
    parts.push_back(ParseAnd());
    while (PeekKeyword("OR")) {
      Lex();
      parts.push_back(ParseAnd());
    }
    if (parts.size() == 1) return std::move(parts.front());
    return std::make_unique<AnyOf>(std::move(parts));
  }

  Node ParseAnd() {
    std::vector<Node> parts;
    parts.push_back(ParseUnary());
    while (PeekKeyword("AND")) {
      Lex();
      parts.push_back(ParseUnary());
    }
    if (parts.size() == 1) return std::move(parts.front());
    return std::make_unique<AllOf>(std::move(parts));
  }

  Node ParseUnary() {
    if (++depth_ > kMaxDepth) Fail("nested too deeply" + At(pos_));
    Node result;
    const Token t = Peek();
    if (t.kind == Tok::Word && EqualsKeyword(t.text, "NOT")) {
      Lex();
      result = std::make_unique<Not>(ParseUnary());
    } else if (t.kind == Tok::LParen) {
      Lex();
      result = ParseOr();
      const Token close = Lex();
      if (close.kind != Tok::RParen) Fail("missing ')' for the '('" + At(t.start));
    } else {
      result = ParseClause();
    }
    --depth_;
    return result;
  }

  Node ParseClause() {
    const Token field = Lex();
    if (field.kind == Tok::End) Fail(field.start == 0 ? "missing condition" : "missing condition at the end");
    if (field.kind != Tok::Word && field.kind != Tok::Name)
      Fail("expected a field name, found " + Quoted(Source(field)) + At(field.start));
    if (field.kind == Tok::Word && IsReserved(field.text))
      Fail("expected a field name, found " + Quoted(field.text) + At(field.start));
    const int column = FindCriteriaColumn(field.text, columns_);
    if (column < 0) Fail("unknown field " + Quoted(field.text));
    const CriteriaColumn& col = columns_[static_cast<std::size_t>(column)];

    const Token t = Lex();
    if (t.kind == Tok::Word && EqualsKeyword(t.text, "IS")) {
      bool negate = false;
      Token n = Lex();
      if (n.kind == Tok::Word && EqualsKeyword(n.text, "NOT")) {
        negate = true;
        n = Lex();
      }
      if (n.kind != Tok::Word || !EqualsKeyword(n.text, "NULL")) Fail("expected NULL after IS" + At(n.start));
      return std::make_unique<NullTest>(column, !negate);
    }
    bool negateLike = false;
    Token like = t;
    if (t.kind == Tok::Word && EqualsKeyword(t.text, "NOT")) {
      like = Lex();
      if (like.kind != Tok::Word || !EqualsKeyword(like.text, "LIKE")) Fail("expected LIKE after NOT" + At(like.start));
      negateLike = true;
    }
    if (like.kind == Tok::Word && EqualsKeyword(like.text, "LIKE")) {
      const Token value = Value(like);
      const Category category = CategoryOf(col.adoType);
      if (category != Category::Text && category != Category::Binary && category != Category::Other)
        Fail("LIKE needs a text field, and " + Quoted(col.name) + " is not one");
      if (value.kind == Tok::Word && EqualsKeyword(value.text, "NULL")) Fail("LIKE cannot compare with NULL");
      return std::make_unique<LikeTest>(column, value.text, negateLike, IsPadded(col.adoType));
    }
    if (t.kind != Tok::Op) Fail("expected an operator after field " + Quoted(field.text) + At(t.start));
    Op op = Op::Eq;
    if (t.text == "<>" || t.text == "!=")
      op = Op::Ne;
    else if (t.text == "<")
      op = Op::Lt;
    else if (t.text == ">")
      op = Op::Gt;
    else if (t.text == "<=")
      op = Op::Le;
    else if (t.text == ">=")
      op = Op::Ge;
    const Token value = Value(t);
    if (value.kind == Tok::Word && EqualsKeyword(value.text, "NULL")) {
      if (op != Op::Eq && op != Op::Ne) Fail("NULL can only be compared with = or <>" + At(value.start));
      return std::make_unique<NullTest>(column, op == Op::Eq);
    }
    return Comparison(column, op, value);
  }

  Token Value(const Token& after) {
    Token value = Lex();
    if (value.kind == Tok::String || value.kind == Tok::Date) return value;
    if (value.kind == Tok::Word && !IsReserved(value.text)) return value;
    Fail("missing value after " + Quoted(after.text) + At(value.start));
  }

  [[noreturn]] void CannotConvert(const Token& value, const CriteriaColumn& col, const char* what) {
    Fail("cannot convert " + Quoted(value.text) + " to " + what + " for field " + Quoted(col.name));
  }

  Node Comparison(int column, Op op, const Token& value) {
    const CriteriaColumn& col = columns_[static_cast<std::size_t>(column)];
    Category category = CategoryOf(col.adoType);
    if (category == Category::Other) {  // a column of unknown type compares as the value is written
      if (value.kind == Tok::Date)
        category = Category::Date;
      else if (value.kind == Tok::String)
        category = Category::Text;
      else if (ParseNumber(value.text))
        category = Category::Numeric;
      else if (ParseBool(value.text))
        category = Category::Bool;
      else
        category = Category::Text;
    }
    switch (category) {
      case Category::Integer:
      case Category::Numeric: {
        if (value.kind == Tok::Date) CannotConvert(value, col, "a number");
        const std::optional<Decimal> number = ParseNumber(value.text);
        if (!number) CannotConvert(value, col, "a number");
        return std::make_unique<NumberTest>(column, op, *number);
      }
      case Category::Bool: {
        const std::optional<bool> b = value.kind == Tok::Date ? std::nullopt : ParseBool(value.text);
        if (!b) CannotConvert(value, col, "a boolean");
        return std::make_unique<BoolTest>(column, op, *b);
      }
      case Category::Date: {
        const std::optional<DateLiteral> date = ParseDate(value.text);
        if (!date) CannotConvert(value, col, "a date");
        return std::make_unique<DateTest>(column, op, *date);
      }
      default:
        return std::make_unique<TextTest>(column, op, value.text, IsPadded(col.adoType));
    }
  }

  std::string_view text_;
  const std::vector<CriteriaColumn>& columns_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

std::unique_ptr<FilterExpression> CompileFilter(std::string_view criteria, const std::vector<CriteriaColumn>& columns) {
  if (Trim(criteria).empty()) return std::make_unique<MatchAll>();
  return Parser(criteria, columns).Parse();
}

}  // namespace ado
