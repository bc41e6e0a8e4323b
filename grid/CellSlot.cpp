#include "grid/CellSlot.h"

#include <limits>
#include <stdexcept>

namespace {

std::uint32_t CheckedLength(std::string_view text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max() - 4)
    throw std::length_error("cell text of 4 GiB or more");
  return static_cast<std::uint32_t>(text.size());
}

}  // namespace

void CellSlot::Free() noexcept {
  if (kind_ == kPlainHeap || kind_ == kTypedHeap)
    delete[] static_cast<char*>(Pointer());
  else if (kind_ == kObject)
    delete static_cast<CGridCellBase*>(Pointer());
  kind_ = 0;
}

void CellSlot::SetObject(std::unique_ptr<CGridCellBase> cell) {
  Free();
  SetPointer(cell.release());
  kind_ = kObject;
}

std::unique_ptr<CGridCellBase> CellSlot::ReleaseObject() {
  std::unique_ptr<CGridCellBase> cell(Object());
  kind_ = 0;
  state_ = 0;
  style_ = 0;
  return cell;
}

std::string_view CellSlot::Text() const {
  if (kind_ <= kPlainInlineCapacity) return {reinterpret_cast<const char*>(payload_), kind_};
  if (kind_ >= kTypedInline && kind_ <= kTypedInline + kTypedInlineCapacity)
    return {reinterpret_cast<const char*>(payload_ + 4), static_cast<std::size_t>(kind_ - kTypedInline)};
  if (kind_ == kPlainHeap) {
    std::uint32_t n;
    std::memcpy(&n, payload_, sizeof n);
    return {static_cast<const char*>(Pointer()), n};
  }
  if (kind_ == kTypedHeap) {
    const char* block = static_cast<const char*>(Pointer());
    std::uint32_t n;
    std::memcpy(&n, block, sizeof n);
    return {block + 4, n};
  }
  return {};
}

void CellSlot::SetText(std::string_view text) {
  if (text.size() <= kPlainInlineCapacity) {
    // The text may point into our own heap block: copy before freeing it.
    unsigned char copy[kPlainInlineCapacity];
    if (!text.empty()) std::memcpy(copy, text.data(), text.size());  // an empty view may hold no pointer
    Free();
    if (!text.empty()) std::memcpy(payload_, copy, text.size());
    kind_ = static_cast<std::uint8_t>(text.size());
    return;
  }
  const std::uint32_t n = CheckedLength(text);
  char* block = new char[n];  // before freeing: on failure the old form stays
  std::memcpy(block, text.data(), n);
  Free();
  std::memcpy(payload_, &n, sizeof n);
  SetPointer(block);
  kind_ = kPlainHeap;
}

void CellSlot::SetTypedText(std::uint32_t profile, std::string_view text) {
  if (text.size() <= kTypedInlineCapacity) {
    unsigned char copy[kTypedInlineCapacity];
    if (!text.empty()) std::memcpy(copy, text.data(), text.size());
    Free();
    std::memcpy(payload_, &profile, sizeof profile);
    if (!text.empty()) std::memcpy(payload_ + 4, copy, text.size());
    kind_ = static_cast<std::uint8_t>(kTypedInline + text.size());
    return;
  }
  const std::uint32_t n = CheckedLength(text);
  char* block = new char[4 + static_cast<std::size_t>(n)];
  std::memcpy(block, &n, sizeof n);
  std::memcpy(block + 4, text.data(), n);
  Free();
  std::memcpy(payload_, &profile, sizeof profile);
  SetPointer(block);
  kind_ = kTypedHeap;
}

std::size_t CellSlot::HeapBytes() const {
  if (kind_ == kPlainHeap) return Text().size();
  if (kind_ == kTypedHeap) return Text().size() + 4;
  return 0;
}
