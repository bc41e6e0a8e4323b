#include "workspace/MemoryProfileStore.h"

const MemoryProfileStore::Value* MemoryProfileStore::Find(const std::string& section, const std::string& name) const {
  auto it = values_.find({section, name});
  return it == values_.end() ? nullptr : &it->second;
}

std::optional<std::string> MemoryProfileStore::ReadString(const std::string& section, const std::string& name) const {
  const Value* value = Find(section, name);
  if (!value) return std::nullopt;
  if (auto* text = std::get_if<std::string>(value)) return *text;
  if (auto* number = std::get_if<std::int32_t>(value)) return std::to_string(*number);
  return std::nullopt;
}

std::optional<std::int32_t> MemoryProfileStore::ReadInt(const std::string& section, const std::string& name) const {
  const Value* value = Find(section, name);
  if (!value) return std::nullopt;
  if (auto* number = std::get_if<std::int32_t>(value)) return *number;
  if (auto* text = std::get_if<std::string>(value)) return ParseProfileInt(*text);
  return std::nullopt;
}

std::optional<std::string> MemoryProfileStore::ReadBinary(const std::string& section, const std::string& name) const {
  const Value* value = Find(section, name);
  if (!value) return std::nullopt;
  if (auto* bytes = std::get_if<Bytes>(value)) return bytes->data;
  if (auto* text = std::get_if<std::string>(value)) return *text;
  return std::to_string(std::get<std::int32_t>(*value));
}

void MemoryProfileStore::WriteString(const std::string& section, const std::string& name, const std::string& value) {
  values_[{section, name}] = value;
}

void MemoryProfileStore::WriteInt(const std::string& section, const std::string& name, std::int32_t value) {
  values_[{section, name}] = value;
}

void MemoryProfileStore::WriteBinary(const std::string& section, const std::string& name, const std::string& bytes) {
  values_[{section, name}] = Bytes{bytes};
}

bool MemoryProfileStore::Contains(const std::string& section, const std::string& name) const {
  return Find(section, name) != nullptr;
}

int MemoryProfileStore::CountValues(const std::string& section) const {
  int count = 0;
  for (auto it = values_.lower_bound({section, std::string()}); it != values_.end() && it->first.first == section; ++it)
    ++count;
  return count;
}
