#pragma once
// The per-user profile: sections holding named values of three kinds (text, 32-bit integer, raw
// bytes), the stand-in for the registry key HKEY_CURRENT_USER\Software\Tolvane\Qelvo.
//
// Kinds convert as a settings file can keep them: a text reads as an integer only when the whole
// text is a decimal integer in range (ParseProfileInt); an integer reads as its decimal text; a text
// reads as bytes; bytes read only as bytes. Any other read of a value in another kind gives
// nothing, as does a missing value. Section and value names are case-sensitive: every caller uses
// fixed names.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  virtual std::optional<std::string> ReadString(const std::string& section, const std::string& name) const = 0;
  virtual std::optional<std::int32_t> ReadInt(const std::string& section, const std::string& name) const = 0;
  // Every byte kept (NUL bytes, line breaks, invalid UTF-8). A text value reads as its bytes.
  virtual std::optional<std::string> ReadBinary(const std::string& section, const std::string& name) const = 0;

  // Writes are not reported to the user; a backend traces what it could not keep.
  virtual void WriteString(const std::string& section, const std::string& name, const std::string& value) = 0;
  virtual void WriteInt(const std::string& section, const std::string& name, std::int32_t value) = 0;
  virtual void WriteBinary(const std::string& section, const std::string& name, const std::string& bytes) = 0;

  // Makes the writes so far durable. Callers flush after each group of writes that belongs together
  // (all settings, one history list), as the registry would have kept each write at once.
  virtual void Flush() = 0;
};

// The whole text as a 32-bit decimal integer (optional sign, digits, nothing else), or nothing.
std::optional<std::int32_t> ParseProfileInt(const std::string& text);

// The process-wide profile. Until the application installs its own (the QSettings file), this is an
// in-memory store, so code that runs without start-up (tests) never touches the user's files.
ProfileStore& AppProfile();
void SetAppProfile(std::unique_ptr<ProfileStore> profile);
