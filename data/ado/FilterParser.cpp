#include "data/ado/FilterParser.h"

#include <optional>
#include <string>

#include "data/ado/ComError.h"
#include "data/ado/FilterEvaluation.h"
#include "data/ado/SortCriteria.h"
#include "text/DateScan.h"
#include "text/TextUtil.h"

namespace ado {

namespace {

using Op = FilterOp;
using Node = FilterNode;

// ---- Errors.

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

// ---- Literals, lexer and parser.

// A date of the criteria: ISO, day first or a time alone, standing for the span written.
std::optional<FilterDate> ParseDate(std::string_view text) {
  const std::optional<ScannedDate> scanned = ScanDate(text);
  if (!scanned || scanned->form == DateForm::DayMonth) return std::nullopt;
  FilterDate date;
  date.value = ScannedOleDate(*scanned);
  switch (scanned->precision) {
    case DatePrecision::Day:
      date.unit = 1;
      break;
    case DatePrecision::Minute:
      date.unit = 1.0 / (24 * 60);
      break;
    case DatePrecision::Second:
      date.unit = 1.0 / (24 * 60 * 60);
      break;
    case DatePrecision::Millisecond:
      date.unit = 1.0 / (24 * 60 * 60 * 1000.0);
      break;
  }
  return date;
}

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

  Node ParseOr() { return ParseJoined("OR", &Parser::ParseAnd, AnyOfNode); }
  Node ParseAnd() { return ParseJoined("AND", &Parser::ParseUnary, AllOfNode); }

  // Parts of the next tighter level joined by `keyword`; one part stands alone.
  Node ParseJoined(std::string_view keyword, Node (Parser::*part)(), Node (*join)(std::vector<Node>)) {
    std::vector<Node> parts;
    parts.push_back((this->*part)());
    while (PeekKeyword(keyword)) {
      Lex();
      parts.push_back((this->*part)());
    }
    if (parts.size() == 1) return std::move(parts.front());
    return join(std::move(parts));
  }

  Node ParseUnary() {
    if (++depth_ > kMaxDepth) Fail("nested too deeply" + At(pos_));
    Node result;
    const Token t = Peek();
    if (t.kind == Tok::Word && EqualsKeyword(t.text, "NOT")) {
      Lex();
      result = NotNode(ParseUnary());
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
      return NullTestNode(column, !negate);
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
      return LikeTestNode(column, value.text, negateLike, IsPadded(col.adoType));
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
      return NullTestNode(column, op == Op::Eq);
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
      else if (ParseFilterNumber(value.text))
        category = Category::Numeric;
      else if (ParseFilterBool(value.text))
        category = Category::Bool;
      else
        category = Category::Text;
    }
    switch (category) {
      case Category::Integer:
      case Category::Numeric: {
        if (value.kind == Tok::Date) CannotConvert(value, col, "a number");
        const std::optional<Decimal> number = ParseFilterNumber(value.text);
        if (!number) CannotConvert(value, col, "a number");
        return NumberTestNode(column, op, *number);
      }
      case Category::Bool: {
        const std::optional<bool> b = value.kind == Tok::Date ? std::nullopt : ParseFilterBool(value.text);
        if (!b) CannotConvert(value, col, "a boolean");
        return BoolTestNode(column, op, *b);
      }
      case Category::Date: {
        const std::optional<FilterDate> date = ParseDate(value.text);
        if (!date) CannotConvert(value, col, "a date");
        return DateTestNode(column, op, *date);
      }
      default:
        return TextTestNode(column, op, value.text, IsPadded(col.adoType));
    }
  }

  std::string_view text_;
  const std::vector<CriteriaColumn>& columns_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

std::unique_ptr<FilterExpression> CompileFilter(std::string_view criteria, const std::vector<CriteriaColumn>& columns) {
  if (TrimBlanks(criteria).empty()) return MatchAllRows();
  return Parser(criteria, columns).Parse();
}

}  // namespace ado
