#include "grid/CellTypeProfile.h"

#include <deque>
#include <functional>
#include <unordered_map>

namespace {

struct ProfileHash {
  std::size_t operator()(const CellTypeProfile& p) const {
    std::size_t h = std::hash<const void*>()(p.cls);
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(static_cast<std::size_t>(p.width));
    mix(static_cast<std::size_t>(p.decimals));
    mix(p.code);
    mix((p.thousands ? 1u : 0u) | (p.valueIsData ? 2u : 0u));
    return h;
  }
};

struct Pool {
  std::deque<CellTypeProfile> profiles{CellTypeProfile{}};  // deque: references stay valid
  std::unordered_map<CellTypeProfile, std::uint32_t, ProfileHash> ids{{CellTypeProfile{}, 0}};
};

Pool& ThePool() {
  static Pool pool;
  return pool;
}

}  // namespace

namespace CellTypePool {

std::uint32_t Intern(const CellTypeProfile& profile) {
  Pool& pool = ThePool();
  auto it = pool.ids.find(profile);
  if (it != pool.ids.end()) return it->second;
  const auto id = static_cast<std::uint32_t>(pool.profiles.size());
  pool.profiles.push_back(profile);
  pool.ids.emplace(profile, id);
  return id;
}

const CellTypeProfile& Get(std::uint32_t id) {
  Pool& pool = ThePool();
  return id < pool.profiles.size() ? pool.profiles[id] : pool.profiles[0];
}

}  // namespace CellTypePool
