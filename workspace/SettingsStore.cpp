#include "workspace/SettingsStore.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "data/Trace.h"
#include "text/TextUtil.h"
#include "workspace/ProfileStore.h"

SettingsStore::SettingsStore() : values_(SettingsCount) {}

int SettingsStore::IndexOf(const std::string& section, const std::string& key) {
  for (int i = 0; i < SettingsCount; ++i) {
    if (CompareNoCase(SettingsTable[i].section, section) == 0 && CompareNoCase(SettingsTable[i].key, key) == 0)
      return i;
  }
  return -1;
}

std::string SettingsStore::GetString(const std::string& section, const std::string& key) const {
  int index = IndexOf(section, key);
  if (index < 0) {
    Trace(TraceError, "SettingsStore::GetString(\"%s\", \"%s\") : no such setting", section.c_str(), key.c_str());
    return {};
  }
  return values_[index];
}

int TextToInt(const std::string& text) {
  long value = std::strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

int SettingsStore::GetInt(const std::string& section, const std::string& key) const {
  return TextToInt(GetString(section, key));
}

bool SettingsStore::SetText(const std::string& section, const std::string& key, const std::string& value) {
  int index = IndexOf(section, key);
  if (index < 0) return false;
  values_[index] = value;
  return true;
}

bool SettingsStore::SetValue(const std::string& section, const std::string& key, const char* format, ...) {
  int index = IndexOf(section, key);
  if (index < 0) return false;
  // Measured first, so that a text of any length is kept whole.
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(length));
  }
  va_end(args);
  if (length < 0) return false;
  values_[index] = std::move(text);
  return true;
}

void SettingsStore::LoadAll(const ProfileStore& profile) {
  for (int i = 0; i < SettingsCount; ++i) {
    const SettingsEntry& entry = SettingsTable[i];
    std::optional<std::string> value = profile.ReadString(entry.section, entry.key);
    values_[i] = value ? *value : SettingsDefault(entry);
  }
}

void SettingsStore::SaveAll(ProfileStore& profile) const {
  for (int i = 0; i < SettingsCount; ++i)
    profile.WriteString(SettingsTable[i].section, SettingsTable[i].key, values_[i]);
  profile.Flush();
}

SettingsStore& AppSettings() {
  static SettingsStore store;
  return store;
}
