#pragma once
// A profile kept in memory only: the backend of tests, and the default before start-up.
#include <map>
#include <utility>
#include <variant>

#include "workspace/ProfileStore.h"

class MemoryProfileStore : public ProfileStore {
 public:
  std::optional<std::string> ReadString(const std::string& section, const std::string& name) const override;
  std::optional<std::int32_t> ReadInt(const std::string& section, const std::string& name) const override;
  std::optional<std::string> ReadBinary(const std::string& section, const std::string& name) const override;
  void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
  void WriteInt(const std::string& section, const std::string& name, std::int32_t value) override;
  void WriteBinary(const std::string& section, const std::string& name, const std::string& bytes) override;
  void Flush() override {}

  bool Contains(const std::string& section, const std::string& name) const;
  // The number of values of a section (0 for a missing section).
  int CountValues(const std::string& section) const;

 private:
  struct Bytes {
    std::string data;
  };
  using Value = std::variant<std::string, std::int32_t, Bytes>;
  const Value* Find(const std::string& section, const std::string& name) const;

  std::map<std::pair<std::string, std::string>, Value> values_;
};
