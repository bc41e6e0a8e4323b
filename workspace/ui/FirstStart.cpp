#include "workspace/ui/FirstStart.h"

#include <filesystem>

#include "data/ado/ConnectionString.h"
#include "platform/ProgramFiles.h"

std::string FindSampleDatabase() {
  std::string installed = FindProgramFile(SampleDatabaseName);
  if (!installed.empty()) return installed;
#ifdef QELVO_BUILD_SAMPLE_DB
  std::error_code error;
  if (std::filesystem::is_regular_file(QELVO_BUILD_SAMPLE_DB, error)) return QELVO_BUILD_SAMPLE_DB;
#endif
  return {};
}

std::string SqliteConnectionString(const std::string& path) {
  ado::ConnectionString text;
  text.Set("Provider", "SQLite");
  text.Set("Data Source", path);
  return text.ToString();
}

std::optional<FirstStartTexts> FirstStartRequest(const std::string& samplePath) {
  if (samplePath.empty()) return std::nullopt;
  return FirstStartTexts{SqliteConnectionString(samplePath), FirstStartQuery};
}
