#include "export/NameDelimiting.h"

#include "workspace/SettingsStore.h"

namespace {
std::string Delimit(const std::string& name, const SettingsStore& settings, const char* prefixKey,
                    const char* postfixKey, const char* alwaysKey) {
  if (name.find(' ') == std::string::npos && !settings.GetBool("General", alwaysKey)) return name;
  return settings.GetString("General", prefixKey) + name + settings.GetString("General", postfixKey);
}

std::string Undelimit(const std::string& text, const SettingsStore& settings, const char* prefixKey,
                      const char* postfixKey) {
  const std::string prefix = settings.GetString("General", prefixKey);
  const std::string postfix = settings.GetString("General", postfixKey);
  if (prefix.empty() && postfix.empty()) return text;
  if (text.size() < prefix.size() + postfix.size()) return text;
  if (text.compare(0, prefix.size(), prefix) != 0) return text;
  if (text.compare(text.size() - postfix.size(), postfix.size(), postfix) != 0) return text;
  return text.substr(prefix.size(), text.size() - prefix.size() - postfix.size());
}
}  // namespace

std::string DelimitTableName(const std::string& name, const SettingsStore& settings) {
  return Delimit(name, settings, "TableNamePrefix", "TableNamePostfix", "TableNamePrefixUseAlways");
}

std::string DelimitFieldName(const std::string& name, const SettingsStore& settings) {
  return Delimit(name, settings, "FieldNamePrefix", "FieldNamePostfix", "FieldNamePrefixUseAlways");
}

std::string DelimitTableName(const std::string& name) {
  return DelimitTableName(name, AppSettings());
}
std::string DelimitFieldName(const std::string& name) {
  return DelimitFieldName(name, AppSettings());
}

std::string UndelimitTableName(const std::string& delimited, const SettingsStore& settings) {
  return Undelimit(delimited, settings, "TableNamePrefix", "TableNamePostfix");
}

std::string UndelimitFieldName(const std::string& delimited, const SettingsStore& settings) {
  return Undelimit(delimited, settings, "FieldNamePrefix", "FieldNamePostfix");
}
