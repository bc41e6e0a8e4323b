#pragma once
// What the schema-browsing commands compute, apart from their windows: the kind letters and
// images of the table list, record counts, the SELECT written for a chosen table and the text
// listing every field of every table. Needs no window.
#include <string>
#include <vector>

#include "export/DatabaseNameQuoting.h"

class DbConnection;
class SettingsStore;

// Table kinds of DbConnection::EnumTables.
inline constexpr int kTableKindTable = 1;
inline constexpr int kTableKindLink = 2;
inline constexpr int kTableKindView = 4;

// "T", "L", "V" for kinds 1, 2, 4; empty for any other kind.
std::string TableKindLetter(int kind);
// The image of a kind in the table-kind images: 0 table, 1 synonym or link, 2 view; 0 otherwise.
int TableKindImageIndex(int kind);

// A count not taken (counting was stopped): shown as an empty cell.
inline constexpr long kNoRecordCount = -2147483647L - 1;

// The records of one table by "SELECT COUNT(*) FROM %s" (the name already delimited): 0 when
// the count query fails, -1 when anything else goes wrong.
long CountTableRecords(DbConnection& connection, const std::string& delimitedTable);

// The field names without those General/FieldsToExclude names ("|"-separated, trimmed of
// blanks), compared without regard to case.
std::vector<std::string> ExcludeFields(std::vector<std::string> fields, const std::string& fieldsToExclude);

// "SELECT a, b FROM t" for the chosen table: its fields (EnumTableFields with the delimited name)
// less the excluded ones, each delimited. An empty list gives "SELECT  FROM t".
std::string SelectStatementForTable(DbConnection& connection, const std::string& table, NameQuoteStyle style,
                                    const SettingsStore& settings);

// One line "table\tfield\ttype\tsize" (size as "%4ld") ending in CR LF for every field of every
// table and link (no views), in the database's order. Raises ComError.
std::string AllFieldsText(DbConnection& connection, NameQuoteStyle style, const SettingsStore& settings);
