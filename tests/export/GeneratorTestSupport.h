#pragma once
// Field descriptions and recordsets for the generator tests.
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "data/DbConnection.h"
#include "data/DbFieldInfo.h"
#include "data/DbRecordset.h"
#include "data/ado/AdoEnums.h"
#include "export/ScriptGenerator.h"

inline DbFieldInfo Field(const std::string& name, int type, int size = 0, bool key = false, bool autoIncrement = false,
                         bool nullable = true) {
  DbFieldInfo f;
  f.name = name;
  f.type = type;
  f.definedSize = size;
  f.isKeyColumn = key;
  f.isAutoIncrement = autoIncrement;
  f.isNullable = nullable;
  f.attributes = nullable ? "adFldUpdatable | adFldIsNullable | adFldMayBeNull" : "adFldUpdatable";
  return f;
}

inline DbFieldInfo DecimalField(const std::string& name, int type, int precision, int scale) {
  DbFieldInfo f = Field(name, type, 19);
  f.precision = precision;
  f.numericScale = scale;
  return f;
}

inline std::string CreateText(const ScriptGenerator& g, const std::string& table,
                              const std::vector<DbFieldInfo>& fields, bool withDrop) {
  std::ostringstream out;
  g.WriteCreateTable(table, fields, withDrop, out);
  return out.str();
}

// The INSERT statements of a whole query on a database, as the generator writes them.
inline std::string InsertText(const ScriptGenerator& g, const std::string& connectionString, const std::string& table,
                              const std::string& query, std::int32_t maxRecords = 0, bool withAutonumbers = true,
                              bool withZap = false) {
  DbConnection connection;
  connection.Open(connectionString, "", "");
  DbRecordset rs;
  rs.Open(&connection, query);
  std::vector<DbFieldInfo> fields;
  rs.GetFieldsInfo(fields);
  std::ostringstream out;
  g.WriteInsertStatements(rs, table, fields, maxRecords, withAutonumbers, withZap, out);
  rs.Close();
  connection.Close();
  return out.str();
}

// The literal of the single value a one-row, one-column query gives.
inline std::string LiteralOf(const ScriptGenerator& g, const std::string& connectionString, const std::string& query) {
  std::string text = InsertText(g, connectionString, "t", query);
  const std::string open = "VALUES (";
  const std::size_t from = text.find(open);
  const std::size_t to = text.rfind(");\n");
  if (from == std::string::npos || to == std::string::npos) return "<" + text + ">";
  return text.substr(from + open.size(), to - from - open.size());
}
