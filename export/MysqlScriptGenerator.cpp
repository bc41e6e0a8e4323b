#include "export/MysqlScriptGenerator.h"

#include <algorithm>
#include <cstdio>

#include "data/ado/AdoEnums.h"
#include "export/ScriptTypes.h"
#include "export/TargetTypeTable.h"

using namespace ado;

namespace {
constexpr const char* kGeneratorName = "MysqlScriptGenerator";
// The longest varchar a utf8mb4 row can hold; longer texts go to a text type.
constexpr int kMaxVarcharLength = 16383;
// The longest varbinary given its own length; longer ones become longblob.
constexpr int kMaxVarbinaryLength = 8000;

// Searched in order; the first row with the code decides. Decimals and binary types are sized from
// the field (TranslateFieldType).
constexpr TargetType kTypes[] = {
    {adEmpty, nullptr},
    {adTinyInt, "tinyint"},
    {adSmallInt, "int"},
    {adInteger, "int"},
    {adBigInt, "bigint"},
    {adUnsignedTinyInt, "tinyint unsigned"},
    {adUnsignedSmallInt, "smallint unsigned"},
    {adUnsignedInt, "int unsigned"},
    {adUnsignedBigInt, "bigint unsigned"},
    {adSingle, "float"},
    {adDouble, "double"},
    {adCurrency, "decimal(19,4)"},
    {adDecimal, "decimal"},
    {adNumeric, "decimal"},
    {adBoolean, "tinyint(1)"},
    {adError, nullptr},
    {adUserDefined, nullptr},
    {adVariant, nullptr},
    {adIDispatch, nullptr},
    {adIUnknown, nullptr},
    {adGUID, nullptr},
    {adDate, "datetime"},
    {adDBDate, "date"},
    {adDBTime, "time"},
    {adDBTimeStamp, "datetime"},
    {adBSTR, nullptr},
    {adChar, "varchar"},
    {adVarChar, "varchar"},
    {adLongVarChar, "mediumtext"},
    {adWChar, "varchar"},
    {adVarWChar, "varchar"},
    {adLongVarWChar, "mediumtext"},
    {adBinary, "varbinary"},
    {adVarBinary, "varbinary"},
    {adLongVarBinary, "longblob"},
    {adChapter, nullptr},
    {adFileTime, nullptr},
    {adPropVariant, nullptr},
    {adVarNumeric, nullptr},
    {adArray, nullptr},
};

bool IsTextType(int code) {
  return code == adChar || code == adVarChar || code == adWChar || code == adVarWChar;
}

// Types followed by "(defined size)". The unsigned int of the original list is left out: its
// length would have to stand before UNSIGNED.
bool IsSizedType(int code) {
  return code == adTinyInt || IsTextType(code);
}
bool IsFloatingType(int code) {
  return code == adSingle;
}
bool FitsVarchar(const DbFieldInfo& f) {
  return f.definedSize > 0 && f.definedSize <= kMaxVarcharLength;
}

// InnoDB indexes at most 3072 bytes of one key; utf8mb4 takes up to 4 bytes a character, and a
// column of another type is counted at 8 bytes.
constexpr long kMaxKeyBytes = 3072;
constexpr long kBytesPerChar = 4;
constexpr long kUnbounded = 1L << 40;

// The prefix length each key column gets in PRIMARY KEY(...), 0 for the whole column: text and
// byte columns share what the key may hold, the shorter ones taking all they need first. A text or
// blob type always needs a prefix; a longer varchar gets one only when the key cannot hold it.
std::vector<long> KeyPrefixes(const std::vector<const DbFieldInfo*>& keys, const std::vector<std::string>& types) {
  std::vector<long> need(keys.size(), 0);
  std::vector<std::size_t> shared;
  long budget = kMaxKeyBytes;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const DbFieldInfo& f = *keys[i];
    const bool blob = types[i] == "mediumtext" || types[i] == "longblob";
    if (IsTextType(f.type) || blob) {
      need[i] = blob ? kUnbounded : f.definedSize * (IsBinaryType(f.type) ? 1 : kBytesPerChar);
      shared.push_back(i);
    } else if (types[i].rfind("varbinary", 0) == 0) {
      need[i] = f.definedSize;
      shared.push_back(i);
    } else {
      budget -= 8;
    }
  }
  std::sort(shared.begin(), shared.end(), [&](std::size_t a, std::size_t b) { return need[a] < need[b]; });
  std::vector<long> prefix(keys.size(), 0);
  for (std::size_t k = 0; k < shared.size(); ++k) {
    const std::size_t i = shared[k];
    const long share = std::max(budget, 0L) / static_cast<long>(shared.size() - k);
    const long given = std::min(need[i], share);
    budget -= given;
    if (given < need[i]) {
      const bool bytes = IsBinaryType(keys[i]->type);
      prefix[i] = std::max(1L, bytes ? given : given / kBytesPerChar);
    }
  }
  return prefix;
}
}  // namespace

std::string MysqlScriptGenerator::TranslateFieldType(const DbFieldInfo& field) const {
  const TargetType* row = FindTargetType(kTypes, field.type);
  if (!row || !row->target) return UnknownType(kGeneratorName, field, row != nullptr);
  char buffer[48];
  switch (field.type) {
    case adDecimal:
    case adNumeric: {
      // MySQL holds 65 digits, 30 of them after the point.
      const int precision = field.precision > 0 ? std::min(field.precision, 65) : 65;
      const int scale = std::clamp(field.numericScale, 0, std::min(precision, 30));
      std::snprintf(buffer, sizeof buffer, "decimal(%d,%d)", precision, scale);
      return buffer;
    }
    case adDate:
    case adDBTimeStamp:
      if (FractionDigits(field) > 0) {
        std::snprintf(buffer, sizeof buffer, "datetime(%d)", std::min(FractionDigits(field), 6));
        return buffer;
      }
      return row->target;
    case adBinary:
    case adVarBinary:
      if (field.definedSize <= 0 || field.definedSize > kMaxVarbinaryLength) return "longblob";
      std::snprintf(buffer, sizeof buffer, "varbinary(%ld)", static_cast<long>(field.definedSize));
      return buffer;
    default:
      if (IsTextType(field.type) && !FitsVarchar(field)) return "mediumtext";
      return row->target;
  }
}

std::string MysqlScriptGenerator::DropTableStatement(const std::string& tableName) const {
  return "DROP TABLE IF EXISTS " + TableName(tableName) + ";\n\n";
}

void MysqlScriptGenerator::WriteCreateTable(const std::string& tableName, const std::vector<DbFieldInfo>& fields,
                                            bool withDrop, std::ostream& out) const {
  std::string text;
  if (withDrop) text += DropTableStatement(tableName);
  text += "CREATE TABLE " + TableName(tableName) + " (\n";
  char buffer[64];
  std::vector<std::string> types(fields.size());
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const DbFieldInfo& field = fields[i];
    const std::string name = FieldName(field);
    text += "    " + name;
    // Padded to 20 characters, not bytes: a name with accented letters lines up with the others.
    const std::size_t length = Utf8Length(name);
    if (length < 20) text.append(20 - length, ' ');
    text += ' ';
    const std::string& type = types[i] = TranslateFieldType(field);
    text += type;
    if (type == "int" && field.isAutoIncrement) text += "(11) UNSIGNED";
    // A text too long for varchar became mediumtext, which takes no length.
    if (IsSizedType(field.type) && (!IsTextType(field.type) || FitsVarchar(field))) {
      std::snprintf(buffer, sizeof buffer, "(%ld)", static_cast<long>(field.definedSize));
      text += buffer;
    }
    if (IsFloatingType(field.type)) text += "(2)";
    const bool notNull = field.attributes.find("adFldIsNullable") == std::string::npos || field.isKeyColumn;
    text += notNull ? " NOT NULL" : " NULL";
    if (field.isAutoIncrement) text += " AUTO_INCREMENT";
    if (i + 1 < fields.size()) text += ",\n";
  }
  std::vector<const DbFieldInfo*> keys;
  std::vector<std::string> keyTypes;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!fields[i].isKeyColumn) continue;
    keys.push_back(&fields[i]);
    keyTypes.push_back(types[i]);
  }
  if (!keys.empty()) {
    const std::vector<long> prefixes = KeyPrefixes(keys, keyTypes);
    text += ",\n    PRIMARY KEY(";
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (i) text += ",";
      text += FieldName(*keys[i]);
      if (prefixes[i] > 0) {
        std::snprintf(buffer, sizeof buffer, "(%ld)", prefixes[i]);
        text += buffer;
      }
    }
    text += ")";
  }
  // MySQL takes an AUTO_INCREMENT column only as the first column of an index: one that does not
  // lead the primary key gets an index of its own.
  for (const DbFieldInfo& field : fields) {
    if (!field.isAutoIncrement) continue;
    if (!keys.empty() && keys.front() == &field) continue;
    text += ",\n    KEY(" + FieldName(field) + ")";
  }
  text += "\n);\n";
  text += "\n";
  out << text;
}

void MysqlScriptGenerator::WriteInsertStatements(DbRecordset& recordset, const std::string& tableName,
                                                 const std::vector<DbFieldInfo>& fields, std::int32_t maxRecords,
                                                 bool withAutonumbers, bool withZap, std::ostream& out) const {
  if (withZap) out << "DELETE FROM " << TableName(tableName) << ";\n";
  WriteInsertRows(recordset, tableName, fields, maxRecords, withAutonumbers, out);
  out << "\n";
}

std::string MysqlScriptGenerator::ScriptPrologue() const {
  return "SET NAMES utf8mb4;\n\n";
}

void MysqlScriptGenerator::AppendStringLiteral(std::string& out, std::string_view text) const {
  out += '\'';
  std::size_t plain = 0;  // the start of the characters not yet written
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char* escape = nullptr;
    switch (text[i]) {
      case '\0':
        // A raw NUL ends the mysql client's statement.
        escape = "\\0";
        break;
      case '\b':
        escape = "\\b";
        break;
      case '\t':
        escape = "\\t";
        break;
      case '\n':
        escape = "\\n";
        break;
      case '\r':
        escape = "\\r";
        break;
      case '\x1a':
        // MySQL reads \z as the letter z.
        escape = "\\Z";
        break;
      case '"':
        escape = "\\\"";
        break;
      case '\'':
        escape = "\\'";
        break;
      case '\\':
        escape = "\\\\";
        break;
      default:
        continue;
    }
    out.append(text.substr(plain, i - plain));
    out += escape;
    plain = i + 1;
  }
  out.append(text.substr(plain));
  out += '\'';
}

void MysqlScriptGenerator::AppendBinaryLiteral(std::string& out, std::string_view bytes) const {
  // 0x with no digits is no literal at all.
  if (bytes.empty()) {
    out += "X''";
    return;
  }
  out += "0x";
  out += HexDigits(bytes);
}
