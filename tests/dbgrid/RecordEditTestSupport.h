#pragma once
// Shared pieces of the record editing tests: the databases edits are written to (SQLite, and
// PostgreSQL and MariaDB when their servers are named), their spellings of blobs, and reading a
// value back through a second connection of its own.
#include <string>
#include <vector>

#include "tests/dbgrid/DbGridTestSupport.h"

namespace dbgridtest {

struct EditDb {
  TestDb db;
  std::string blobLiteral;  // the bytes 0A FF 00 as a literal
  std::string hexOf;        // a function giving a blob's bytes as hex digits: "hex(%s)"
  std::string autoKey;      // an auto-increment integer primary key
  std::string textType;     // a long text
};
std::vector<EditDb> EditDbs();
inline void PrintTo(const EditDb& db, std::ostream* os) {
  *os << db.db.name;
}
std::string EditDbName(const testing::TestParamInfo<EditDb>& info);

// The first value of the first row of `sql`, read through a new connection ("" for NULL).
std::string ReadBack(const std::string& connectionString, const std::string& sql);

// Types `text` (UTF-8, any letters) into a widget key by key.
void TypeText(QWidget* widget, const std::string& text);

// Opens the editor of a data cell with two clicks, replaces its text and ends with Enter.
void TypeIntoCell(GridWindow& window, int row, int col, const std::string& text);

}  // namespace dbgridtest
