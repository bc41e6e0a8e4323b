#pragma once
// UTF-8 (our texts) to and from UTF-16 (the drivers' SQLWCHAR), for the W calls of unixODBC.
#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>

namespace ado::odbc {

using WideString = std::u16string;
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC must be built with 16-bit SQLWCHAR");

// Bytes that are no UTF-8 become U+FFFD, one per byte.
WideString ToWide(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
void AppendUtf8(std::string& out, const char16_t* text, std::size_t length);
std::string ToUtf8(const char16_t* text, std::size_t length);
inline std::string ToUtf8(const WideString& text) {
  return ToUtf8(text.data(), text.size());
}

inline SQLWCHAR* AsSql(WideString& text) {
  return reinterpret_cast<SQLWCHAR*>(text.data());
}
inline const char16_t* FromSql(const SQLWCHAR* text) {
  return reinterpret_cast<const char16_t*>(text);
}

// Whether `text` holds `word`, ASCII letters compared without regard to case.
bool ContainsNoCase(std::string_view text, std::string_view word);

// Length in SQLWCHAR units of a zero-terminated buffer.
std::size_t WideLength(const SQLWCHAR* text, std::size_t capacity);

}  // namespace ado::odbc
