// The font text parser on any input: no crash, and every text it accepts formats to a text that
// reads back to the same font.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ui/FontText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<LogFont> font = ParseFontText(text);
  if (!font) return 0;
  if (font->faceName.size() > kMaxFaceName) std::abort();
  const std::string formatted = FormatFontText(*font);
  const std::optional<LogFont> again = ParseFontText(formatted);
  // A face name of blanks only, or one that ends in a cut character, is still one piece.
  if (!again || !(*again == *font)) std::abort();
  (void)FontDisplayName(*font, true, 96);
  (void)FontPointsToHeight(font->height, 600);
  return 0;
}
