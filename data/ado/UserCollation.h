#pragma once
// The user's text collation (LC_COLLATE), read explicitly, for sorting text columns the way the
// user's language orders them ("Ålesund" after "Zürich" in Swedish, before it in German).
#include <locale.h>

#include <string>
#include <string_view>

namespace ado {

// The locale named by the environment (LC_ALL, LC_COLLATE, LANG) or by the override below; null
// when that is the C or POSIX collation (code point order), for which texts keep the
// case-insensitive order of the cursor engine.
locale_t UserCollationLocale();

// Tests name the collation to use ("sv_SE.UTF-8"); an empty name goes back to the environment's.
// Returns false (and keeps the current one) when the locale does not exist.
bool SetUserCollationLocale(const std::string& name);

// Appends to `key` the bytes whose byte-wise order is the locale's order of `text`, followed by
// the text itself, so that texts the locale ranks equal still order, and equal keys mean equal
// texts. A NUL byte inside the text ends the part the locale ranks.
void AppendCollationKey(locale_t collation, std::string_view text, std::string& key);

}  // namespace ado
