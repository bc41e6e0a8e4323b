#include "workspace/QueryFormatter.h"

#include <string_view>

#include "text/TextUtil.h"
#include "workspace/SettingsStore.h"

namespace {

bool IsWordSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A literal or comment: [begin, end) of the text.
struct Span {
  size_t begin;
  size_t end;
  bool lineComment;
};

// The end of a quoted piece opened at begin and closed by close, a doubled close staying inside.
size_t QuotedEnd(std::string_view text, size_t begin, char close) {
  size_t at = begin + 1;
  for (;;) {
    size_t found = text.find(close, at);
    if (found == std::string_view::npos) return text.size();
    if (found + 1 < text.size() && text[found + 1] == close) {
      at = found + 2;
      continue;
    }
    return found + 1;
  }
}

std::vector<Span> OpaqueSpans(std::string_view text) {
  std::vector<Span> spans;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    char next = i + 1 < text.size() ? text[i + 1] : '\0';
    size_t end;
    bool lineComment = false;
    if (c == '\'' || c == '"' || c == '`') {
      end = QuotedEnd(text, i, c);
    } else if (c == '[') {
      end = QuotedEnd(text, i, ']');
    } else if (c == '/' && next == '*') {
      size_t close = text.find("*/", i + 2);
      end = close == std::string_view::npos ? text.size() : close + 2;
    } else if (c == '-' && next == '-') {
      size_t close = text.find('\n', i + 2);
      end = close == std::string_view::npos ? text.size() : close;
      lineComment = true;
    } else {
      ++i;
      continue;
    }
    spans.push_back({i, end, lineComment});
    i = end;
  }
  return spans;
}

// Step a's cut and step b's prefix of a raw line.
struct TracePrefix {
  size_t cut = 0;
  std::string repeated;
};

TracePrefix FindTracePrefix(std::string_view line) {
  TracePrefix prefix;
  if (line.starts_with('[')) {
    size_t bracket = line.find(']', 1);
    size_t bar = line.find('|', 1);
    if (bracket != std::string_view::npos && bar != std::string_view::npos && bracket < bar) prefix.cut = bar;
  }
  std::string_view rest = line.substr(prefix.cut);
  if (rest.starts_with('|')) {
    size_t second = rest.find('|', 1);
    if (second != std::string_view::npos && second + 2 < rest.size() && rest[second + 2] == '|')
      prefix.repeated = std::string(rest.substr(0, second + 3));
  }
  return prefix;
}

// The text with trace prefixes removed line by line; inside = bytes of literals and comments.
std::string CleanLines(const std::string& text, const std::vector<bool>& inside) {
  std::string cleaned;
  cleaned.reserve(text.size());
  size_t start = 0;
  while (start < text.size()) {
    size_t lineEnd = text.find('\n', start);
    bool lastLine = lineEnd == std::string::npos;
    if (lastLine) lineEnd = text.size();
    bool continuesSpan = start > 0 && inside[start - 1];
    TracePrefix prefix;
    if (!continuesSpan) prefix = FindTracePrefix(std::string_view(text).substr(start, lineEnd - start));
    size_t at = start + prefix.cut;
    const std::string& repeated = prefix.repeated;
    if (!repeated.empty()) at += repeated.size();  // the copy that starts the line
    while (at < lineEnd) {
      if (!repeated.empty() && at + repeated.size() <= lineEnd && text.compare(at, repeated.size(), repeated) == 0) {
        bool plain = true;
        for (size_t k = at; k < at + repeated.size() && plain; ++k) plain = !inside[k];
        if (plain) {
          at += repeated.size();
          continue;
        }
      }
      cleaned += text[at++];
    }
    if (lastLine) break;
    cleaned += '\n';
    start = lineEnd + 1;
  }
  return cleaned;
}

struct Word {
  std::string text;
  bool opaque = false;
  bool endsWithLineComment = false;
};

std::vector<Word> TakeWords(const std::string& text) {
  std::vector<Span> spans = OpaqueSpans(text);
  std::vector<Word> words;
  Word current;
  auto finish = [&] {
    if (!current.text.empty()) words.push_back(std::move(current));
    current = Word();
  };
  size_t nextSpan = 0;
  size_t i = 0;
  while (i < text.size()) {
    if (nextSpan < spans.size() && spans[nextSpan].begin == i) {
      const Span& span = spans[nextSpan++];
      current.text.append(text, span.begin, span.end - span.begin);
      current.opaque = true;
      i = span.end;
      if (span.lineComment) {
        // A CR before the line's LF ends the line, not the comment's text.
        while (current.text.ends_with('\r')) current.text.pop_back();
        current.endsWithLineComment = true;
        finish();
      }
      continue;
    }
    char c = text[i++];
    if (IsWordSeparator(c))
      finish();
    else
      current.text += c;
  }
  finish();
  return words;
}

bool IsSplitWord(const std::string& word, const std::vector<std::string>& splitWords) {
  for (const std::string& split : splitWords) {
    if (!split.empty() && CompareNoCase(split, word) == 0) return true;
  }
  return false;
}

}  // namespace

std::string TracePrefixCleaned(const std::string& line) {
  TracePrefix prefix = FindTracePrefix(line);
  std::string cleaned = line.substr(prefix.cut);
  if (!prefix.repeated.empty()) ReplaceAll(cleaned, prefix.repeated, "");
  return cleaned;
}

std::vector<std::string> ParseSplitWords(const std::string& setting) {
  std::vector<std::string> words;
  SplitTrimmed(setting, '|', words);
  return words;
}

std::string FormatQuery(const std::string& text, const std::vector<std::string>& splitWords) {
  std::vector<bool> inside(text.size(), false);
  for (const Span& span : OpaqueSpans(text))
    for (size_t k = span.begin; k < span.end; ++k) inside[k] = true;

  std::vector<Word> words = TakeWords(CleanLines(text, inside));
  std::string result;
  for (size_t k = 0; k < words.size(); ++k) {
    if (k > 0) {
      bool newLine = words[k - 1].endsWithLineComment || (!words[k].opaque && IsSplitWord(words[k].text, splitWords));
      result += newLine ? '\n' : ' ';
    }
    result += words[k].text;
  }
  return result;
}

std::string FormatQuery(const std::string& text, const SettingsStore& settings) {
  return FormatQuery(text, ParseSplitWords(settings.GetString("Format", "SplitWords")));
}
