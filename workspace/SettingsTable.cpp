#include "workspace/SettingsTable.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

// clang-format off
const std::array<SettingsEntry, SettingsCount> SettingsTable = {{
    {"General", "Font", "-13;0;0;0;400;0;0;0;0;3;2;1;49;Courier New;"},
    {"General", "ConnStringMode", "1"},
    {"General", "ScriptFileReader", "xdg-open"},
    {"General", "LastTablesFilterUsed", ""},
    {"General", "TableNamePrefix", "["},
    {"General", "TableNamePostfix", "]"},
    {"General", "TableNamePrefixUseAlways", "0"},
    {"General", "FieldNamePrefix", "["},
    {"General", "FieldNamePostfix", "]"},
    {"General", "FieldNamePrefixUseAlways", "0"},
    {"General", "BatchSeparator", ";"},
    {"Grid", "ViewDetails", "0"},
    {"Grid", "ViewExtendedDetails", "0"},
    {"Grid", "RedrawGridDuringFill", "0"},
    {"Grid", "MoveCursorAfterEdit", "1"},
    {"Grid", "MaxDataRows", "0"},
    {"Grid", "MinColWidth", "0"},
    {"Grid", "MaxColWidth", "0"},
    {"Grid", "Colorize", "0"},
    {"Grid", "NumericWidth", "10"},
    {"Grid", "NumericPrecision", "2"},
    {"Grid", "UseThousandSeparator", "0"},
    {"Grid", "AutoSizeColumns", nullptr},
    {"Grid", "NullFieldLabel", "<null>"},
    {"Grid", "InPlaceEdit", "0"},
    {"Grid", "Sortable", "1"},
    {"Grid", "UseFilters", "1"},
    {"Grid", "DateTimeFormat", nullptr},
    {"Grid", "ExpandLastColumn", "0"},
    {"Grid", "DisplayRecno", "0"},
    {"Export", "OutputFile", "/Output.sql", true},
    {"Export", "AppendMode", "1"},
    {"Export", "ExportMode", "2"},
    {"Export", "MaxRecords", "0"},
    {"Export", "InsertAutonumbers", "1"},
    {"Export", "InsertDropOrZapTableStatement", "1"},
    {"Export", "SelectedTableList", ""},
    {"Export", "TargetTableName", ""},
    {"History", "CacheSize", "20"},
    {"Format", "SplitWords", "SELECT|FROM|LEFT|INNER|RIGHT|WHERE|ORDER|LIMIT|GROUP|HAVING"},
    {"General", "FieldsToExclude", "fieldXXX|fieldYYY"},
    {"General", "CursorLocationType", "3"},
    {"Excel", "EnableCsv", "0"},
    {"Excel", "CsvSeparator", ";"},
}};
// clang-format on

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir) return user->pw_dir;
  return {};
}

std::string SettingsDefault(const SettingsEntry& entry) {
  if (!entry.defaultValue) return {};
  if (entry.inHomeFolder) return HomeFolder() + entry.defaultValue;
  return entry.defaultValue;
}
