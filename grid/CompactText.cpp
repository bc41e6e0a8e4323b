#include "grid/CompactText.h"

#include <limits>
#include <stdexcept>
#include <utility>

CompactText::CompactText(const CompactText& other) {
  std::memcpy(owner_, other.owner_, sizeof owner_);
  if (other.kind_ == kForeign)
    set_foreign(other.foreign());
  else
    assign(other.view());
}

CompactText::CompactText(CompactText&& other) noexcept {
  kind_ = other.kind_;
  std::memcpy(owner_, other.owner_, sizeof owner_);
  std::memcpy(payload_, other.payload_, sizeof payload_);
  other.kind_ = 0;  // the heap block, if any, moved with the payload
}

CompactText& CompactText::operator=(const CompactText& other) {
  if (this == &other) return *this;
  std::memcpy(owner_, other.owner_, sizeof owner_);
  if (other.kind_ == kForeign)
    set_foreign(other.foreign());
  else
    assign(other.view());
  return *this;
}

CompactText& CompactText::operator=(CompactText&& other) noexcept {
  if (this == &other) return *this;
  FreeHeap();
  kind_ = other.kind_;
  std::memcpy(owner_, other.owner_, sizeof owner_);
  std::memcpy(payload_, other.payload_, sizeof payload_);
  other.kind_ = 0;
  return *this;
}

void CompactText::assign(std::string_view text) {
  if (text.size() <= kInlineCapacity) {
    // The text may point into our own heap block: copy before freeing it.
    unsigned char copy[kInlineCapacity];
    if (!text.empty()) std::memcpy(copy, text.data(), text.size());  // an empty view may hold no pointer
    FreeHeap();
    if (!text.empty()) std::memcpy(payload_, copy, text.size());
    kind_ = static_cast<std::uint8_t>(text.size());
    return;
  }
  if (text.size() > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("cell text of 4 GiB or more");
  char* block = new char[text.size()];  // before freeing: on failure the old text stays
  std::memcpy(block, text.data(), text.size());
  FreeHeap();
  const auto n = static_cast<std::uint32_t>(text.size());
  std::memcpy(payload_, &n, sizeof n);
  std::memcpy(payload_ + 4, &block, sizeof block);
  kind_ = kHeap;
}

void CompactText::clear() noexcept {
  FreeHeap();
  kind_ = 0;
}

void CompactText::set_foreign(void* p) noexcept {
  FreeHeap();
  std::memcpy(payload_ + 4, &p, sizeof p);
  kind_ = kForeign;
}
