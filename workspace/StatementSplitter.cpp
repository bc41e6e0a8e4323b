#include "workspace/StatementSplitter.h"

#include <string_view>

#include "text/TextUtil.h"

std::vector<std::string> SplitStatements(const std::string& text, const std::string& separator) {
  std::vector<std::string> statements;
  std::string accumulator;
  auto finish = [&] {
    std::string statement = Trim(accumulator);
    if (!statement.empty()) statements.push_back(std::move(statement));
    accumulator.clear();
  };

  std::string_view rest(text);
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);

    if (line.starts_with('#') || line.starts_with("--")) continue;
    std::string trimmed = Trim(std::string(line));
    bool statementEnd = trimmed.size() >= separator.size() && std::string_view(trimmed).ends_with(separator);
    if (statementEnd) trimmed.resize(trimmed.size() - separator.size());
    if (!accumulator.empty()) accumulator += ' ';
    accumulator += trimmed;
    if (statementEnd) finish();
  }
  finish();
  return statements;
}
