#pragma once
// The program's settings: one text value per entry of SettingsTable, read from the profile once
// at start, changed in memory, and written back as a whole. Every user reads a setting at the
// moment it needs it, as text, integer or flag.
#include <string>
#include <vector>

#include "workspace/SettingsTable.h"

class ProfileStore;

class SettingsStore {
 public:
  // 44 empty values.
  SettingsStore();
  SettingsStore(const SettingsStore&) = default;
  // Value by value, as the configuration editor's copy goes back.
  SettingsStore& operator=(const SettingsStore&) = default;

  // The entry's index (first match, section and key without regard to case), or -1.
  static int IndexOf(const std::string& section, const std::string& key);

  // The value; "" for an empty value and for a pair that is not in the table (a caller's mistake,
  // traced as an error).
  std::string GetString(const std::string& section, const std::string& key) const;
  // The C library's decimal conversion: leading blanks, an optional sign, digits; no digits give
  // 0, and a number beyond the int range gives the nearest end of the range.
  int GetInt(const std::string& section, const std::string& key) const;
  bool GetBool(const std::string& section, const std::string& key) const { return GetInt(section, key) != 0; }

  // printf-style; stores the whole text, whatever its length. False, with nothing changed, when the
  // pair is not in the table.
  bool SetValue(const std::string& section, const std::string& key, const char* format, ...)
      __attribute__((format(printf, 4, 5)));
  // The text as it stands (no format), for texts typed by the user.
  bool SetText(const std::string& section, const std::string& key, const std::string& value);

  const std::string& ValueAt(int index) const { return values_.at(index); }

  // Each value from the profile's section/key, the entry's default when the value is absent.
  void LoadAll(const ProfileStore& profile);
  // Each value to the profile as a text, then the profile is flushed.
  void SaveAll(ProfileStore& profile) const;

 private:
  std::vector<std::string> values_;
};

// The C library's decimal conversion of a text (atoi without its undefined overflow).
int TextToInt(const std::string& text);

// The process-wide store, empty until the application's start-up loads it.
SettingsStore& AppSettings();
