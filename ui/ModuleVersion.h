#pragma once
// tvapi::ModuleVersion: reads a module's version record (VersionRecord.h) and answers its numbers
// and its string values.
//
//   tvapi::ModuleVersion version;
//   if (version.LoadVersionInfo()) name = version.GetVersionString("ProductName");
#include <memory>
#include <string>

#include "ui/VersionRecord.h"

namespace tvapi {

class ModuleVersion {
 public:
  ModuleVersion() = default;
  virtual ~ModuleVersion() = default;

  // Reads the record of a module: the running program for null or "" (or the program's own file
  // name). False when the module has no record or its fixed part lacks the signature. The code
  // page starts at 1252; language and code page come from the first translation when there is one.
  bool LoadVersionInfo(const char* module = nullptr);
  // The value under "\StringFileInfo\<language><code page>\<key>" (hexadecimal, lower case, four
  // digits each); "" when nothing is loaded or the value is missing.
  std::string GetVersionString(const std::string& key) const;

  const FixedFileInfo& Fixed() const { return fixed_; }
  std::uint16_t Language() const { return language_; }
  std::uint16_t CodePage() const { return codePage_; }
  // "%s - Version %i.%i.%i": product name and the product version's first three parts.
  std::string VersionLine() const;

 private:
  FixedFileInfo fixed_;
  std::unique_ptr<VersionBlock> data_;
  // US English when the record has no translation table.
  std::uint16_t language_ = 0x0409;
  std::uint16_t codePage_ = 1252;
};

// The version line of the running program, as the About box and "qelvo --version" show it.
std::string ProgramVersionLine();

}  // namespace tvapi
