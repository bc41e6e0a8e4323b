#include <locale.h>
#include <wctype.h>

#include <algorithm>

#include "data/TextUtil.h"

namespace {
// Decodes one UTF-8 character at text[pos]; 0 when the bytes there are not a valid sequence.
std::size_t DecodeUtf8(const std::string& text, std::size_t pos, char32_t& cp) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length;
  char32_t value;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    value = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    value = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) return 0;
    value = (value << 6) | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  cp = value;
  return length;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Case mapping of all of Unicode, whatever the process's own LC_CTYPE is.
locale_t UnicodeLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return locale;
}

char32_t LowerCodePoint(char32_t cp) {
  if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + ('a' - 'A') : cp;
  const locale_t locale = UnicodeLocale();
  return locale ? static_cast<char32_t>(towlower_l(static_cast<wint_t>(cp), locale)) : cp;
}

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}
}  // namespace

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
  std::string lower;
  lower.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp = 0;
    const std::size_t length = DecodeUtf8(text, pos, cp);
    if (length == 0) {
      lower += text[pos++];  // not UTF-8: kept as it is
      continue;
    }
    AppendUtf8(lower, LowerCodePoint(cp));
    pos += length;
  }
  return lower;
}

int CompareNoCase(const std::string& a, const std::string& b) {
  if (IsAscii(a) && IsAscii(b)) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
      const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
      const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
      if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
  }
  const int result = ToLower(a).compare(ToLower(b));
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
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
