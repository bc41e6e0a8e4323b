#include "export/ScriptGenerator.h"

#include <strings.h>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "data/DbConnection.h"
#include "data/DbRecordset.h"
#include "data/Trace.h"
#include "data/ado/AdoEnums.h"
#include "data/ado/ComError.h"
#include "data/ado/ValueView.h"
#include "data/ado/Variant.h"
#include "export/ExportUi.h"
#include "export/NameDelimiting.h"
#include "export/ScriptTypes.h"
#include "text/OleDate.h"
#include "workspace/SettingsStore.h"

namespace {
template <class T>
void AppendChars(std::string& out, T value) {
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (ec == std::errc()) out.append(buffer, end);
}

void AppendTwoDigits(char* at, int n) {
  at[0] = static_cast<char>('0' + n / 10 % 10);
  at[1] = static_cast<char>('0' + n % 10);
}

// '%04d-%02d-%02d %02d:%02d:%02d', with '.%03d' when the time has a fraction of a second (the
// dates hold milliseconds); a date without calendar fields gives all of them 0.
void AppendDateLiteral(std::string& out, double date) {
  DateParts p;
  if (auto parts = OleDateToParts(date)) p = *parts;
  char text[] = "'0000-00-00 00:00:00.000'";
  AppendTwoDigits(text + 1, p.year / 100);
  AppendTwoDigits(text + 3, p.year % 100);
  AppendTwoDigits(text + 6, p.month);
  AppendTwoDigits(text + 9, p.day);
  AppendTwoDigits(text + 12, p.hour);
  AppendTwoDigits(text + 15, p.minute);
  AppendTwoDigits(text + 18, p.second);
  if (p.millisecond == 0) {
    text[20] = '\'';
    out.append(text, 21);
    return;
  }
  text[21] = static_cast<char>('0' + p.millisecond / 100 % 10);
  AppendTwoDigits(text + 22, p.millisecond % 100);
  out.append(text, sizeof text - 1);
}

// Key columns whose type a server cannot index, and date-times whose precision the source leaves
// open: both are settled by reading the rows.
constexpr int kLongestIndexedText = 4000;
constexpr int kLongestIndexedBytes = 8000;

bool IsUnboundedText(const DbFieldInfo& f) {
  return IsStringType(f.type) && (f.type == ado::adLongVarChar || f.type == ado::adLongVarWChar ||
                                  f.type == ado::adBSTR || f.definedSize <= 0 || f.definedSize > kLongestIndexedText);
}
bool IsUnboundedBytes(const DbFieldInfo& f) {
  return IsBinaryType(f.type) &&
         (f.type == ado::adLongVarBinary || f.definedSize <= 0 || f.definedSize > kLongestIndexedBytes);
}
bool IsDateTimeType(int type) {
  return type == ado::adDBTimeStamp || type == ado::adDate || type == ado::adFileTime;
}

enum class Probe { None, KeyLength, Fraction };

Probe ProbeOf(const DbFieldInfo& f) {
  if (f.isKeyColumn && (IsUnboundedText(f) || IsUnboundedBytes(f))) return Probe::KeyLength;
  if (IsDateTimeType(f.type) && f.numericScale <= 0) return Probe::Fraction;
  return Probe::None;
}

// The length of a value as its column counts it: characters of a text, bytes of a byte string.
std::size_t ValueLength(const ado::ValueView& v, bool bytes) {
  if (v.IsNull()) return 0;
  if (v.vt == ado::VT_BSTR || v.vt == (ado::VT_ARRAY | ado::VT_UI1)) return bytes ? v.s.size() : Utf8Length(v.s);
  // A value stored as another kind (SQLite keeps 42 in a text column as a number) is written as its text.
  return Utf8Length(v.ToVariant().ToText());
}

// Decimals of up to 19 digits, the common case, without the 128-bit arithmetic.
bool AppendSmallDecimal(std::string& out, const ado::Decimal& d, char point) {
  if (d.magnitude > UINT64_MAX) return false;
  char digits[24];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(d.magnitude));
  if (ec != std::errc()) return false;
  const std::string_view text(digits, static_cast<std::size_t>(end - digits));
  if (d.negative && d.magnitude != 0) out += '-';
  if (d.scale == 0) {
    out.append(text);
  } else if (text.size() > d.scale) {
    out.append(text.substr(0, text.size() - d.scale));
    out += point;
    out.append(text.substr(text.size() - d.scale));
  } else {
    out += '0';
    out += point;
    out.append(d.scale - text.size(), '0');
    out.append(text);
  }
  return true;
}

// The boolean literal of a text: the text read as a decimal integer (leading blanks and a sign
// allowed, stopping at the first other character) is not 0; "true" and "t" count too, as some
// drivers deliver booleans so.
bool TextIsTrue(const std::string& text) {
  if (std::strtol(text.c_str(), nullptr, 10) != 0) return true;
  const char* p = text.c_str();
  while (*p == ' ' || *p == '\t') ++p;
  return strcasecmp(p, "true") == 0 || strcasecmp(p, "t") == 0;
}

// [blanks][sign]digits[.digits][e[sign]digits][blanks], or nothing when the text is no such number.
std::optional<std::string> PlainNumber(std::string text) {
  for (char& c : text)
    if (c == ',') c = '.';
  std::size_t b = text.find_first_not_of(" \t");
  std::size_t e = text.find_last_not_of(" \t");
  if (b == std::string::npos) return std::nullopt;
  text = text.substr(b, e - b + 1);
  std::size_t i = 0;
  auto digits = [&] {
    std::size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i - start;
  };
  if (text[i] == '+' || text[i] == '-') ++i;
  std::size_t whole = digits();
  std::size_t fraction = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    fraction = digits();
  }
  if (whole + fraction == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  return text;
}
}  // namespace

std::string HexDigits(std::string_view bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

bool IsNumberVariant(const ado::Variant& v) {
  switch (v.vt()) {
    case ado::VT_I1:
    case ado::VT_I2:
    case ado::VT_I4:
    case ado::VT_I8:
    case ado::VT_UI1:
    case ado::VT_UI2:
    case ado::VT_UI4:
    case ado::VT_UI8:
    case ado::VT_R4:
    case ado::VT_R8:
    case ado::VT_CY:
    case ado::VT_DECIMAL:
      return true;
    default:
      return false;
  }
}

bool AppendExactNumber(std::string& out, const ado::Variant& v, char point) {
  const std::size_t start = out.size();
  switch (v.vt()) {
    case ado::VT_I1:
    case ado::VT_I2:
    case ado::VT_I4:
    case ado::VT_I8:
      AppendChars(out, v.Int());
      return true;
    case ado::VT_UI1:
    case ado::VT_UI2:
    case ado::VT_UI4:
    case ado::VT_UI8:
      AppendChars(out, v.UInt());
      return true;
    case ado::VT_R4: {
      if (!std::isfinite(v.Real())) return false;
      const float single = static_cast<float>(v.Real());
      char buffer[32];
      auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, single);
      const std::string text(buffer, ec == std::errc() ? end : buffer);
      // Servers parse a literal as a double, refuse it beyond the largest single, and round it to
      // the column's single: the single's own shortest text is used when that gives it back (near
      // the largest single it is out of range, and a double rounding can miss); otherwise the
      // double's, which always does.
      const double parsed = std::strtod(text.c_str(), nullptr);
      if (std::fabs(parsed) <= std::numeric_limits<float>::max() && static_cast<float>(parsed) == single)
        out += text;
      else
        AppendChars(out, static_cast<double>(single));
      break;
    }
    case ado::VT_R8:
      if (!std::isfinite(v.Real())) return false;
      AppendChars(out, v.Real());
      break;
    case ado::VT_CY: {
      ado::Decimal d = ado::Decimal::FromInt64(v.Int());
      d.scale = 4;
      std::string text = d.ToString('.');
      while (text.back() == '0') text.pop_back();
      if (text.back() == '.') text.pop_back();
      out += text;
      break;
    }
    case ado::VT_DECIMAL:
      if (!AppendSmallDecimal(out, v.Dec(), point)) out += v.Dec().ToString(point);
      return true;
    default:
      return false;
  }
  if (point != '.') {
    for (std::size_t i = start; i < out.size(); ++i)
      if (out[i] == '.') out[i] = point;
  }
  return true;
}

ScriptGenerator::ScriptGenerator(const SettingsStore& settings) : settings_(settings) {}
ScriptGenerator::ScriptGenerator() : settings_(AppSettings()) {}

std::string ScriptGenerator::FieldName(const DbFieldInfo& field) const {
  return TargetName(field.name, Quotes(), settings_.GetBool("General", "FieldNamePrefixUseAlways"));
}

std::string ScriptGenerator::TableName(const std::string& delimitedTableName) const {
  return TargetName(UndelimitTableName(delimitedTableName, settings_), Quotes(),
                    settings_.GetBool("General", "TableNamePrefixUseAlways"));
}

int ScriptGenerator::FractionDigits(const DbFieldInfo& field) {
  if (!IsDateTimeType(field.type)) return 0;
  return std::clamp(field.numericScale, 0, 9);
}

std::string ScriptGenerator::UnknownType(const char* generatorName, const DbFieldInfo& field, bool known) const {
  const char* typeName = DataTypeName(field.type);
  Trace(TraceWarning, "%s::TranslateFieldType() : unknown type \"%s\" for field \"%s\"", generatorName,
        typeName ? typeName : "", field.name.c_str());
  if (!known) return "???";
  return std::string("***") + (typeName ? typeName : "") + "***";
}

void ScriptGenerator::GenerateStructure(DbConnection& connection, const std::string& tableName,
                                        const std::optional<std::string>& query, bool withDrop,
                                        std::ostream& out) const {
  const std::string text = query ? *query : "SELECT * FROM " + tableName + " WHERE 1=0";
  std::vector<DbFieldInfo> fields;
  {
    DbRecordset recordset;
    recordset.Open(&connection, text);
    recordset.GetFieldsInfo(fields);
    recordset.Close();
  }
  BoundFromData(connection, tableName, query, fields);
  WriteCreateTable(tableName, fields, withDrop, out);
}

void ScriptGenerator::BoundFromData(DbConnection& connection, const std::string& tableName,
                                    const std::optional<std::string>& query, std::vector<DbFieldInfo>& fields) const {
  std::vector<std::size_t> probed;
  for (std::size_t i = 0; i < fields.size(); ++i)
    if (ProbeOf(fields[i]) != Probe::None) probed.push_back(i);
  if (probed.empty()) return;
  // Only the probed columns of a table are read; a query is read as it is, by position. A source
  // that cannot read the column names as the settings delimit them gets the whole table.
  bool whole = query.has_value();
  auto recordsetPtr = std::make_unique<DbRecordset>();
  if (!whole) {
    std::string text = "SELECT ";
    for (std::size_t k = 0; k < probed.size(); ++k)
      text += (k ? ", " : "") + DelimitFieldName(fields[probed[k]].name, settings_);
    text += " FROM " + tableName;
    try {
      recordsetPtr->Open(&connection, text);
    } catch (const ado::ComError&) {
      whole = true;
      recordsetPtr = std::make_unique<DbRecordset>();
    }
  }
  if (whole) recordsetPtr->Open(&connection, query ? *query : "SELECT * FROM " + tableName);
  DbRecordset& recordset = *recordsetPtr;
  std::vector<std::size_t> longest(probed.size(), 0);
  std::vector<bool> seen(probed.size(), false);
  std::vector<bool> fraction(probed.size(), false);
  while (!recordset.IsEOF()) {
    for (std::size_t k = 0; k < probed.size(); ++k) {
      const DbFieldInfo& f = fields[probed[k]];
      const long column = static_cast<long>(whole ? probed[k] : k);
      if (ProbeOf(f) == Probe::KeyLength) {
        const ado::ValueView v = recordset.GetFieldViewIdx(column);
        if (v.IsNull()) continue;
        seen[k] = true;
        longest[k] = std::max(longest[k], ValueLength(v, IsBinaryType(f.type)));
      } else if (!fraction[k]) {
        const ado::ValueView v = recordset.GetFieldViewIdx(column);
        if (v.vt != ado::VT_DATE) continue;
        if (auto parts = OleDateToParts(v.d); parts && parts->millisecond != 0) fraction[k] = true;
      }
    }
    recordset.MoveNext();
  }
  recordset.Close();
  for (std::size_t k = 0; k < probed.size(); ++k) {
    DbFieldInfo& f = fields[probed[k]];
    if (ProbeOf(f) == Probe::KeyLength) {
      // Every value fits; a table without values gets room for common keys.
      const std::size_t n = seen[k] ? std::max<std::size_t>(longest[k], 1) : 255;
      f.type = IsBinaryType(f.type) ? ado::adVarBinary : ado::adVarWChar;
      f.definedSize = static_cast<int>(std::min<std::size_t>(n, 1u << 30));
    } else if (fraction[k]) {
      f.numericScale = 6;
    }
  }
}

void ScriptGenerator::GenerateData(DbConnection& connection, const std::string& tableName,
                                   const std::optional<std::string>& query, std::int32_t maxRecords,
                                   bool withAutonumbers, bool withZap, std::ostream& out) const {
  const std::string text = query ? *query : "SELECT * FROM " + tableName;
  DbRecordset recordset;
  recordset.Open(&connection, text);
  if (!recordset.IsEOF()) {
    std::vector<DbFieldInfo> fields;
    recordset.GetFieldsInfo(fields);
    WriteInsertStatements(recordset, tableName, fields, maxRecords, withAutonumbers, withZap, out);
  }
  recordset.Close();
}

long ScriptGenerator::WriteInsertRows(DbRecordset& recordset, const std::string& tableName,
                                      const std::vector<DbFieldInfo>& fields, std::int32_t maxRecords,
                                      bool withAutonumbers, std::ostream& out) const {
  // The column list is the same for every row: build it once.
  std::vector<long> written;
  std::string head = "INSERT INTO " + TableName(tableName) + " (";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].isAutoIncrement && !withAutonumbers) continue;
    if (!written.empty()) head += ',';
    head += FieldName(fields[i]);
    written.push_back(static_cast<long>(i));
  }
  head += ") VALUES (";

  recordset.MoveFirst();
  long count = 0;
  std::string line;
  if (progress_ && !progress_(0)) throw ExportCanceled();
  while (!recordset.IsEOF()) {
    // Between two statements, so that a stopped export leaves only whole statements.
    if (progress_ && count % kProgressRows == 0 && count > 0 && !progress_(count)) throw ExportCanceled();
    line.assign(head);
    for (std::size_t k = 0; k < written.size(); ++k) {
      if (k) line += ',';
      // By position: a query may hold two columns of the same name.
      AppendLiteral(line, fields[static_cast<std::size_t>(written[k])], recordset.GetFieldVariantIdx(written[k]));
    }
    line += ");\n";
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    ++count;
    if (maxRecords > 0 && count >= maxRecords) break;
    recordset.MoveNext();
  }
  return count;
}

void ScriptGenerator::AppendLiteral(std::string& out, const DbFieldInfo& field, const ado::Variant& value) const {
  if (!value.HasValue()) {
    out += "NULL";
    return;
  }
  if (value.IsByteArray()) return AppendBinaryLiteral(out, value.Str());
  const int type = field.type;
  if (IsStringType(type)) {
    if (value.vt() == ado::VT_BSTR) return AppendStringLiteral(out, value.Str());
    return AppendStringLiteral(out, value.ToText());
  }
  if (IsDateType(type)) {
    if (value.vt() == ado::VT_DATE) return AppendDateLiteral(out, value.Real());
    return AppendOtherLiteral(out, field, value);
  }
  if (IsBooleanType(type)) {
    if (value.vt() == ado::VT_BOOL) {
      out += value.Bool() ? '1' : '0';
      return;
    }
    out += TextIsTrue(value.vt() == ado::VT_BSTR ? value.Str() : value.ToText()) ? '1' : '0';
    return;
  }
  // Currency too: a target column of money or decimal takes the number, not a quoted text.
  if (IsNumericType(type) || type == ado::adCurrency) {
    if (value.vt() == ado::VT_BSTR) {
      if (auto number = PlainNumber(value.Str())) {
        out += *number;
        return;
      }
      return AppendStringLiteral(out, value.Str());
    }
    if (value.vt() == ado::VT_BOOL) {
      out += value.Bool() ? "-1" : "0";
      return;
    }
  }
  AppendOtherLiteral(out, field, value);
}

// Values of any other type, and values whose kind does not match their column's: numbers in full,
// dates as dates, texts quoted. A number the target cannot hold (NaN, an infinity) becomes NULL.
void ScriptGenerator::AppendOtherLiteral(std::string& out, const DbFieldInfo& field, const ado::Variant& value) const {
  if (IsNumberVariant(value)) {
    if (AppendExactNumber(out, value)) return;
    Trace(TraceWarning, "ScriptGenerator::WriteInsertStatements() : value \"%s\" of field \"%s\" written as NULL",
          value.ToText().c_str(), field.name.c_str());
    out += "NULL";
    return;
  }
  switch (value.vt()) {
    case ado::VT_DATE:
      return AppendDateLiteral(out, value.Real());
    case ado::VT_BOOL:
      out += value.Bool() ? "-1" : "0";
      return;
    case ado::VT_BSTR:
      return AppendStringLiteral(out, value.Str());
    default:
      return AppendStringLiteral(out, value.ToText());
  }
}
