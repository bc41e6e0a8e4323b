#pragma once
// Table and column names as the scripts and the schema browser write them: wrapped in the
// configured prefix and postfix (General/TableNamePrefix ... FieldNamePrefixUseAlways) when the name
// holds a space character, or always when the UseAlways setting is on. Only the space counts: a tab
// or a hyphen never causes delimiting. The settings are read at each call.
#include <string>

class SettingsStore;

std::string DelimitTableName(const std::string& name, const SettingsStore& settings);
std::string DelimitFieldName(const std::string& name, const SettingsStore& settings);
// The same with the process-wide settings.
std::string DelimitTableName(const std::string& name);
std::string DelimitFieldName(const std::string& name);

// The name inside a delimited name: the configured table (or field) prefix and postfix taken off
// when the text begins and ends with them; otherwise the text unchanged.
std::string UndelimitTableName(const std::string& delimited, const SettingsStore& settings);
std::string UndelimitFieldName(const std::string& delimited, const SettingsStore& settings);
