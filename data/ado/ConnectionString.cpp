#include "data/ado/ConnectionString.h"

#include "data/ado/ComError.h"
#include "text/CaseFold.h"
#include "text/TextUtil.h"

namespace ado {

namespace {

// Keys compare as names do: blanks around ignored, case folded.
bool SameKey(std::string_view a, std::string_view b) {
  return EqualsFolded(TrimBlanks(a), TrimBlanks(b));
}

bool EndsWithKey(std::string_view key, std::string_view suffix) {
  key = TrimBlanks(key);
  return key.size() >= suffix.size() && SameKey(key.substr(key.size() - suffix.size()), suffix);
}

}  // namespace

// PWD, Password and the keys that end in them ("Jet OLEDB:Database Password").
bool IsPasswordKey(std::string_view key) {
  return EndsWithKey(key, "pwd") || EndsWithKey(key, "password");
}

namespace {

[[noreturn]] void Fail(const std::string& message, std::size_t position) {
  throw ComError(E_FAIL, "Connection string: " + message + " at position " + std::to_string(position + 1),
                 "ConnectionString");
}

// The scanner both the parser and the masker use, so that both see the same attributes.
struct Segment {
  std::size_t keyStart = 0;
  std::size_t keyEnd = 0;  // the '=' (or where the segment ended without one)
  bool hasValue = false;   // an '=' was found
  std::size_t valueStart = 0;
  std::size_t valueEnd = 0;   // the ';' or the end of the text
  std::string key;            // "==" read as '='
  std::string value;          // unquoted
  bool unterminated = false;  // a quote or brace that never closed
  bool trailingText = false;  // text after a closing quote
  char quote = 0;
};

// Reads the segment starting at `i` (not at a ';'); returns where the next one starts.
std::size_t Scan(std::string_view text, std::size_t i, Segment& seg) {
  const std::size_t n = text.size();
  seg.keyStart = i;
  while (i < n && text[i] != ';') {
    if (text[i] == '=') {
      if (i + 1 < n && text[i + 1] == '=') {
        seg.key.push_back('=');
        i += 2;
        continue;
      }
      break;
    }
    seg.key.push_back(text[i++]);
  }
  seg.keyEnd = i;
  if (i >= n || text[i] == ';') {
    seg.valueStart = seg.valueEnd = i;
    return i < n ? i + 1 : i;
  }
  seg.hasValue = true;
  ++i;  // the '='
  while (i < n && IsBlank(text[i]) && text[i] != ';') ++i;
  seg.valueStart = i;
  if (i < n && (text[i] == '\'' || text[i] == '"' || text[i] == '{')) {
    seg.quote = text[i];
    const char close = text[i] == '{' ? '}' : text[i];
    ++i;
    for (;;) {
      if (i >= n) {
        seg.unterminated = true;
        seg.valueEnd = n;
        return n;
      }
      if (text[i] == close) {
        if (i + 1 < n && text[i + 1] == close) {
          seg.value.push_back(close);
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      seg.value.push_back(text[i++]);
    }
    while (i < n && text[i] != ';') {
      if (!IsBlank(text[i])) seg.trailingText = true;
      ++i;
    }
  } else {
    const std::size_t start = i;
    while (i < n && text[i] != ';') ++i;
    seg.value = std::string(TrimBlanks(text.substr(start, i - start)));
  }
  seg.valueEnd = i;
  return i < n ? i + 1 : i;
}

bool NeedsQuotes(std::string_view value) {
  if (value.empty()) return false;
  if (IsBlank(value.front()) || IsBlank(value.back())) return true;
  // A leading '=' would be read as "==" (an '=' of the keyword) right after the separator.
  if (value.front() == '\'' || value.front() == '"' || value.front() == '{' || value.front() == '=') return true;
  return value.find(';') != std::string_view::npos;
}

std::string Doubled(std::string_view value, char c) {
  std::string out;
  for (char ch : value) {
    out.push_back(ch);
    if (ch == c) out.push_back(c);
  }
  return out;
}

std::string KeyText(std::string_view key) {
  return Doubled(key, '=');
}

}  // namespace

ConnectionString ConnectionString::Parse(std::string_view text) {
  ConnectionString result;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i >= text.size()) break;
    if (text[i] == ';') {
      ++i;
      continue;
    }
    Segment seg;
    const std::size_t next = Scan(text, i, seg);
    const std::string_view key = TrimBlanks(seg.key);
    if (!seg.hasValue) Fail("keyword '" + std::string(key.substr(0, 60)) + "' without '='", seg.keyStart);
    if (key.empty()) Fail("empty keyword", seg.keyStart);
    if (seg.unterminated)
      Fail(seg.quote == '{'
               ? "missing '}' of the value of '" + std::string(key) + "'"
               : std::string("missing closing ") + seg.quote + " of the value of '" + std::string(key) + "'",
           seg.valueStart);
    if (seg.trailingText)
      Fail("text after the closing quote of the value of '" + std::string(key) + "'", seg.valueStart);
    result.Set(std::string(key), seg.value);
    i = next;
  }
  return result;
}

std::optional<std::string> ConnectionString::Get(std::string_view key) const {
  for (const Attribute& a : attributes_)
    if (SameKey(a.key, key)) return a.value;
  return std::nullopt;
}

void ConnectionString::Set(const std::string& key, const std::string& value) {
  const std::string_view trimmed = TrimBlanks(key);
  if (trimmed.empty() || trimmed.find(';') != std::string_view::npos)
    throw ComError(E_INVALIDARG, "Connection string: invalid keyword '" + key + "'", "ConnectionString");
  for (Attribute& a : attributes_) {
    if (SameKey(a.key, trimmed)) {
      a.value = value;
      return;
    }
  }
  attributes_.push_back(Attribute{std::string(trimmed), value});
}

void ConnectionString::Remove(std::string_view key) {
  std::erase_if(attributes_, [key](const Attribute& a) { return SameKey(a.key, key); });
}

std::string ConnectionString::ToString() const {
  std::string out;
  for (const Attribute& a : attributes_) {
    if (!out.empty()) out.push_back(';');
    out += KeyText(a.key);
    out.push_back('=');
    if (!NeedsQuotes(a.value)) {
      out += a.value;
    } else if (a.value.find('"') == std::string::npos) {
      out += '"' + a.value + '"';
    } else if (a.value.find('\'') == std::string::npos) {
      out += '\'' + a.value + '\'';
    } else {
      out += '"' + Doubled(a.value, '"') + '"';
    }
  }
  return out;
}

std::string ConnectionString::ToOdbcString() const {
  std::string out;
  for (const Attribute& a : attributes_) {
    if (!out.empty()) out.push_back(';');
    out += KeyText(a.key);
    out.push_back('=');
    // Drivers read braces, not quotes; the driver name is braced by custom.
    const bool brace = NeedsQuotes(a.value) || a.value.find_first_of("{}") != std::string::npos ||
                       (SameKey(a.key, "DRIVER") && !a.value.empty());
    if (brace)
      out += '{' + Doubled(a.value, '}') + '}';
    else
      out += a.value;
  }
  return out;
}

namespace {

// The text with the value of each password attribute rewritten: rewrite(segment) gives the new
// value, or nothing to keep the attribute as it stands. What follows the value (a closing quote,
// stray text after it) is kept.
template <typename Rewrite>
std::string RewritePasswordValues(std::string_view text, const Rewrite& rewrite) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    Segment seg;
    const std::size_t next = Scan(text, i, seg);
    std::optional<std::string> replacement;
    if (seg.hasValue && IsPasswordKey(seg.key)) replacement = rewrite(seg);
    if (replacement) {
      out.append(text.substr(i, seg.valueStart - i));
      out += *replacement;
      out.append(text.substr(seg.valueEnd, next - seg.valueEnd));
    } else {
      out.append(text.substr(i, next - i));
    }
    i = next;
  }
  return out;
}

}  // namespace

std::string MaskPasswords(std::string_view text) {
  // The whole value goes, quotes, stray text after them and an unclosed rest included.
  return RewritePasswordValues(text, [](const Segment& seg) -> std::optional<std::string> {
    return seg.valueEnd > seg.valueStart ? std::string("***") : std::string();
  });
}

std::string ReplacePasswords(
    std::string_view text,
    const std::function<std::optional<std::string>(const std::string& key, const std::string& value)>& replace) {
  return RewritePasswordValues(
      text, [&](const Segment& seg) { return replace(std::string(TrimBlanks(seg.key)), seg.value); });
}

}  // namespace ado
