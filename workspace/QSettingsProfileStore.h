#pragma once
// The profile in a QSettings file: organisation "Tolvane", application "Qelvo", so
// $XDG_CONFIG_HOME/Tolvane/Qelvo.conf (~/.config when the variable is unset). The file holds
// connection strings with their passwords, so it is created readable and writable by its owner
// only (0600), and a file found with wider rights is narrowed to that. In the file the section
// General appears as [%General]: QSettings keeps the plain name for its own default section.
#include <memory>

#include "workspace/ProfileStore.h"

class QSettings;

class QSettingsProfileStore : public ProfileStore {
 public:
  // The default file, its path read from the environment now.
  QSettingsProfileStore();
  explicit QSettingsProfileStore(const std::string& filePath);
  ~QSettingsProfileStore() override;  // flushes

  static std::string DefaultPath();
  const std::string& FilePath() const { return path_; }

  std::optional<std::string> ReadString(const std::string& section, const std::string& name) const override;
  std::optional<std::int32_t> ReadInt(const std::string& section, const std::string& name) const override;
  std::optional<std::string> ReadBinary(const std::string& section, const std::string& name) const override;
  void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
  void WriteInt(const std::string& section, const std::string& name, std::int32_t value) override;
  void WriteBinary(const std::string& section, const std::string& name, const std::string& bytes) override;
  // Writes the file (traced as a warning when that fails) and keeps its rights at 0600.
  void Flush() override;

 private:
  void KeepPrivate() const;

  std::string path_;
  std::unique_ptr<QSettings> settings_;
};
