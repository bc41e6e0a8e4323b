#pragma once
// The script generator for Microsoft SQL Server: tables in the dbo schema on the PRIMARY file group,
// autonumber columns as IDENTITY columns, a default of 0 for numeric columns, key columns as a
// non-clustered primary key.
//
// Names: the templates' own square brackets hold the bare name (the configured delimiters taken off,
// a ']' doubled), so [dbo].[Order Details]; the statements without brackets of their own (INSERT,
// DELETE, SET IDENTITY_INSERT) bracket a name as TargetNames.h says, whatever the delimiter settings.
//
// Columns keep their nullability (NOT NULL for key columns and columns the source keeps non-null).
// A date-time column with fractions of a second is datetime2 (n), datetime keeping only 1/300 s.
//
// String literals are what SQL Server reads back as the same text: single quotes doubled; NUL,
// backspace, tab, line feed, carriage return and character 26 joined in as +CHAR(n)+; backslashes
// and double quotes kept; an N prefix when the text holds characters beyond ASCII. Binary values
// are 0x literals.
#include "export/ScriptGenerator.h"

class SQLServerScriptGenerator : public ScriptGenerator {
 public:
  using ScriptGenerator::ScriptGenerator;

  std::string TranslateFieldType(const DbFieldInfo& field) const override;
  std::string DropTableStatement(const std::string& tableName) const override;
  void WriteCreateTable(const std::string& tableName, const std::vector<DbFieldInfo>& fields, bool withDrop,
                        std::ostream& out) const override;
  void WriteInsertStatements(DbRecordset& recordset, const std::string& tableName,
                             const std::vector<DbFieldInfo>& fields, std::int32_t maxRecords, bool withAutonumbers,
                             bool withZap, std::ostream& out) const override;

  // The length part of a column definition: " (n)", " (max)", " (p, s)" or nothing.
  std::string TypeLength(const DbFieldInfo& field) const;

 protected:
  NameQuotes Quotes() const override { return NameQuotes::Brackets; }
  void AppendStringLiteral(std::string& out, std::string_view text) const override;
  void AppendBinaryLiteral(std::string& out, std::string_view bytes) const override;

 private:
  std::string BracketTable(const std::string& tableName) const;
  std::string BracketField(const DbFieldInfo& field) const;
};
