#pragma once
// Names as a script writes them for its target server, whatever the name settings say: a name is
// quoted with the target's own quotes (backquotes for MySQL, brackets for SQL Server) when the
// settings would delimit it (a space, or General/...PrefixUseAlways), when it is not a plain
// identifier (letters, digits and '_', not starting with a digit), or when it is a reserved word of
// either target. The quote character inside the name is doubled.
#include <string>
#include <string_view>

enum class NameQuotes { Backquotes, Brackets };

// True for A-Z, a-z, 0-9 and '_', not starting with a digit, not empty.
bool IsPlainIdentifier(std::string_view name);
// A word that MySQL or SQL Server reserves (case-insensitive), such as ORDER, KEY or USER.
bool IsReservedWord(std::string_view name);
// The name in the target's quotes: `a``b`, [a]]b].
std::string QuoteTargetName(std::string_view name, NameQuotes quotes);
// The name quoted when `always` is set or the rules above ask for it; otherwise as it is.
std::string TargetName(std::string_view name, NameQuotes quotes, bool always);
// The number of characters of a UTF-8 text (code points; continuation bytes not counted).
std::size_t Utf8Length(std::string_view text);
