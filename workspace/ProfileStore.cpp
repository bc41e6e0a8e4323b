#include "workspace/ProfileStore.h"

#include <charconv>

#include "workspace/MemoryProfileStore.h"

std::optional<std::int32_t> ParseProfileInt(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') {  // from_chars takes '-' but not '+'
    ++first;
    if (first != last && *first == '-') return std::nullopt;
  }
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return std::nullopt;
  return value;
}

namespace {
std::unique_ptr<ProfileStore>& AppProfileSlot() {
  static std::unique_ptr<ProfileStore> profile = std::make_unique<MemoryProfileStore>();
  return profile;
}
}  // namespace

ProfileStore& AppProfile() {
  return *AppProfileSlot();
}

void SetAppProfile(std::unique_ptr<ProfileStore> profile) {
  if (profile) AppProfileSlot() = std::move(profile);
}
