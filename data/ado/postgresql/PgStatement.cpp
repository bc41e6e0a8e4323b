#include "data/ado/postgresql/PgStatement.h"

#include <cctype>

namespace ado::postgresql {
namespace {

bool IsIdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

// The end of the quoted, commented or dollar-quoted run that starts at `at`, or `at` itself when
// none starts there.
std::size_t SkipRun(std::string_view sql, std::size_t at) {
  const char c = sql[at];
  const std::size_t n = sql.size();
  if (c == '\'' || c == '"') {
    // E'...' strings take backslash escapes; the rest double their quote.
    const bool escapes =
        c == '\'' && at > 0 && (sql[at - 1] == 'E' || sql[at - 1] == 'e') && (at < 2 || !IsIdentifierChar(sql[at - 2]));
    std::size_t i = at + 1;
    while (i < n) {
      if (escapes && sql[i] == '\\') {
        i += 2;
        continue;
      }
      if (sql[i] == c) {
        if (i + 1 < n && sql[i + 1] == c) {
          i += 2;
          continue;
        }
        return i + 1;
      }
      ++i;
    }
    return n;
  }
  if (c == '-' && at + 1 < n && sql[at + 1] == '-') {
    std::size_t end = sql.find('\n', at);
    return end == std::string_view::npos ? n : end + 1;
  }
  if (c == '/' && at + 1 < n && sql[at + 1] == '*') {
    int depth = 0;
    std::size_t i = at;
    while (i + 1 < n) {
      if (sql[i] == '/' && sql[i + 1] == '*') {
        ++depth;
        i += 2;
      } else if (sql[i] == '*' && sql[i + 1] == '/') {
        i += 2;
        if (--depth == 0) return i;
      } else {
        ++i;
      }
    }
    return n;
  }
  if (c == '$' && (at == 0 || !IsIdentifierChar(sql[at - 1]))) {
    std::size_t close = at + 1;
    while (close < n && sql[close] != '$' && IsIdentifierChar(sql[close]) &&
           !(close == at + 1 && std::isdigit(static_cast<unsigned char>(sql[close]))))
      ++close;
    if (close < n && sql[close] == '$') {
      const std::string_view tag = sql.substr(at, close - at + 1);
      const std::size_t end = sql.find(tag, close + 1);
      return end == std::string_view::npos ? n : end + tag.size();
    }
  }
  return at;
}

}  // namespace

std::string NumberPlaceholders(std::string_view sql, int& count) {
  std::string out;
  out.reserve(sql.size() + 16);
  count = 0;
  for (std::size_t i = 0; i < sql.size();) {
    const std::size_t end = SkipRun(sql, i);
    if (end != i) {
      out.append(sql.substr(i, end - i));
      i = end;
    } else if (sql[i] == '?') {
      out += '$' + std::to_string(++count);
      ++i;
    } else {
      out += sql[i++];
    }
  }
  return out;
}

bool HoldsSeveralStatements(std::string_view sql) {
  bool ended = false;
  for (std::size_t i = 0; i < sql.size();) {
    const std::size_t end = SkipRun(sql, i);
    const bool comment = end != i && (sql[i] == '-' || sql[i] == '/');
    if (end != i) {
      if (ended && !comment) return true;
      i = end;
      continue;
    }
    const char c = sql[i++];
    if (c == ';')
      ended = true;
    else if (ended && !std::isspace(static_cast<unsigned char>(c)))
      return true;
  }
  return false;
}

}  // namespace ado::postgresql
