#include "workspace/ui/SchemaBrowsing.h"

#include <cstdio>
#include <cstdlib>

#include "data/DbConnection.h"
#include "data/DbFieldInfo.h"
#include "data/DbRecordset.h"
#include "data/ado/ComError.h"
#include "text/TextUtil.h"
#include "workspace/SettingsStore.h"

std::string TableKindLetter(int kind) {
  switch (kind) {
    case kTableKindTable:
      return "T";
    case kTableKindLink:
      return "L";
    case kTableKindView:
      return "V";
    default:
      return {};
  }
}

int TableKindImageIndex(int kind) {
  switch (kind) {
    case kTableKindLink:
      return 1;
    case kTableKindView:
      return 2;
    default:
      return 0;
  }
}

long CountTableRecords(DbConnection& connection, const std::string& delimitedTable) {
  try {
    // QuerySingleField swallows a failing query and returns an empty text, which reads as 0.
    const std::string text = connection.QuerySingleField("SELECT COUNT(*) FROM " + delimitedTable);
    return std::strtol(text.c_str(), nullptr, 10);
  } catch (const ado::ComError&) {
    return -1;
  } catch (const std::exception&) {
    return -1;
  }
}

std::vector<std::string> ExcludeFields(std::vector<std::string> fields, const std::string& fieldsToExclude) {
  std::string::size_type start = 0;
  while (start <= fieldsToExclude.size()) {
    std::string::size_type bar = fieldsToExclude.find('|', start);
    if (bar == std::string::npos) bar = fieldsToExclude.size();
    const std::string piece = Trim(fieldsToExclude.substr(start, bar - start), " ");
    std::erase_if(fields, [&piece](const std::string& field) { return CompareNoCase(field, piece) == 0; });
    start = bar + 1;
  }
  return fields;
}

std::string SelectStatementForTable(DbConnection& connection, const std::string& table, NameQuoteStyle style,
                                    const SettingsStore& settings) {
  const std::string delimited = DelimitTableNameFor(table, style, settings);
  std::vector<std::string> fields;
  connection.EnumTableFields(delimited, fields);
  fields = ExcludeFields(std::move(fields), settings.GetString("General", "FieldsToExclude"));
  std::string statement = "SELECT ";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) statement += ", ";
    statement += DelimitFieldNameFor(fields[i], style, settings);
  }
  return statement + " FROM " + delimited;
}

std::string AllFieldsText(DbConnection& connection, NameQuoteStyle style, const SettingsStore& settings) {
  std::vector<std::string> tables;
  connection.EnumTables(tables, kTableKindTable | kTableKindLink);
  std::string text;
  for (const std::string& table : tables) {
    DbRecordset recordset;
    recordset.Open(&connection, "SELECT * FROM " + DelimitTableNameFor(table, style, settings) + " WHERE 1=0");
    std::vector<std::string> fields;
    recordset.EnumFields(fields);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      // By position: a delimited name ("[Unit Price]") is not the field's name, so a lookup by
      // it would find nothing and report an empty type for every field with a blank.
      DbFieldInfo info;
      recordset.GetFieldInfoIdx(static_cast<long>(i), info);
      char size[32];
      std::snprintf(size, sizeof size, "%4ld", static_cast<long>(info.definedSize));
      text += table + "\t" + fields[i] + "\t" + DataTypeName(info.type) + "\t" + size + "\r\n";
    }
    recordset.Close();
  }
  return text;
}
