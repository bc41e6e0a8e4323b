#pragma once
// A file named on the command line ("qelvo FILE"): a SQLite database becomes the connection with
// a SELECT over its first table ready in the query editor; any other file is a script read into
// the query editor.
#include <optional>
#include <string>

struct CommandLineTexts {
  std::optional<std::string> connection;  // only for a database
  std::optional<std::string> query;       // nothing for a database without tables
};

// Whether the file is a SQLite database: its header says so, or it is empty and named *.db,
// *.db3, *.sqlite or *.sqlite3 (SQLite opens an empty file as an empty database).
bool IsSqliteDatabaseFile(const std::string& path);

// "SELECT * FROM <table>" for the first table by name (letter case ignored), the name quoted
// when it is not a plain identifier; nothing when the database has no table. Raises
// ScriptFileError "Unable to open database \"<path>\": <reason>" when SQLite cannot read it.
std::optional<std::string> FirstTableQuery(const std::string& path);

// The editors' texts for the file. Raises ScriptFileError with the message to show.
CommandLineTexts ReadCommandLineFile(const std::string& path);
