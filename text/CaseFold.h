#pragma once
// The program's one case-folding rule, for names (fields, tables, settings) and for texts that
// sort and filter criteria compare. ASCII letters and the letters of Latin-1, Latin Extended-A,
// Greek and Cyrillic map to lower case; nothing else changes. The rule never changes the length
// of the UTF-8 text, so a folded text lines up byte for byte with the original, and a byte of
// the folded form is had without folding the whole text. Invalid UTF-8 bytes stay as they are.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace casefold {
// Only mappings between two-byte UTF-8 characters (and ASCII): lengths stay.

constexpr std::array<std::uint16_t, 0x800> MakeFoldTable() {
  std::array<std::uint16_t, 0x800> t{};
  for (unsigned c = 0; c < 0x800; ++c) t[c] = static_cast<std::uint16_t>(c);
  auto set = [&t](unsigned from, unsigned to) { t[from] = static_cast<std::uint16_t>(to); };
  auto pairs = [&set](unsigned first, unsigned last) {  // upper case at `first`, lower after it
    for (unsigned c = first; c + 1 <= last; c += 2) set(c, c + 1);
  };
  for (unsigned c = 'A'; c <= 'Z'; ++c) set(c, c + 0x20);
  for (unsigned c = 0xC0; c <= 0xDE; ++c)
    if (c != 0xD7) set(c, c + 0x20);
  // Latin Extended-A; U+0130 and U+0131 (dotted and dotless i) change length, so stay.
  pairs(0x100, 0x12F);
  pairs(0x132, 0x137);
  pairs(0x139, 0x148);
  pairs(0x14A, 0x177);
  set(0x178, 0xFF);
  pairs(0x179, 0x17E);
  // Greek.
  set(0x386, 0x3AC);
  for (unsigned c = 0x388; c <= 0x38A; ++c) set(c, c + 0x25);
  set(0x38C, 0x3CC);
  set(0x38E, 0x3CD);
  set(0x38F, 0x3CE);
  for (unsigned c = 0x391; c <= 0x3AB; ++c)
    if (c != 0x3A2) set(c, c + 0x20);
  set(0x3C2, 0x3C3);  // final sigma
  // Cyrillic.
  for (unsigned c = 0x400; c <= 0x40F; ++c) set(c, c + 0x50);
  for (unsigned c = 0x410; c <= 0x42F; ++c) set(c, c + 0x20);
  pairs(0x460, 0x481);
  pairs(0x48A, 0x4BF);
  set(0x4C0, 0x4CF);
  pairs(0x4C1, 0x4CE);
  pairs(0x4D0, 0x52F);
  return t;
}

inline constexpr std::array<std::uint16_t, 0x800> kCaseFold = MakeFoldTable();

inline bool IsLead2(unsigned char c) {
  return c >= 0xC2 && c <= 0xDF;
}
inline bool IsTrail(unsigned char c) {
  return (c & 0xC0) == 0x80;
}
inline unsigned char AsciiLower(unsigned char c) {
  return static_cast<unsigned char>(c + (static_cast<unsigned>(c - 'A') < 26u ? 0x20 : 0));
}

inline unsigned char FoldByteAt(const unsigned char* s, std::size_t n, std::size_t i) {
  const unsigned char c = s[i];
  if (c < 0x80) return AsciiLower(c);
  if (IsLead2(c)) {
    if (i + 1 < n && IsTrail(s[i + 1])) {
      unsigned f = kCaseFold[((c & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu)];
      return static_cast<unsigned char>(0xC0 | (f >> 6));
    }
    return c;
  }
  // A lead byte never ends a previous character, so a trail byte after one belongs to it.
  if (IsTrail(c) && i > 0 && IsLead2(s[i - 1])) {
    unsigned f = kCaseFold[((s[i - 1] & 0x1Fu) << 6) | (c & 0x3Fu)];
    return static_cast<unsigned char>(0x80 | (f & 0x3F));
  }
  return c;
}

inline const unsigned char* FoldBytes(std::string_view s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

}  // namespace casefold

// The byte at `i` of the folded form of `text` (i < text.size()).
inline unsigned char FoldedByteAt(std::string_view text, std::size_t i) {
  return casefold::FoldByteAt(casefold::FoldBytes(text), text.size(), i);
}
// Case-insensitive comparison (no tie break): "Abc" and "aBC" compare equal; -1, 0 or 1.
int CompareFolded(std::string_view a, std::string_view b);
inline bool EqualsFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareFolded(a, b) == 0;
}
// The folded form of the whole text.
std::string FoldCase(std::string_view text);
