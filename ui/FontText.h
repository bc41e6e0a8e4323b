#pragma once
// The font text of the settings (General/Font): the thirteen numbers of a logical font, each
// followed by ";", then the face name and ";":
//
//   "-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;"
//
// height, width, escapement, orientation, weight (32-bit signed), then italic, underline,
// strike-out, character set, output precision, clip precision, quality, pitch and family (8-bit).
// A negative height is the character height in pixels, a positive one the cell height.
// Plain C++, no Qt: the parser reads outside text and is fuzzed on its own.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct LogFont {
  std::int32_t height = 0;
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;
  std::uint8_t pitchAndFamily = 0;
  std::string faceName;  // at most kMaxFaceName bytes, whole UTF-8 characters

  bool operator==(const LogFont&) const = default;
};

inline constexpr std::size_t kMaxFaceName = 31;

// Pitch and family bits.
inline constexpr std::uint8_t kFixedPitch = 1;
inline constexpr std::uint8_t kVariablePitch = 2;
inline constexpr std::uint8_t kFamilyRoman = 0x10;
inline constexpr std::uint8_t kFamilySwiss = 0x20;
inline constexpr std::uint8_t kFamilyModern = 0x30;
inline constexpr std::uint8_t kFamilyScript = 0x40;
inline constexpr std::uint8_t kFamilyDecorative = 0x50;

// Splits at every ";" (empty pieces skipped); valid only with exactly 14 pieces. Numbers are
// read like atol: leading blanks and a sign, then digits up to the first other character (no
// digits read as 0; values beyond 32 bits saturate); the 8-bit members keep the low 8 bits. The
// face name is cut to kMaxFaceName bytes. Empty text is not a font (the caller decides what
// empty means).
std::optional<LogFont> ParseFontText(std::string_view text);

std::string FormatFontText(const LogFont& font);

// A face name as the record keeps it: cut to kMaxFaceName bytes without splitting a character.
std::string CutFaceName(std::string_view name);

// Points from the height at a vertical resolution: -(height * 72 / dpi), rounded to nearest.
int FontHeightToPoints(std::int32_t height, int dpiY);
// A height read as points at a device resolution: -(|points| * dpi / 72), rounded.
std::int32_t FontPointsToHeight(std::int32_t points, int dpiY);

// The face name, and with size " (" points " )", e.g. "Courier New (10 )".
std::string FontDisplayName(const LogFont& font, bool withSize, int dpiY);
