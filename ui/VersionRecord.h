#pragma once
// The program's version record, compiled in (VersionRecord.cpp is made from VersionRecord.cpp.in
// with the project's version when the build is configured). It has the shape of a version
// resource: a fixed record with the numeric versions, a translation table, and string values
// under "\StringFileInfo\<language><code page>\<key>".
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tvapi {

// The fixed part, 52 bytes, field by field.
struct FixedFileInfo {
  std::uint32_t signature = 0;  // 0xFEEF04BD
  std::uint32_t structVersion = 0;
  std::uint32_t fileVersionMS = 0;  // major << 16 | minor
  std::uint32_t fileVersionLS = 0;  // patch << 16 | build
  std::uint32_t productVersionMS = 0;
  std::uint32_t productVersionLS = 0;
  std::uint32_t fileFlagsMask = 0;
  std::uint32_t fileFlags = 0;
  std::uint32_t fileOS = 0;
  std::uint32_t fileType = 0;
  std::uint32_t fileSubtype = 0;
  std::uint32_t fileDateMS = 0;
  std::uint32_t fileDateLS = 0;
};
static_assert(sizeof(FixedFileInfo) == 52);

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

struct Translation {
  std::uint16_t language;
  std::uint16_t codePage;
};

struct VersionBlock {
  FixedFileInfo fixed;
  std::vector<Translation> translations;
  // Full value paths ("\StringFileInfo\040904e4\ProductName") to texts.
  std::map<std::string, std::string> strings;
};

// The record of the program itself.
const VersionBlock& ProgramVersionBlock();
// The address the About box's links open.
const char* ProgramWebAddress();

}  // namespace tvapi
