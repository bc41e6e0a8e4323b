#pragma once
// The text of the status bar's connection pane: the kind of database a run uses and its file or
// server, read from the connection string ("SQLite: /home/ann/Shop.db", "PostgreSQL: shop on
// db.example:5432", "ODBC: DSN=Sales").
#include <string>

// At most `limit` characters (UTF-8 characters, not bytes); a longer text loses characters from
// its middle, replaced by "…", so that both the kind and the file name stay readable.
std::string ConnectionPaneText(const std::string& connectionString, std::size_t limit = 45);
