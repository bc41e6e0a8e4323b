#include "data/ado/odbc/OdbcText.h"

namespace ado::odbc {
namespace {
constexpr char32_t kReplacement = 0xFFFD;

void Put(WideString& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

}  // namespace

WideString ToWide(std::string_view utf8) {
  WideString out;
  out.reserve(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const unsigned char* end = p + utf8.size();
  while (p < end) {
    unsigned char b = *p;
    if (b < 0x80) {
      out.push_back(b);
      ++p;
      continue;
    }
    int extra = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 ? 2 : b >= 0xC2 && b < 0xE0 ? 1 : -1;
    char32_t c = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : b & 0x1F;
    bool ok = extra > 0 && end - p > extra;
    for (int i = 1; ok && i <= extra; ++i) {
      if ((p[i] & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (ok &&
        ((extra == 2 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF))))
      ok = false;
    if (!ok) {
      Put(out, kReplacement);
      ++p;
      continue;
    }
    Put(out, c);
    p += extra + 1;
  }
  return out;
}

void AppendUtf8(std::string& out, const char16_t* text, std::size_t length) {
  // Written through a pointer into room for the longest form (three bytes a unit); most texts
  // are mostly ASCII and this runs for every value of a result.
  std::size_t start = out.size();
  out.resize(start + 3 * length);
  char* p = out.data() + start;
  for (std::size_t i = 0; i < length; ++i) {
    char32_t c = text[i];
    if (c < 0x80) {
      *p++ = static_cast<char>(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    if (c < 0x800) {
      *p++ = static_cast<char>(0xC0 | (c >> 6));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      *p++ = static_cast<char>(0xE0 | (c >> 12));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
      // Two units made this one: four bytes fit in their six.
      *p++ = static_cast<char>(0xF0 | (c >> 18));
      *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  out.resize(static_cast<std::size_t>(p - out.data()));
}

std::string ToUtf8(const char16_t* text, std::size_t length) {
  std::string out;
  AppendUtf8(out, text, length);
  return out;
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  if (word.size() > text.size()) return false;
  for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
    std::size_t n = 0;
    while (n < word.size() && lower(text[i + n]) == lower(word[n])) ++n;
    if (n == word.size()) return true;
  }
  return false;
}

std::size_t WideLength(const SQLWCHAR* text, std::size_t capacity) {
  std::size_t n = 0;
  while (n < capacity && text[n] != 0) ++n;
  return n;
}

}  // namespace ado::odbc
