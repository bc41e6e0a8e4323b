#include "text/CaseFold.h"

int CompareFolded(std::string_view a, std::string_view b) {
  const unsigned char* pa = casefold::FoldBytes(a);
  const unsigned char* pb = casefold::FoldBytes(b);
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = pa[i], y = pb[i];
    if (x == y && x < 0x80) continue;
    if ((x | y) < 0x80) {
      x = casefold::AsciiLower(x);
      y = casefold::AsciiLower(y);
    } else {
      x = casefold::FoldByteAt(pa, a.size(), i);
      y = casefold::FoldByteAt(pb, b.size(), i);
    }
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::string FoldCase(std::string_view text) {
  std::string folded(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) folded[i] = static_cast<char>(FoldedByteAt(text, i));
  return folded;
}
