#include "data/ado/SortCriteria.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <deque>
#include <optional>
#include <string>

#include "data/ado/ComError.h"
#include "data/ado/UserCollation.h"
#include "text/CaseFold.h"
#include "text/TextUtil.h"

namespace ado {

namespace {

int CompareRaw(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  if (n != 0) {
    if (int c = std::memcmp(a.data(), b.data(), n)) return c < 0 ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// ---- Values reduced to what comparing needs.

enum Rank : std::uint8_t { kNull = 0, kBool, kNumber, kDate, kText, kBytes, kOther };
enum NumKind : std::uint8_t { kInt, kUInt, kDouble, kCurrency, kDec };

struct Cell {
  Rank rank = kNull;
  NumKind num = kInt;
  // Numbers: the correctly rounded double of the exact value (equal values give equal doubles,
  // so the double orders first and the exact value only breaks its ties). Dates: the
  // chronological value.
  double approx = 0;
  union {
    std::int64_t i;
    std::uint64_t u;
    double d;
    const Decimal* dec;
    bool b;
  } v{};
  std::string_view s;
  // Texts only: `s` is a collation key (AppendCollationKey), which orders byte by byte.
  bool collated = false;
};

double ApproxScaled(unsigned __int128 magnitude, int scale, bool negative) {
  char buffer[64];
  char* end = buffer + sizeof buffer;
  char* p = end;
  char exponent[8];
  auto [expEnd, ec] = std::to_chars(exponent, exponent + sizeof exponent, -scale);
  (void)ec;
  for (char* e = expEnd; e != exponent;) *--p = *--e;
  *--p = 'e';
  do {
    *--p = static_cast<char>('0' + static_cast<int>(magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) *--p = '-';
  double d = 0;
  std::from_chars(p, end, d);
  return d;
}

unsigned __int128 Magnitude(std::int64_t v) {
  return v < 0 ? static_cast<unsigned __int128>(-(v + 1)) + 1 : static_cast<unsigned __int128>(v);
}

Cell MakeCell(const ValueView& x, const Decimal* dec) {
  Cell c;
  switch (x.vt) {
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_INT:
      c.rank = kNumber;
      c.num = kInt;
      c.v.i = x.i;
      c.approx = static_cast<double>(x.i);
      break;
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_UINT:
      c.rank = kNumber;
      c.num = kUInt;
      c.v.u = x.u;
      c.approx = static_cast<double>(x.u);
      break;
    case VT_R4:
    case VT_R8:
      c.rank = kNumber;
      c.num = kDouble;
      c.v.d = x.d;
      c.approx = x.d;
      break;
    case VT_CY:
      c.rank = kNumber;
      c.num = kCurrency;
      c.v.i = x.i;
      c.approx = ApproxScaled(Magnitude(x.i), 4, x.i < 0);
      break;
    case VT_DECIMAL:
      c.rank = kNumber;
      c.num = kDec;
      c.v.dec = dec;
      c.approx = ApproxScaled(dec->magnitude, dec->scale, dec->negative && dec->magnitude != 0);
      break;
    case VT_DATE:
      c.rank = kDate;
      c.approx = ChronologicalDate(x.d);
      break;
    case VT_BOOL:
      c.rank = kBool;
      c.v.b = x.b;
      break;
    case VT_BSTR:
      c.rank = kText;
      c.s = x.s;
      break;
    case VT_ARRAY | VT_UI1:
      c.rank = kBytes;
      c.s = x.s;
      break;
    case VT_EMPTY:
    case VT_NULL:
      break;
    default:
      c.rank = kOther;
      break;
  }
  return c;
}

// An unsigned integer that orders as the double does; NaN lowest, -0 as 0.
std::uint64_t OrderBits(double x) {
  if (std::isnan(x)) return 0;
  if (x == 0) x = 0.0;
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const std::uint64_t sign = std::uint64_t{1} << 63;
  return (bits & sign) ? ~bits : (bits | sign);
}

std::optional<Decimal> ExactValue(const Cell& c) {
  switch (c.num) {
    case kInt:
      return Decimal::FromInt64(c.v.i);
    case kUInt:
      return Decimal::FromUInt64(c.v.u);
    case kCurrency: {
      Decimal d;
      d.magnitude = Magnitude(c.v.i);
      d.scale = 4;
      d.negative = c.v.i < 0;
      return d;
    }
    case kDouble:
      return Decimal::FromDouble(c.v.d);
    case kDec:
      return *c.v.dec;
  }
  return std::nullopt;
}

// Integers and currency as ten-thousandths, exactly.
__int128 Scaled(const Cell& c) {
  switch (c.num) {
    case kInt:
      return static_cast<__int128>(c.v.i) * 10000;
    case kUInt:
      return static_cast<__int128>(c.v.u) * 10000;
    default:
      return c.v.i;
  }
}

int CompareNumbers(const Cell& a, const Cell& b) {
  const std::uint64_t oa = OrderBits(a.approx), ob = OrderBits(b.approx);
  if (oa != ob) return oa < ob ? -1 : 1;
  auto integral = [](NumKind k) { return k == kInt || k == kUInt || k == kCurrency; };
  if (integral(a.num) && integral(b.num)) {
    const __int128 x = Scaled(a), y = Scaled(b);
    return x == y ? 0 : (x < y ? -1 : 1);
  }
  if (a.num == kDouble && b.num == kDouble) return 0;
  // Same double, different kinds: the exact values decide (a double counts as its shortest
  // decimal text, which is what the user sees).
  const std::optional<Decimal> x = ExactValue(a), y = ExactValue(b);
  if (!x || !y) return 0;
  return x->Compare(*y);
}

int CompareCells(const Cell& a, const Cell& b) {
  if (a.rank != b.rank) return a.rank < b.rank ? -1 : 1;
  switch (a.rank) {
    case kBool:
      return a.v.b == b.v.b ? 0 : (a.v.b ? 1 : -1);
    case kNumber:
      return CompareNumbers(a, b);
    case kDate: {
      const std::uint64_t oa = OrderBits(a.approx), ob = OrderBits(b.approx);
      return oa == ob ? 0 : (oa < ob ? -1 : 1);
    }
    case kText:
      if (a.collated) return CompareRaw(a.s, b.s);
      if (int c = CompareFolded(a.s, b.s)) return c;
      return CompareRaw(a.s, b.s);
    case kBytes:
      return CompareRaw(a.s, b.s);
    default:
      return 0;
  }
}

// ---- Sorting: items carry a 64-bit key (rank in the top byte, then the first bytes of the
// folded text or the double's order bits) so that most comparisons are integer compares on a
// compact array; runs of equal keys are refined with the next bytes of text, then with the
// exact comparison, then by the next sort key. Every pass breaks ties by position (stability).

constexpr int kBytesPerWord = 7;
constexpr int kBytesPerLevel = 2 * kBytesPerWord;
constexpr int kMaxLevel = 24;

struct Key {
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  bool operator==(const Key&) const = default;
  bool operator<(const Key& o) const { return high < o.high || (high == o.high && low < o.low); }
};

struct Item {
  Key key;
  std::uint32_t pos;
};

std::uint64_t TextWord(std::string_view s, std::size_t start, bool fold) {
  std::uint64_t word = 0;
  const unsigned char* p = casefold::FoldBytes(s);
  for (int j = 0; j < kBytesPerWord; ++j) {
    const std::size_t i = start + static_cast<std::size_t>(j);
    const unsigned b = i < s.size() ? (fold ? casefold::FoldByteAt(p, s.size(), i) : p[i]) : 0u;
    word = (word << 8) | b;
  }
  return word;
}

// `raw`: the bytes of the text as they are, for texts whose folded forms are all equal.
Key KeyAt(const Cell& c, int level, bool raw) {
  const std::uint64_t rank = static_cast<std::uint64_t>(c.rank) << 56;
  const std::size_t start = static_cast<std::size_t>(level) * kBytesPerLevel;
  switch (c.rank) {
    case kBool:
      return {rank | (c.v.b ? 1u : 0u), 0};
    case kNumber:
    case kDate:
      return {rank | (OrderBits(c.approx) >> 8), OrderBits(c.approx) & 0xFF};
    case kText:
    case kBytes: {
      const bool fold = c.rank == kText && !raw && !c.collated;
      if (start >= c.s.size()) return {rank, 0};
      return {rank | TextWord(c.s, start, fold), TextWord(c.s, start + kBytesPerWord, fold)};
    }
    default:
      return {rank, 0};
  }
}

class Sorter {
 public:
  // `collation` null: texts in case-insensitive order; otherwise in that locale's order.
  Sorter(const std::vector<SortKey>& keys, std::size_t rowCount, locale_t collation)
      : keys_(keys), cells_(keys.size()), collationKeys_(keys.size()), collation_(collation) {
    for (auto& column : cells_) column.resize(rowCount);
  }

  void Load(const std::vector<std::uint32_t>& rows, const RowSource& source) {
    for (std::size_t k = 0; k < keys_.size(); ++k) {
      std::vector<Cell>& column = cells_[k];
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const ValueView v = source.Get(rows[i], keys_[k].column);
        const Decimal* dec = nullptr;
        if (v.vt == VT_DECIMAL) dec = &decimals_.emplace_back(v.dec);
        column[i] = MakeCell(v, dec);
      }
      if (collation_) Collate(column, collationKeys_[k]);
    }
  }

  void Sort(Item* first, Item* last, std::size_t k, int level, bool raw = false) {
    const bool descending = keys_[k].descending;
    const std::vector<Cell>& column = cells_[k];
    for (Item* it = first; it != last; ++it) {
      const Key key = KeyAt(column[it->pos], level, raw);
      it->key = descending ? Key{~key.high, ~key.low} : key;
    }
    // Position breaks ties, so a run of equal keys is already in row order (stability).
    std::sort(first, last,
              [](const Item& a, const Item& b) { return a.key < b.key || (a.key == b.key && a.pos < b.pos); });
    for (Item* run = first; run != last;) {
      Item* end = run + 1;
      while (end != last && end->key == run->key) ++end;
      if (end - run > 1) {
        const Cell& c = column[run->pos];
        if ((c.rank == kText || c.rank == kBytes) && level < kMaxLevel && Longer(run, end, column, level))
          Sort(run, end, k, level + 1, raw);
        else if (c.rank == kText && !raw && !c.collated && level < kMaxLevel && SameLength(run, end, column))
          Sort(run, end, k, 0, true);  // equal but for case: the bytes break the tie
        else
          Resolve(run, end, k, KnownEqual(run, end, column, level, raw));
      }
      run = end;
    }
  }

 private:
  // Each text's view replaced by its collation key, all keys made once into one buffer.
  void Collate(std::vector<Cell>& column, std::string& buffer) {
    std::vector<std::size_t> ends(column.size(), 0);
    for (std::size_t i = 0; i < column.size(); ++i) {
      if (column[i].rank != kText) continue;
      AppendCollationKey(collation_, column[i].s, buffer);
      ends[i] = buffer.size();
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < column.size(); ++i) {
      if (column[i].rank != kText) continue;
      column[i].s = std::string_view(buffer).substr(start, ends[i] - start);
      column[i].collated = true;
      start = ends[i];
    }
  }

  // Texts of one length with equal folded keys are equal when folded (with different lengths,
  // zero bytes could pass for the keys' padding).
  static bool SameLength(const Item* first, const Item* last, const std::vector<Cell>& column) {
    const std::size_t size = column[first->pos].s.size();
    for (const Item* it = first + 1; it != last; ++it)
      if (column[it->pos].s.size() != size) return false;
    return true;
  }

  // Whether some text of the run goes on past the bytes the keys have seen.
  static bool Longer(const Item* first, const Item* last, const std::vector<Cell>& column, int level) {
    const std::size_t seen = static_cast<std::size_t>(level + 1) * kBytesPerLevel;
    for (const Item* it = first; it != last; ++it)
      if (column[it->pos].s.size() > seen) return true;
    return false;
  }

  // Whether a run of equal keys holds equal values without comparing them: the keys cover the
  // whole value except for texts read to their end in bytes and for numbers beyond 2^53.
  static bool KnownEqual(const Item* first, const Item* last, const std::vector<Cell>& column, int level, bool raw) {
    switch (column[first->pos].rank) {
      case kText:
      case kBytes:
        return (raw || column[first->pos].rank == kBytes || column[first->pos].collated) &&
               !Longer(first, last, column, level) && SameLength(first, last, column);
      case kNumber:
        for (const Item* it = first; it != last; ++it) {
          const Cell& c = column[it->pos];
          if (c.num != kDouble && !(c.num == kInt && c.v.i >= -(1ll << 53) && c.v.i <= (1ll << 53))) return false;
        }
        return true;
      default:
        return true;
    }
  }

  void Resolve(Item* first, Item* last, std::size_t k, bool knownEqual) {
    const std::vector<Cell>& column = cells_[k];
    const int sign = keys_[k].descending ? -1 : 1;
    auto compare = [&column, sign](const Item& a, const Item& b) {
      return sign * CompareCells(column[a.pos], column[b.pos]);
    };
    bool allEqual = knownEqual;
    if (!allEqual) {
      allEqual = true;
      for (Item* it = first + 1; it != last && allEqual; ++it) allEqual = compare(*first, *it) == 0;
    }
    if (!allEqual) {
      std::sort(first, last, [&compare](const Item& a, const Item& b) {
        const int c = compare(a, b);
        return c < 0 || (c == 0 && a.pos < b.pos);
      });
    }
    for (Item* run = first; run != last;) {
      Item* end = run + 1;
      if (allEqual) {
        end = last;
      } else {
        while (end != last && compare(*run, *end) == 0) ++end;
      }
      if (end - run > 1 && k + 1 < keys_.size()) Sort(run, end, k + 1, 0);
      run = end;
    }
  }

  const std::vector<SortKey>& keys_;
  std::vector<std::vector<Cell>> cells_;
  std::deque<Decimal> decimals_;            // decimals outlive the views they came from
  std::vector<std::string> collationKeys_;  // per sort key, the texts' keys one after another
  locale_t collation_;
};

// ---- Criteria text.

[[noreturn]] void Fail(const std::string& message) {
  throw ComError(adErrInvalidArgument, "Sort criteria: " + message, "ADODB.Recordset");
}

// 1 for ASC, 2 for DESC, 0 otherwise.
int Direction(std::string_view word) {
  if (EqualsKeyword(word, "ASC")) return 1;
  if (EqualsKeyword(word, "DESC")) return 2;
  return 0;
}

std::string Position(std::size_t i) {
  return " at position " + std::to_string(i + 1);
}

int Lookup(std::string_view name, const std::vector<CriteriaColumn>& columns) {
  int column = FindCriteriaColumn(name, columns);
  if (column < 0) Fail("unknown field '" + std::string(name) + "'");
  return column;
}

}  // namespace

int FindCriteriaColumn(std::string_view name, const std::vector<CriteriaColumn>& columns) {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (CompareFolded(columns[i].name, name) == 0) return static_cast<int>(i);
  return -1;
}

double ChronologicalDate(double oleDate) {
  if (!(oleDate < 0)) return oleDate;
  const double day = std::ceil(oleDate);
  return day + (day - oleDate);
}

int CompareValues(const ValueView& a, const ValueView& b) {
  return CompareCells(MakeCell(a, &a.dec), MakeCell(b, &b.dec));
}

void SortRows(std::vector<std::uint32_t>& rows, const std::vector<SortKey>& keys, const RowSource& source) {
  if (keys.empty() || rows.size() < 2) return;
  Sorter sorter(keys, rows.size(), UserCollationLocale());
  sorter.Load(rows, source);
  std::vector<Item> items(rows.size());
  for (std::size_t i = 0; i < items.size(); ++i) items[i] = Item{{}, static_cast<std::uint32_t>(i)};
  sorter.Sort(items.data(), items.data() + items.size(), 0, 0);
  std::vector<std::uint32_t> sorted(rows.size());
  for (std::size_t i = 0; i < items.size(); ++i) sorted[i] = rows[items[i].pos];
  rows.swap(sorted);
}

std::vector<SortKey> ParseSortCriteria(std::string_view criteria, const std::vector<CriteriaColumn>& columns) {
  std::vector<SortKey> keys;
  const std::size_t n = criteria.size();
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < n && IsBlank(criteria[i])) ++i;
  };
  skipBlanks();
  if (i == n) return keys;
  for (;;) {
    skipBlanks();
    if (i == n || criteria[i] == ',') Fail("missing field name" + Position(i));
    SortKey key;
    if (criteria[i] == '[') {
      const std::size_t open = i++;
      std::string name;
      for (;;) {
        if (i == n) Fail("missing ']' after '" + std::string(criteria.substr(open, 40)) + "'");
        if (criteria[i] == ']') {
          if (i + 1 < n && criteria[i + 1] == ']') {
            name.push_back(']');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        name.push_back(criteria[i++]);
      }
      key.column = Lookup(name, columns);
      skipBlanks();
      if (i < n && criteria[i] != ',') {
        const std::size_t start = i;
        while (i < n && !IsBlank(criteria[i]) && criteria[i] != ',') ++i;
        const std::string_view word = criteria.substr(start, i - start);
        const int direction = Direction(word);
        if (direction == 0)
          Fail("expected ASC or DESC after [" + name + "], found '" + std::string(word) + "'" + Position(start));
        key.descending = direction == 2;
        skipBlanks();
        if (i < n && criteria[i] != ',') Fail("unexpected '" + std::string(criteria.substr(i, 40)) + "'" + Position(i));
      }
    } else {
      const std::size_t start = i;
      while (i < n && criteria[i] != ',') ++i;
      std::string_view piece = TrimBlanks(criteria.substr(start, i - start));
      // A bare name may hold blanks, so the direction is the last word when it is one.
      std::size_t blank = piece.size();
      while (blank > 0 && !IsBlank(piece[blank - 1])) --blank;
      if (blank > 0) {
        const int direction = Direction(piece.substr(blank));
        if (direction != 0) {
          key.descending = direction == 2;
          piece = TrimBlanks(piece.substr(0, blank));
        }
      }
      key.column = Lookup(piece, columns);
    }
    keys.push_back(key);
    if (i == n) break;
    ++i;  // the comma
    skipBlanks();
    if (i == n) Fail("missing field name after ','" + Position(i));
  }
  return keys;
}

}  // namespace ado
