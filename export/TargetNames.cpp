#include "export/TargetNames.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

namespace {
// Words either target refuses as a bare name, sorted for the binary search (upper case).
constexpr const char* kReserved[] = {
    "ADD",        "ALL",       "ALTER",     "AND",         "ANY",        "AS",       "ASC",       "BACKUP",
    "BEFORE",     "BETWEEN",   "BIGINT",    "BINARY",      "BLOB",       "BOTH",     "BREAK",     "BROWSE",
    "BY",         "CALL",      "CASCADE",   "CASE",        "CHANGE",     "CHAR",     "CHECK",     "CHECKPOINT",
    "CLOSE",      "CLUSTERED", "COLLATE",   "COLUMN",      "COMMIT",     "COMPUTE",  "CONDITION", "CONSTRAINT",
    "CONTAINS",   "CONTINUE",  "CONVERT",   "CREATE",      "CROSS",      "CURRENT",  "CURSOR",    "DATABASE",
    "DATABASES",  "DEC",       "DECIMAL",   "DECLARE",     "DEFAULT",    "DELETE",   "DENY",      "DESC",
    "DESCRIBE",   "DISK",      "DISTINCT",  "DIV",         "DOUBLE",     "DROP",     "DUAL",      "DUMP",
    "EACH",       "ELSE",      "ELSEIF",    "END",         "ERRLVL",     "ESCAPE",   "EXCEPT",    "EXEC",
    "EXECUTE",    "EXISTS",    "EXIT",      "EXPLAIN",     "FALSE",      "FETCH",    "FILE",      "FLOAT",
    "FOR",        "FORCE",     "FOREIGN",   "FROM",        "FULL",       "FULLTEXT", "FUNCTION",  "GOTO",
    "GRANT",      "GROUP",     "GROUPS",    "HAVING",      "HOLDLOCK",   "IDENTITY", "IF",        "IGNORE",
    "IN",         "INDEX",     "INNER",     "INSERT",      "INT",        "INTEGER",  "INTERSECT", "INTERVAL",
    "INTO",       "IS",        "JOIN",      "KEY",         "KEYS",       "KILL",     "LEADING",   "LEFT",
    "LIKE",       "LIMIT",     "LINENO",    "LINES",       "LOAD",       "LOCK",     "LONG",      "MATCH",
    "MERGE",      "MOD",       "NATIONAL",  "NATURAL",     "NOCHECK",    "NOT",      "NULL",      "NULLIF",
    "NUMERIC",    "OF",        "OFF",       "OFFSETS",     "ON",         "OPEN",     "OPTION",    "OR",
    "ORDER",      "OUTER",     "OVER",      "PERCENT",     "PIVOT",      "PLAN",     "PRECISION", "PRIMARY",
    "PRINT",      "PROC",      "PROCEDURE", "PUBLIC",      "RANGE",      "RANK",     "READ",      "REAL",
    "REFERENCES", "REGEXP",    "RELEASE",   "RENAME",      "REPEAT",     "REPLACE",  "REQUIRE",   "RESTORE",
    "RESTRICT",   "RETURN",    "REVOKE",    "RIGHT",       "RLIKE",      "ROLLBACK", "ROW",       "ROWCOUNT",
    "ROWS",       "RULE",      "SAVE",      "SCHEMA",      "SELECT",     "SET",      "SHOW",      "SHUTDOWN",
    "SMALLINT",   "SOME",      "SPATIAL",   "SQL",         "STATISTICS", "TABLE",    "THEN",      "TINYINT",
    "TO",         "TOP",       "TRAN",      "TRANSACTION", "TRIGGER",    "TRUE",     "TRUNCATE",  "UNION",
    "UNIQUE",     "UNLOCK",    "UNSIGNED",  "UPDATE",      "USAGE",      "USE",      "USER",      "USING",
    "VALUES",     "VARCHAR",   "VARYING",   "VIEW",        "WHEN",       "WHERE",    "WHILE",     "WINDOW",
    "WITH",       "WRITE",     "XOR",       "ZEROFILL",
};

bool Less(const char* a, const char* b) {
  return strcasecmp(a, b) < 0;
}
}  // namespace

bool IsPlainIdentifier(std::string_view name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

bool IsReservedWord(std::string_view name) {
  if (name.size() >= 16) return false;
  char word[16];
  std::memcpy(word, name.data(), name.size());
  word[name.size()] = '\0';
  return std::binary_search(std::begin(kReserved), std::end(kReserved), static_cast<const char*>(word), Less);
}

std::string QuoteTargetName(std::string_view name, NameQuotes quotes) {
  const char open = quotes == NameQuotes::Backquotes ? '`' : '[';
  const char close = quotes == NameQuotes::Backquotes ? '`' : ']';
  std::string out;
  out.reserve(name.size() + 2);
  out += open;
  for (char c : name) {
    if (c == close) out += close;
    out += c;
  }
  out += close;
  return out;
}

std::string TargetName(std::string_view name, NameQuotes quotes, bool always) {
  if (always || !IsPlainIdentifier(name) || IsReservedWord(name)) return QuoteTargetName(name, quotes);
  return std::string(name);
}

std::size_t Utf8Length(std::string_view text) {
  std::size_t n = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}
