#pragma once
// A 16-byte text holder for cells. Texts of up to 12 bytes live inside it; longer ones in one
// exactly sized heap block. Three bytes are left to the owner (a cell slot keeps its state and
// style there), and instead of a text it can hold one foreign pointer (a slot's cell object).
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

class CompactText {
 public:
  static constexpr std::size_t kInlineCapacity = 12;

  CompactText() noexcept = default;
  explicit CompactText(std::string_view text) { assign(text); }
  CompactText(const CompactText& other);
  CompactText(CompactText&& other) noexcept;
  CompactText& operator=(const CompactText& other);
  CompactText& operator=(CompactText&& other) noexcept;
  ~CompactText() { FreeHeap(); }

  // The text; empty while a foreign pointer is held.
  std::string_view view() const {
    if (kind_ <= kInlineCapacity) return {reinterpret_cast<const char*>(payload_), kind_};
    if (kind_ == kHeap) return {HeapPointer(), HeapLength()};
    return {};
  }
  std::string str() const { return std::string(view()); }
  bool empty() const { return view().empty(); }
  // Replaces the text (and drops a foreign pointer without deleting it). Throws std::length_error
  // for texts of 4 GiB or more, std::bad_alloc when memory runs out (the old text is then kept).
  void assign(std::string_view text);
  void clear() noexcept;

  // The foreign pointer, or null when a text is held.
  void* foreign() const {
    if (kind_ != kForeign) return nullptr;
    void* p;
    std::memcpy(&p, payload_ + 4, sizeof p);
    return p;
  }
  // Frees the text and holds `p` instead (the holder never deletes it).
  void set_foreign(void* p) noexcept;
  bool holds_foreign() const { return kind_ == kForeign; }

  // The owner's three bytes, untouched by every operation above.
  std::uint8_t owner_byte(int i) const { return owner_[i]; }
  void set_owner_byte(int i, std::uint8_t v) { owner_[i] = v; }
  std::uint16_t owner_word() const { return static_cast<std::uint16_t>(owner_[1] | (owner_[2] << 8)); }
  void set_owner_word(std::uint16_t v) {
    owner_[1] = static_cast<std::uint8_t>(v & 0xFF);
    owner_[2] = static_cast<std::uint8_t>(v >> 8);
  }

  // Heap bytes this holder owns beyond its own 16 (for memory accounting).
  std::size_t heap_bytes() const { return kind_ == kHeap ? HeapLength() : 0; }

 private:
  static constexpr std::uint8_t kHeap = 0xFE;
  static constexpr std::uint8_t kForeign = 0xFF;

  const char* HeapPointer() const {
    const char* p;
    std::memcpy(&p, payload_ + 4, sizeof p);
    return p;
  }
  std::uint32_t HeapLength() const {
    std::uint32_t n;
    std::memcpy(&n, payload_, sizeof n);
    return n;
  }
  void FreeHeap() noexcept {
    if (kind_ == kHeap) delete[] HeapPointer();
  }

  std::uint8_t kind_ = 0;  // 0..12 inline length, kHeap, kForeign
  std::uint8_t owner_[3] = {0, 0, 0};
  unsigned char payload_[12] = {};
};
static_assert(sizeof(CompactText) == 16, "a cell's text holder must stay 16 bytes");
