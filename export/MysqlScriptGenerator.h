#pragma once
// The script generator for MySQL and MariaDB: DROP TABLE IF EXISTS, one column definition per line
// with an inline primary key, AUTO_INCREMENT for autonumber columns, backslash escapes in string
// literals. Names are quoted with backquotes as TargetNames.h says, whatever delimiters the settings
// hold (MySQL cannot read square brackets).
//
// Key columns: MySQL indexes at most 3072 bytes of a key, so a text or byte column that the key
// cannot hold whole is indexed by a prefix, PRIMARY KEY(name(768)). A date-time column with
// fractions of a second is datetime(n).
//
// The script starts with SET NAMES utf8mb4 (its prologue): the texts are UTF-8, whatever character
// set the client would otherwise assume. Binary values are 0x literals (X'' when empty).
#include "export/ScriptGenerator.h"

class MysqlScriptGenerator : public ScriptGenerator {
 public:
  using ScriptGenerator::ScriptGenerator;

  std::string TranslateFieldType(const DbFieldInfo& field) const override;
  std::string DropTableStatement(const std::string& tableName) const override;
  void WriteCreateTable(const std::string& tableName, const std::vector<DbFieldInfo>& fields, bool withDrop,
                        std::ostream& out) const override;
  void WriteInsertStatements(DbRecordset& recordset, const std::string& tableName,
                             const std::vector<DbFieldInfo>& fields, std::int32_t maxRecords, bool withAutonumbers,
                             bool withZap, std::ostream& out) const override;
  std::string ScriptPrologue() const override;

 protected:
  NameQuotes Quotes() const override { return NameQuotes::Backquotes; }
  void AppendStringLiteral(std::string& out, std::string_view text) const override;
  void AppendBinaryLiteral(std::string& out, std::string_view bytes) const override;
};
