#include "workspace/CommandLineFile.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>

#include "data/ado/ConnectionString.h"
#include "workspace/ScriptFile.h"

namespace {
struct CloseDatabase {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

bool IsPlainIdentifier(const std::string& name) {
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
  return std::all_of(name.begin(), name.end(),
                     [](char c) { return c == '_' || std::isalnum(static_cast<unsigned char>(c)); });
}

std::string QuotedName(const std::string& name) {
  if (IsPlainIdentifier(name)) return name;
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

[[noreturn]] void FailToOpen(const std::string& path, const std::string& reason) {
  throw ScriptFileError("Unable to open database \"" + path + "\": " + reason);
}
}  // namespace

bool IsSqliteDatabaseFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  char header[16] = {};
  file.read(header, sizeof header);
  if (file.gcount() == static_cast<std::streamsize>(sizeof header))
    return std::string(header, sizeof header) == std::string("SQLite format 3\0", 16);
  if (file.gcount() != 0) return false;
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".db" || extension == ".db3" || extension == ".sqlite" || extension == ".sqlite3";
}

std::optional<std::string> FirstTableQuery(const std::string& path) {
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  std::unique_ptr<sqlite3, CloseDatabase> db(raw);
  if (opened != SQLITE_OK) FailToOpen(path, raw ? sqlite3_errmsg(raw) : sqlite3_errstr(opened));
  sqlite3_stmt* rawStatement = nullptr;
  const char* sql =
      "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
      "ORDER BY name COLLATE NOCASE, name LIMIT 1";
  if (sqlite3_prepare_v2(db.get(), sql, -1, &rawStatement, nullptr) != SQLITE_OK)
    FailToOpen(path, sqlite3_errmsg(db.get()));
  std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(rawStatement);
  const int stepped = sqlite3_step(statement.get());
  if (stepped == SQLITE_DONE) return std::nullopt;
  if (stepped != SQLITE_ROW) FailToOpen(path, sqlite3_errmsg(db.get()));
  const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
  return "SELECT * FROM " + QuotedName(name ? name : "");
}

CommandLineTexts ReadCommandLineFile(const std::string& path) {
  CommandLineTexts texts;
  if (IsSqliteDatabaseFile(path)) {
    texts.query = FirstTableQuery(path);
    const std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
    ado::ConnectionString connection;
    connection.Set("Provider", "SQLite");
    connection.Set("Data Source", absolute);
    texts.connection = connection.ToString();
  } else {
    texts.query = ReadScriptFile(path);
  }
  return texts;
}
