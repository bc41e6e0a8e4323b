#include "text/StringFormat.h"

#include <cstdarg>
#include <cstdio>

#include "text/UserLocale.h"

namespace {
constexpr std::size_t kMaxFormatted = 16383;

std::string FormatArguments(const char* format, va_list args) {
  if (!format) return {};
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<std::size_t>(length));
  if (text.size() > kMaxFormatted) {
    std::size_t cut = kMaxFormatted;
    // Keep whole UTF-8 characters.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text.resize(cut);
  }
  return text;
}

// The process keeps LC_NUMERIC at "C" for the drivers; the user's locale is taken for this
// thread only, for the duration of one call.
class ScopedUserLocale {
 public:
  ScopedUserLocale() : previous_(uselocale(UserNumericLocale())) {}
  ~ScopedUserLocale() { uselocale(previous_); }
  ScopedUserLocale(const ScopedUserLocale&) = delete;
  ScopedUserLocale& operator=(const ScopedUserLocale&) = delete;

 private:
  locale_t previous_;
};
}  // namespace

std::string FormatString(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatArguments(format, args);
  va_end(args);
  return text;
}

std::string FormatStringUserLocale(const char* format, ...) {
  ScopedUserLocale scope;
  va_list args;
  va_start(args, format);
  std::string text = FormatArguments(format, args);
  va_end(args);
  return text;
}
