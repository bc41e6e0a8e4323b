#include "text/TextUtil.h"

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
