#pragma once
// Table and column names delimited for statements sent to one connected database.
//
// The delimiter settings default to "[" and "]", which SQLite and SQL Server accept but
// PostgreSQL and MySQL reject. Where the settings hold those defaults, a name is therefore quoted
// the way the database accepts: "..." on PostgreSQL, `...` on MySQL and MariaDB, [...] elsewhere.
// There the name is also delimited when the database would not take it bare: on PostgreSQL a
// name that is not all lower case letters, digits, "_" and "$" (it would be folded to lower
// case), on MySQL one with characters other than letters, digits, "_" and "$". A quote character
// inside the name is doubled. Delimiters the user has set are used as set, by the rule of
// NameDelimiting.h. The settings are read at each call.
#include <string>

class DbConnection;
class SettingsStore;

enum class NameQuoteStyle {
  Configured,    // the delimiter settings as they stand
  DoubleQuotes,  // PostgreSQL
  Backticks,     // MySQL, MariaDB
};

// The style for a database family as ado::ProviderSession::DatabaseFamily names it.
NameQuoteStyle QuoteStyleForFamily(const std::string& family);
// The style of an open connection; Configured when it is closed or its database is unknown.
NameQuoteStyle QuoteStyleOf(const DbConnection& connection);

std::string DelimitTableNameFor(const std::string& name, NameQuoteStyle style, const SettingsStore& settings);
std::string DelimitFieldNameFor(const std::string& name, NameQuoteStyle style, const SettingsStore& settings);
