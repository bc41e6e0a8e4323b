#include "ui/FontText.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

std::int32_t ReadLong(std::string_view piece) {
  std::size_t i = 0;
  while (i < piece.size() && (piece[i] == ' ' || piece[i] == '\t' || piece[i] == '\n' || piece[i] == '\r' ||
                              piece[i] == '\v' || piece[i] == '\f'))
    ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) negative = piece[i++] == '-';
  std::int64_t value = 0;
  for (; i < piece.size() && piece[i] >= '0' && piece[i] <= '9'; ++i) {
    value = value * 10 + (piece[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) value = std::int64_t{1} << 40;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::uint8_t LowByte(std::int32_t value) {
  return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFF);
}

// -(value * numerator / denominator), rounded half away from zero, as integer scaling of font
// sizes does, and kept inside 32 bits.
std::int32_t NegatedMulDiv(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
  if (denominator <= 0) return 0;
  const double exact = static_cast<double>(value) * static_cast<double>(numerator) / static_cast<double>(denominator);
  const double rounded = -std::round(exact);
  if (rounded > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (rounded < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(rounded);
}

}  // namespace

std::optional<LogFont> ParseFontText(std::string_view text) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) {
      if (pieces.size() == 14) return std::nullopt;
      pieces.push_back(text.substr(start, end - start));
    }
    start = end + 1;
  }
  if (pieces.size() != 14) return std::nullopt;
  LogFont font;
  font.height = ReadLong(pieces[0]);
  font.width = ReadLong(pieces[1]);
  font.escapement = ReadLong(pieces[2]);
  font.orientation = ReadLong(pieces[3]);
  font.weight = ReadLong(pieces[4]);
  font.italic = LowByte(ReadLong(pieces[5]));
  font.underline = LowByte(ReadLong(pieces[6]));
  font.strikeOut = LowByte(ReadLong(pieces[7]));
  font.charSet = LowByte(ReadLong(pieces[8]));
  font.outPrecision = LowByte(ReadLong(pieces[9]));
  font.clipPrecision = LowByte(ReadLong(pieces[10]));
  font.quality = LowByte(ReadLong(pieces[11]));
  font.pitchAndFamily = LowByte(ReadLong(pieces[12]));
  font.faceName = CutFaceName(pieces[13]);
  return font;
}

std::string CutFaceName(std::string_view name) {
  if (name.size() <= kMaxFaceName) return std::string(name);
  // A UTF-8 character has at most three continuation bytes; more in a row is not UTF-8, and the
  // name is then cut at the byte limit rather than emptied (an empty face would not read back).
  std::size_t end = kMaxFaceName;
  for (int step = 0; step < 3 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80; ++step) --end;
  if ((static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) end = kMaxFaceName;
  return std::string(name.substr(0, end));
}

std::string FormatFontText(const LogFont& font) {
  std::string text;
  for (long value :
       {long{font.height}, long{font.width}, long{font.escapement}, long{font.orientation}, long{font.weight},
        long{font.italic}, long{font.underline}, long{font.strikeOut}, long{font.charSet}, long{font.outPrecision},
        long{font.clipPrecision}, long{font.quality}, long{font.pitchAndFamily}}) {
    text += std::to_string(value);
    text += ';';
  }
  text += font.faceName;
  text += ';';
  return text;
}

int FontHeightToPoints(std::int32_t height, int dpiY) {
  return NegatedMulDiv(height, 72, dpiY);
}

std::int32_t FontPointsToHeight(std::int32_t points, int dpiY) {
  return NegatedMulDiv(std::llabs(static_cast<long long>(points)), dpiY, 72);
}

std::string FontDisplayName(const LogFont& font, bool withSize, int dpiY) {
  std::string name = font.faceName;
  if (withSize) name += " (" + std::to_string(FontHeightToPoints(font.height, dpiY)) + " )";
  return name;
}
