#pragma once
// What a new user finds in the editors: when the connection history is empty, the connection
// editor holds the sample database's connection string and the query editor a SELECT over one
// of its tables, so the first Ctrl+Enter shows data.
#include <optional>
#include <string>

inline constexpr const char* SampleDatabaseName = "Shop.db";
inline constexpr const char* FirstStartQuery = "SELECT * FROM Customers";

// The sample database: Shop.db beside the executable or in the installed share folder, else the
// one the build tree made; "" when there is none.
std::string FindSampleDatabase();

// "Provider=SQLite;Data Source=<path>", the path quoted when it needs to be.
std::string SqliteConnectionString(const std::string& path);

struct FirstStartTexts {
  std::string connection;
  std::string query;
};
// The first-start texts for a sample database at `path`; nothing when `path` is empty.
std::optional<FirstStartTexts> FirstStartRequest(const std::string& samplePath);
