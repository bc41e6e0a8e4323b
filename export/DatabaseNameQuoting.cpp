#include "export/DatabaseNameQuoting.h"

#include "data/DbConnection.h"
#include "data/ado/ComError.h"
#include "data/ado/Connection.h"
#include "data/ado/Provider.h"
#include "export/NameDelimiting.h"
#include "workspace/SettingsStore.h"

namespace {

bool IsPlainIdentifier(const std::string& name, NameQuoteStyle style) {
  if (name.empty()) return false;
  for (char c : name) {
    const bool lower = c >= 'a' && c <= 'z';
    const bool upper = c >= 'A' && c <= 'Z';
    const bool digit = c >= '0' && c <= '9';
    if (lower || digit || c == '_' || c == '$') continue;
    if (upper && style == NameQuoteStyle::Backticks) continue;
    return false;
  }
  // PostgreSQL takes no leading digit or "$"; MySQL takes a leading digit only before letters.
  const char first = name.front();
  return !(first >= '0' && first <= '9') && first != '$';
}

std::string Quoted(const std::string& name, char quote) {
  std::string text(1, quote);
  for (char c : name) {
    if (c == quote) text += quote;
    text += c;
  }
  return text + quote;
}

std::string DelimitFor(const std::string& name, NameQuoteStyle style, const SettingsStore& settings,
                       const char* prefixKey, const char* postfixKey, const char* alwaysKey,
                       std::string (*configured)(const std::string&, const SettingsStore&)) {
  const bool defaults =
      settings.GetString("General", prefixKey) == "[" && settings.GetString("General", postfixKey) == "]";
  if (style == NameQuoteStyle::Configured || !defaults) return configured(name, settings);
  const bool needed =
      name.find(' ') != std::string::npos || settings.GetBool("General", alwaysKey) || !IsPlainIdentifier(name, style);
  if (!needed) return name;
  return Quoted(name, style == NameQuoteStyle::DoubleQuotes ? '"' : '`');
}

}  // namespace

NameQuoteStyle QuoteStyleForFamily(const std::string& family) {
  if (family == "PostgreSQL") return NameQuoteStyle::DoubleQuotes;
  if (family == "MySQL") return NameQuoteStyle::Backticks;
  return NameQuoteStyle::Configured;
}

NameQuoteStyle QuoteStyleOf(const DbConnection& connection) {
  if (!connection.IsOpen()) return NameQuoteStyle::Configured;
  try {
    std::shared_ptr<ado::Connection> ado = connection.AdoConnection();
    return ado ? QuoteStyleForFamily(ado->Session().DatabaseFamily()) : NameQuoteStyle::Configured;
  } catch (const ado::ComError&) {
    return NameQuoteStyle::Configured;
  }
}

std::string DelimitTableNameFor(const std::string& name, NameQuoteStyle style, const SettingsStore& settings) {
  return DelimitFor(name, style, settings, "TableNamePrefix", "TableNamePostfix", "TableNamePrefixUseAlways",
                    &DelimitTableName);
}

std::string DelimitFieldNameFor(const std::string& name, NameQuoteStyle style, const SettingsStore& settings) {
  return DelimitFor(name, style, settings, "FieldNamePrefix", "FieldNamePostfix", "FieldNamePrefixUseAlways",
                    &DelimitFieldName);
}
