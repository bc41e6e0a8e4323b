// FormatQuery on any text: no crash, no hang; formatting twice equals once unless a line of the
// result forms a new pasted-trace prefix; and when the input had no such prefix, only white space
// changed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "workspace/QueryFormatter.h"

namespace {
bool HasTracePrefixLine(const std::string& text) {
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (TracePrefixCleaned(line) != line) return true;
    if (end == std::string::npos) return false;
    start = end + 1;
  }
}

std::string WithoutWhiteSpace(const std::string& text) {
  std::string kept;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') kept += c;
  return kept;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<std::string> kSplitWords =
      ParseSplitWords("SELECT|FROM|LEFT|INNER|RIGHT|WHERE|ORDER|LIMIT|GROUP|HAVING||'x'|[a]|--");
  std::string text(reinterpret_cast<const char*>(data), size);

  std::string once = FormatQuery(text, kSplitWords);
  std::string twice = FormatQuery(once, kSplitWords);
  if (twice != once && !HasTracePrefixLine(once)) std::abort();
  if (!HasTracePrefixLine(text) && WithoutWhiteSpace(once) != WithoutWhiteSpace(text)) std::abort();
  return 0;
}
