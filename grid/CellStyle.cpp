#include "grid/CellStyle.h"

#include <QHash>
#include <deque>
#include <unordered_map>

bool CellStyle::operator==(const CellStyle& o) const {
  return format == o.format && textColour == o.textColour && backColour == o.backColour && margin == o.margin &&
         maxLength == o.maxLength && longText == o.longText && font == o.font;
}

namespace {

struct StyleHash {
  std::size_t operator()(const CellStyle& s) const {
    std::size_t h = s.format;
    auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
    mix(s.textColour);
    mix(s.backColour);
    mix(static_cast<std::size_t>(s.margin));
    mix(s.maxLength);
    mix(s.longText ? 1 : 0);
    mix(s.font ? qHash(*s.font) : 0);
    return h;
  }
};

struct Pool {
  std::deque<CellStyle> styles{CellStyle{}};  // deque: references stay valid as it grows
  std::unordered_map<CellStyle, std::uint32_t, StyleHash> ids{{CellStyle{}, 0}};
};

Pool& ThePool() {
  static Pool pool;
  return pool;
}

}  // namespace

namespace CellStylePool {

std::uint32_t Intern(const CellStyle& style) {
  Pool& pool = ThePool();
  auto it = pool.ids.find(style);
  if (it != pool.ids.end()) return it->second;
  const auto id = static_cast<std::uint32_t>(pool.styles.size());
  pool.styles.push_back(style);
  pool.ids.emplace(style, id);
  return id;
}

const CellStyle& Get(std::uint32_t id) {
  Pool& pool = ThePool();
  return id < pool.styles.size() ? pool.styles[id] : pool.styles[0];
}

std::size_t Size() {
  return ThePool().styles.size();
}

}  // namespace CellStylePool
