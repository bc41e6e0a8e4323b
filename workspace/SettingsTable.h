#pragma once
// The 44 settings of the program, in their fixed order (the order is the store's index order).
#include <array>
#include <string>

struct SettingsEntry {
  const char* section;
  const char* key;
  // nullptr: no default, the value reads as "".
  const char* defaultValue;
  // The default is the user's home folder followed by defaultValue ("/Output.sql").
  bool inHomeFolder = false;
};

inline constexpr int SettingsCount = 44;

extern const std::array<SettingsEntry, SettingsCount> SettingsTable;

// The default text of an entry, the home folder filled in ($HOME, else the password database's).
std::string SettingsDefault(const SettingsEntry& entry);
std::string HomeFolder();
