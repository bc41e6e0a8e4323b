#include "workspace/ReportFile.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include <QDir>
#include <QStandardPaths>

std::string ExecutableFolder() {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return {};
  return executable.parent_path().string();
}

std::string UserDataFolder() {
  QString folder =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Tolvane/Qelvo");
  QDir().mkpath(folder);
  return folder.toStdString();
}

std::string ChooseReportPath(const std::string& executableFolder, const std::string& dataFolder) {
  bool besideExecutable = !executableFolder.empty() && ::access(executableFolder.c_str(), W_OK | X_OK) == 0;
  std::filesystem::path folder = besideExecutable ? executableFolder : dataFolder;
  return (folder / ReportFileName).string();
}

std::string DefaultReportPath() {
  std::string executableFolder = ExecutableFolder();
  if (!executableFolder.empty() && ::access(executableFolder.c_str(), W_OK | X_OK) == 0)
    return ChooseReportPath(executableFolder, {});
  return ChooseReportPath({}, UserDataFolder());
}

bool WriteReportFile(const std::string& path, const std::vector<std::string>& lines) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  for (const std::string& line : lines) file << line << "\r\n";
  file.close();
  return !file.fail();
}
