// SplitStatements on any text: no crash, no hang, and every statement keeps the promised shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "workspace/StatementSplitter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const kSeparators[] = {";", "GO", "/", "", ";;", "--", "\xff"};
  if (size == 0) return 0;
  std::string separator = kSeparators[data[0] % (sizeof kSeparators / sizeof *kSeparators)];
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  for (const std::string& statement : SplitStatements(text, separator)) {
    if (statement.empty()) std::abort();
    if (statement.find('\n') != std::string::npos) std::abort();
    const std::string blanks = " \t\r\n";
    if (blanks.find(statement.front()) != std::string::npos) std::abort();
    if (blanks.find(statement.back()) != std::string::npos) std::abort();
  }
  return 0;
}
