#pragma once
// The script generator: writes a SQL script that recreates tables of the connected database (their
// structure, their rows, or both) on another server. This abstract class fixes the steps and their
// order; a concrete generator supplies the statement texts of one target dialect.
//
// A generator holds no state of its own: it reads the name settings from the settings store given at
// construction, at each use. Table names handed to the operations are delimited as the source reads
// them (DelimitTableName); the script writes every name in its target's own quotes (TargetNames.h),
// whatever delimiters the settings hold. Fields are in field order, as GetFieldsInfo gives them.
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "data/DbFieldInfo.h"
#include "export/TargetNames.h"

class DbConnection;
class DbRecordset;
class SettingsStore;
namespace ado {
class Variant;
}  // namespace ado

class ScriptGenerator {
 public:
  explicit ScriptGenerator(const SettingsStore& settings);
  ScriptGenerator();  // the process-wide settings
  virtual ~ScriptGenerator() = default;
  ScriptGenerator(const ScriptGenerator&) = delete;
  ScriptGenerator& operator=(const ScriptGenerator&) = delete;

  // The target column type of a field. A type the target cannot hold traces a warning and gives a
  // placeholder text ("***adVariant***", or "???" for a code the generator does not know).
  virtual std::string TranslateFieldType(const DbFieldInfo& field) const = 0;
  // The statement that removes an existing table, terminator and trailing blank line included.
  virtual std::string DropTableStatement(const std::string& tableName) const = 0;
  // With drop, the drop statement; then the statements that create the table. Written in one piece.
  virtual void WriteCreateTable(const std::string& tableName, const std::vector<DbFieldInfo>& fields, bool withDrop,
                                std::ostream& out) const = 0;
  // The rows of an open recordset, from its first row, as INSERT statements: at most maxRecords of
  // them (0 or less: all). Autonumber columns are written only with autonumbers; with zap the rows
  // of the target table are deleted first. Recordset errors (ComError) leave at once; what was
  // written stays written.
  virtual void WriteInsertStatements(DbRecordset& recordset, const std::string& tableName,
                                     const std::vector<DbFieldInfo>& fields, std::int32_t maxRecords,
                                     bool withAutonumbers, bool withZap, std::ostream& out) const = 0;
  // Called with the rows written so far every kProgressRows rows of WriteInsertStatements (and with
  // 0 before the first); false ends the rows with ExportCanceled. Not part of the script: the run
  // sets it for its duration.
  void SetRowProgress(std::function<bool(long rows)> progress) const { progress_ = std::move(progress); }

  // Written once at the start of a run's output (before the first table): what the target needs to
  // read the script as it is written (UTF-8 text). Empty by default.
  virtual std::string ScriptPrologue() const { return {}; }

  // The structure of one table: the given query, or "SELECT * FROM <table> WHERE 1=0", opened to
  // describe its fields, then WriteCreateTable. Raises ComError when the query cannot be opened.
  //
  // Two things only the rows can tell are read from them first (BoundFromData): the longest value
  // of a key column of unbounded text or bytes, which then gets a bounded type that holds every
  // value (a server cannot index an unbounded column), and whether a date-time column whose
  // precision the source does not report holds fractions of a second.
  void GenerateStructure(DbConnection& connection, const std::string& tableName,
                         const std::optional<std::string>& query, bool withDrop, std::ostream& out) const;
  // The rows of one table: the given query, or "SELECT * FROM <table>"; a query without rows writes
  // nothing at all (not even the zap statement). Raises ComError as WriteInsertStatements does.
  void GenerateData(DbConnection& connection, const std::string& tableName, const std::optional<std::string>& query,
                    std::int32_t maxRecords, bool withAutonumbers, bool withZap, std::ostream& out) const;

 protected:
  const SettingsStore& Settings() const { return settings_; }
  // The target's quotes for names.
  virtual NameQuotes Quotes() const = 0;
  // The field's name as the script writes it (TargetName with FieldNamePrefixUseAlways).
  std::string FieldName(const DbFieldInfo& field) const;
  // The table as the script writes it: the source's delimiters taken off, then TargetName with
  // TableNamePrefixUseAlways.
  std::string TableName(const std::string& delimitedTableName) const;
  // The warning of a type without a translation, and the placeholder it returns.
  std::string UnknownType(const char* generatorName, const DbFieldInfo& field, bool known) const;

  // The INSERT statements of both targets: one per row from the first, "INSERT INTO <table>
  // (<columns>) VALUES (<literals>);\n", columns and literals separated by "," without spaces. Returns
  // the number of statements written.
  long WriteInsertRows(DbRecordset& recordset, const std::string& tableName, const std::vector<DbFieldInfo>& fields,
                       std::int32_t maxRecords, bool withAutonumbers, std::ostream& out) const;
  // The literal of one value of a field, by the field's type group: NULL; a quoted, escaped string;
  // a date 'YYYY-MM-DD HH:MM:SS'; 1 or 0 for booleans; numbers in full with a '.' point; binary
  // values in hexadecimal. Text never goes into the script unquoted: a text in a numeric column
  // that is no plain number is written as a string literal.
  void AppendLiteral(std::string& out, const DbFieldInfo& field, const ado::Variant& value) const;
  // The target's string literal of a text, quotes included.
  virtual void AppendStringLiteral(std::string& out, std::string_view text) const = 0;
  // The target's literal of a byte string.
  virtual void AppendBinaryLiteral(std::string& out, std::string_view bytes) const = 0;

  // Fractional digits of a date-time column (0: whole seconds).
  static int FractionDigits(const DbFieldInfo& field);

 private:
  void BoundFromData(DbConnection& connection, const std::string& tableName, const std::optional<std::string>& query,
                     std::vector<DbFieldInfo>& fields) const;
  void AppendOtherLiteral(std::string& out, const DbFieldInfo& field, const ado::Variant& value) const;
  const SettingsStore& settings_;
  mutable std::function<bool(long)> progress_;
};

// Upper-case hexadecimal digits of bytes, two per byte.
std::string HexDigits(std::string_view bytes);
// The exact text of a numeric variant with the given decimal point: integers in decimal digits,
// doubles as the shortest text that reads back as the same value (exponent form where that is
// shorter), singles the same as singles, decimals with every digit, currency without trailing
// zeros. False, with nothing appended, when the value is no number or not finite.
bool AppendExactNumber(std::string& out, const ado::Variant& value, char point = '.');
// True for the variant types that hold numbers (integers, singles, doubles, currency, decimals).
bool IsNumberVariant(const ado::Variant& value);
