#include "export/SQLServerScriptGenerator.h"

#include <algorithm>
#include <cstdio>

#include "data/DbRecordset.h"
#include "data/ado/AdoEnums.h"
#include "export/NameDelimiting.h"
#include "export/ScriptTypes.h"
#include "export/TargetTypeTable.h"

using namespace ado;

namespace {
constexpr const char* kGeneratorName = "SQLServerScriptGenerator";
// The widest lengths SQL Server takes before (max).
constexpr int kMaxNarrowLength = 8000;
constexpr int kMaxWideLength = 4000;
// A concatenation of literals shorter than (max) is cut at this many bytes.
constexpr std::size_t kMaxJoinedLength = 4000;

// Searched in order; the first row with the code decides.
constexpr TargetType kTypes[] = {
    {adEmpty, nullptr},
    // SQL Server's tinyint has no negatives.
    {adTinyInt, "smallint"},
    {adSmallInt, "smallint"},
    {adInteger, "int"},
    {adBigInt, "bigint"},
    {adUnsignedTinyInt, "tinyint"},
    // Unsigned types one size up, so that every value fits.
    {adUnsignedSmallInt, "int"},
    {adUnsignedInt, "bigint"},
    {adUnsignedBigInt, "decimal"},
    {adSingle, "real"},
    {adDouble, "float"},
    {adCurrency, "money"},
    {adDecimal, "decimal"},
    {adNumeric, "numeric"},
    {adBoolean, "tinyint"},
    {adError, nullptr},
    {adUserDefined, nullptr},
    {adVariant, nullptr},
    {adIDispatch, nullptr},
    {adIUnknown, nullptr},
    {adGUID, nullptr},
    {adDate, "datetime"},
    {adDBDate, "datetime"},
    {adDBTime, "datetime"},
    {adDBTimeStamp, "datetime"},
    {adBSTR, nullptr},
    {adChar, "char"},
    {adVarChar, "nvarchar"},
    {adLongVarChar, "ntext"},
    {adWChar, nullptr},
    {adVarWChar, "nvarchar"},
    {adLongVarWChar, "ntext"},
    {adBinary, "binary"},
    {adVarBinary, "varbinary"},
    {adLongVarBinary, "varbinary"},
    {adChapter, nullptr},
    {adFileTime, "datetime"},
    {adPropVariant, nullptr},
    {adVarNumeric, nullptr},
    {adArray, nullptr},
};

bool FitsLength(int size, int limit) {
  return size > 0 && size <= limit;
}

std::string Bracketed(std::string name) {
  for (std::size_t i = 0; (i = name.find(']', i)) != std::string::npos; i += 2) name.insert(i, 1, ']');
  return name;
}

std::string DoubledQuotes(std::string text) {
  for (std::size_t i = 0; (i = text.find('\'', i)) != std::string::npos; i += 2) text.insert(i, 1, '\'');
  return text;
}

std::string Format(const char* format, const std::string& a, const std::string& b = {}, const std::string& c = {}) {
  // The templates are short; the names are the only variable parts.
  std::string out;
  const std::string* args[] = {&a, &b, &c};
  int next = 0;
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      out += *args[next++];
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}
}  // namespace

std::string SQLServerScriptGenerator::BracketTable(const std::string& tableName) const {
  return Bracketed(UndelimitTableName(tableName, Settings()));
}

std::string SQLServerScriptGenerator::BracketField(const DbFieldInfo& field) const {
  return Bracketed(field.name);
}

std::string SQLServerScriptGenerator::TranslateFieldType(const DbFieldInfo& field) const {
  const TargetType* row = FindTargetType(kTypes, field.type);
  if (!row || !row->target) return UnknownType(kGeneratorName, field, row != nullptr);
  // datetime keeps only 1/300 of a second.
  if (FractionDigits(field) > 0) return "datetime2";
  if (field.type == adChar && !FitsLength(field.definedSize, kMaxNarrowLength)) return "varchar";
  if (field.type == adBinary && !FitsLength(field.definedSize, kMaxNarrowLength)) return "varbinary";
  return row->target;
}

std::string SQLServerScriptGenerator::TypeLength(const DbFieldInfo& field) const {
  char buffer[48];
  switch (field.type) {
    case adChar:
    case adBinary:
    case adVarBinary:
      if (!FitsLength(field.definedSize, kMaxNarrowLength)) return " (max)";
      std::snprintf(buffer, sizeof buffer, " (%ld)", static_cast<long>(field.definedSize));
      return buffer;
    case adVarChar:
    case adVarWChar:
      if (!FitsLength(field.definedSize, kMaxWideLength)) return " (max)";
      std::snprintf(buffer, sizeof buffer, " (%ld)", static_cast<long>(field.definedSize));
      return buffer;
    case adLongVarBinary:
      return " (max)";
    case adDecimal:
    case adNumeric: {
      // SQL Server holds 38 digits; a driver that reports no precision gets the widest.
      const int precision = field.precision > 0 ? std::min(field.precision, 38) : 38;
      const int scale = std::clamp(field.numericScale, 0, precision);
      std::snprintf(buffer, sizeof buffer, " (%d, %d)", precision, scale);
      return buffer;
    }
    case adUnsignedBigInt:
      return " (20, 0)";
    default:
      if (FractionDigits(field) > 0) {
        std::snprintf(buffer, sizeof buffer, " (%d)", std::min(FractionDigits(field), 7));
        return buffer;
      }
      return {};
  }
}

std::string SQLServerScriptGenerator::DropTableStatement(const std::string& tableName) const {
  const std::string name = BracketTable(tableName);
  return Format(
             "if exists (select * from sysobjects where id = object_id(N'[dbo].[%s]') and "
             "OBJECTPROPERTY(id, N'IsUserTable') = 1)\ndrop table [dbo].[%s]\n;\n",
             DoubledQuotes(name), name) +
         "\n";
}

void SQLServerScriptGenerator::WriteCreateTable(const std::string& tableName, const std::vector<DbFieldInfo>& fields,
                                                bool withDrop, std::ostream& out) const {
  const std::string table = BracketTable(tableName);
  std::string text;
  if (withDrop) text += DropTableStatement(tableName);
  text += Format("CREATE TABLE [dbo].[%s] (\n", table);
  std::vector<const DbFieldInfo*> defaults;
  std::vector<const DbFieldInfo*> keys;
  for (const DbFieldInfo& field : fields) {
    std::string type = "[" + TranslateFieldType(field) + "]" + TypeLength(field);
    if (field.isAutoIncrement) type += " IDENTITY (1, 1)";
    const bool notNull = field.isKeyColumn || field.attributes.find("adFldIsNullable") == std::string::npos;
    text += "\t[" + BracketField(field) + "] " + type + " " + (notNull ? "NOT NULL" : "NULL") + " ,\n";
    if (IsNumericType(field.type) && !field.isAutoIncrement) defaults.push_back(&field);
    if (field.isKeyColumn) keys.push_back(&field);
  }
  text += ") ON [PRIMARY]\n;\n";
  if (!defaults.empty() || !keys.empty()) {
    text += Format("\nALTER TABLE [dbo].[%s] WITH NOCHECK ADD\r\n", table);
    for (std::size_t i = 0; i < defaults.size(); ++i) {
      const std::string column = BracketField(*defaults[i]);
      text += Format("\tCONSTRAINT [DF_%s_%s] DEFAULT (0) FOR [%s]", table, column, column);
      // Constraints are separated by commas; one after the last would not parse.
      text += (i + 1 < defaults.size() || !keys.empty()) ? ",\n" : "\n";
    }
    if (!keys.empty()) {
      text += Format("\tCONSTRAINT [PK_%s] PRIMARY KEY  NONCLUSTERED\r\n\t(\n", table);
      for (std::size_t i = 0; i < keys.size(); ++i) {
        text += "\t\t[" + BracketField(*keys[i]) + "]";
        if (i + 1 < keys.size()) text += ",";
        text += "\n";
      }
      text += "\t)  ON [PRIMARY]\n";
    }
    text += ";\n\n";
  }
  text += "\n";
  out << text;
}

void SQLServerScriptGenerator::WriteInsertStatements(DbRecordset& recordset, const std::string& tableName,
                                                     const std::vector<DbFieldInfo>& fields, std::int32_t maxRecords,
                                                     bool withAutonumbers, bool withZap, std::ostream& out) const {
  const std::string table = TableName(tableName);
  if (withZap) out << "DELETE FROM " << table << ";\n";
  // SQL Server refuses IDENTITY_INSERT on a table without an identity column.
  const bool identity = withAutonumbers && std::any_of(fields.begin(), fields.end(),
                                                       [](const DbFieldInfo& f) { return f.isAutoIncrement; });
  if (identity) out << "SET IDENTITY_INSERT " << table << " ON;\n";
  WriteInsertRows(recordset, tableName, fields, maxRecords, withAutonumbers, out);
  if (identity) out << "SET IDENTITY_INSERT " << table << " OFF;\n";
  out << "\n";
}

void SQLServerScriptGenerator::AppendStringLiteral(std::string& out, std::string_view text) const {
  auto isJoined = [](unsigned char c) { return c == 0 || c == 8 || c == 9 || c == 10 || c == 13 || c == 26; };
  bool wide = false;
  bool joined = false;
  for (unsigned char c : text) {
    if (c >= 0x80) wide = true;
    if (isJoined(c)) joined = true;
  }
  const char* open = wide ? "N'" : "'";
  // Joined pieces shorter than (max) would be cut at 4000 characters: the first piece is cast to
  // (max), so that every concatenation after it is one.
  const bool widen = joined && text.size() > kMaxJoinedLength;
  if (widen) out += "CAST(";
  out += open;
  bool firstPiece = true;
  for (char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (isJoined(c)) {
      out += '\'';
      if (widen && firstPiece) out += wide ? " AS nvarchar(max))" : " AS varchar(max))";
      firstPiece = false;
      char buffer[16];
      std::snprintf(buffer, sizeof buffer, "+CHAR(%u)+", c);
      out += buffer;
      out += open;
    } else if (c == '\'') {
      out += "''";
    } else {
      out += ch;
    }
  }
  out += '\'';
}

void SQLServerScriptGenerator::AppendBinaryLiteral(std::string& out, std::string_view bytes) const {
  out += "0x";
  out += HexDigits(bytes);
}
