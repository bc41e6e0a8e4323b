#include "ui/ModuleVersion.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace tvapi {
namespace {
// The running program's file name, for a module named by it.
std::string ProgramFileName() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.filename().string();
}
}  // namespace

bool ModuleVersion::LoadVersionInfo(const char* module) {
  codePage_ = 1252;
  fixed_ = FixedFileInfo{};
  data_.reset();
  const std::string name = module ? module : "";
  if (!name.empty() && name != "qelvo" && name != ProgramFileName()) return false;
  data_ = std::make_unique<VersionBlock>(ProgramVersionBlock());
  fixed_ = data_->fixed;
  if (!data_->translations.empty()) {
    language_ = data_->translations.front().language;
    codePage_ = data_->translations.front().codePage;
  }
  return fixed_.signature == kFixedFileInfoSignature;
}

std::string ModuleVersion::GetVersionString(const std::string& key) const {
  if (!data_) return {};
  char prefix[64];
  std::snprintf(prefix, sizeof prefix, "\\StringFileInfo\\%04x%04x\\", language_, codePage_);
  auto it = data_->strings.find(prefix + key);
  return it == data_->strings.end() ? std::string() : it->second;
}

std::string ModuleVersion::VersionLine() const {
  char line[512];
  std::snprintf(line, sizeof line, "%s - Version %i.%i.%i", GetVersionString("ProductName").c_str(),
                static_cast<int>(fixed_.productVersionMS >> 16), static_cast<int>(fixed_.productVersionMS & 0xFFFF),
                static_cast<int>(fixed_.productVersionLS >> 16));
  return line;
}

std::string ProgramVersionLine() {
  ModuleVersion version;
  version.LoadVersionInfo();
  return version.VersionLine();
}

}  // namespace tvapi
