#include "text/TextUtil.h"

#include <cstdint>
#include <cstring>

#include "text/CaseFold.h"

std::string TrimLeft(const std::string& text, const std::string& set) {
  const std::size_t first = text.find_first_not_of(set);
  return first == std::string::npos ? std::string() : text.substr(first);
}

std::string TrimRight(const std::string& text, const std::string& set) {
  const std::size_t last = text.find_last_not_of(set);
  return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

std::string Trim(const std::string& text, const std::string& set) {
  return TrimRight(TrimLeft(text, set), set);
}

void SplitTrimmed(const std::string& text, char separator, std::vector<std::string>& out) {
  out.clear();
  std::size_t start = 0;
  for (std::size_t end = text.find(separator); end != std::string::npos; end = text.find(separator, start)) {
    out.push_back(Trim(text.substr(start, end - start)));
    start = end + 1;
  }
  std::string last = Trim(text.substr(start));
  if (!last.empty()) out.push_back(std::move(last));
}

void SplitTokens(const std::string& text, const std::string& delimiters, std::vector<std::string>& out) {
  std::size_t start = text.find_first_not_of(delimiters);
  while (start != std::string::npos) {
    const std::size_t end = text.find_first_of(delimiters, start);
    out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? end : text.find_first_not_of(delimiters, end);
  }
}

std::string ToLower(const std::string& text) {
  return FoldCase(text);
}

int CompareNoCase(const std::string& a, const std::string& b) {
  return CompareFolded(a, b);
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsKeyword(std::string_view word, std::string_view keyword) {
  return EqualsFolded(word, keyword);
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
  if (what.empty()) return;
  for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + with.size()))
    text.replace(pos, what.size(), with);
}

std::string DoubleSingleQuotes(const std::string& text) {
  std::string result = text;
  ReplaceAll(result, "'", "''");
  return result;
}

bool IsUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  std::size_t i = 0;
  // Most texts are mostly ASCII: eight bytes at a time while no byte has its high bit.
  for (std::uint64_t word = 0; i + 8 <= n; i += 8) {
    std::memcpy(&word, p + i, 8);
    if (word & 0x8080808080808080ULL) break;
  }
  while (i < n) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) low = 0xA0;
      if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (n - i <= extra) return false;
    if (p[i + 1] < low || p[i + 1] > high) return false;
    for (std::size_t k = 2; k <= extra; ++k)
      if ((p[i + k] & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}
