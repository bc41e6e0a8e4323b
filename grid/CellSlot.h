#pragma once
// One cell's place in the grid's storage: 16 bytes. A cell that keeps only what fits here stays in
// one of the compact forms:
//  - plain text: a CGridCell with its text (up to 12 bytes inside, longer in one heap block);
//  - typed: a cell of a typed class (integer, number, date, check box) named by a profile number
//    (CellTypeProfile.h) with either a 64-bit value in the class's encoding or a text (up to 8
//    bytes inside, longer in one heap block);
// each with the cell's state flags and the number of its style. Any other cell is an object of the
// cell family that the slot owns. The grid turns a compact cell into an object only when asked for
// the object or for something only an object can keep.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "grid/GridCellBase.h"

class CellSlot {
 public:
  static constexpr std::size_t kPlainInlineCapacity = 12;
  static constexpr std::size_t kTypedInlineCapacity = 8;

  CellSlot() = default;
  CellSlot(const CellSlot&) = delete;
  CellSlot& operator=(const CellSlot&) = delete;
  CellSlot(CellSlot&& other) noexcept {
    std::memcpy(static_cast<void*>(this), &other, sizeof *this);
    other.kind_ = 0;  // heap block or object moved with the payload
  }
  CellSlot& operator=(CellSlot&& other) noexcept {
    if (this != &other) {
      Free();
      std::memcpy(static_cast<void*>(this), &other, sizeof *this);
      other.kind_ = 0;
    }
    return *this;
  }
  ~CellSlot() { Free(); }

  // ---- Object form.
  CGridCellBase* Object() const { return kind_ == kObject ? static_cast<CGridCellBase*>(Pointer()) : nullptr; }
  bool IsCompact() const { return kind_ != kObject; }
  // Takes ownership of `cell`; the compact form is dropped (state and style stay as stored).
  void SetObject(std::unique_ptr<CGridCellBase> cell);
  // Gives the object up and leaves an empty plain cell with no state or style.
  std::unique_ptr<CGridCellBase> ReleaseObject();

  // ---- Compact forms.
  bool IsPlain() const { return kind_ <= kPlainInlineCapacity || kind_ == kPlainHeap; }
  bool IsTyped() const {
    return (kind_ >= kTypedInline && kind_ <= kTypedInline + kTypedInlineCapacity) || kind_ == kTypedHeap ||
           kind_ == kTypedValue;
  }
  bool HasValue() const { return kind_ == kTypedValue; }
  // The text of the plain or typed text form; empty for other forms.
  std::string_view Text() const;
  // The profile number of a typed form (0 otherwise).
  std::uint32_t Profile() const {
    if (!IsTyped()) return 0;
    std::uint32_t id;
    std::memcpy(&id, payload_, sizeof id);
    return id;
  }
  // The value of the typed value form (0 otherwise).
  std::uint64_t Value() const {
    if (kind_ != kTypedValue) return 0;
    std::uint64_t v;
    std::memcpy(&v, payload_ + 4, sizeof v);
    return v;
  }
  // The plain text form (drops an object without deleting it: only for compact slots). Throws
  // std::length_error for texts of 4 GiB or more, std::bad_alloc when memory runs out (the old form
  // is then kept).
  void SetText(std::string_view text);
  // The typed forms of profile `profile`.
  void SetTypedText(std::uint32_t profile, std::string_view text);
  void SetTypedValue(std::uint32_t profile, std::uint64_t value) {
    Free();
    std::memcpy(payload_, &profile, sizeof profile);
    std::memcpy(payload_ + 4, &value, sizeof value);
    kind_ = kTypedValue;
  }
  // The whole slot as bytes, for slots that own nothing outside (no heap text, no object): bulk
  // work compares and copies such forms. False for other slots.
  bool GetInlineForm(unsigned char (&bytes)[16]) const {
    if (kind_ == kObject || kind_ == kPlainHeap || kind_ == kTypedHeap) return false;
    std::memcpy(bytes, static_cast<const void*>(this), sizeof bytes);
    return true;
  }
  // Takes a form GetInlineForm gave.
  void SetInlineForm(const unsigned char (&bytes)[16]) {
    Free();
    std::memcpy(static_cast<void*>(this), bytes, sizeof bytes);
  }

  std::uint8_t State() const { return state_; }
  void SetState(std::uint8_t state) { state_ = state; }
  std::uint16_t Style() const { return style_; }
  void SetStyle(std::uint16_t style) { style_ = style; }
  // Heap bytes this slot owns beyond its own 16 for a text (for memory accounting).
  std::size_t HeapBytes() const;

 private:
  // kind_: 0..12 plain text inside (its length); kTypedInline + 0..8 typed text inside; the rest
  // below.
  static constexpr std::uint8_t kTypedInline = 0x20;
  static constexpr std::uint8_t kTypedHeap = 0xFC;
  static constexpr std::uint8_t kTypedValue = 0xFD;
  static constexpr std::uint8_t kPlainHeap = 0xFE;
  static constexpr std::uint8_t kObject = 0xFF;

  void* Pointer() const {
    void* p;
    std::memcpy(&p, payload_ + 4, sizeof p);
    return p;
  }
  void SetPointer(const void* p) { std::memcpy(payload_ + 4, &p, sizeof p); }
  void Free() noexcept;

  // Plain heap: payload_[0..4) the length, [4..12) the block. Typed: [0..4) the profile, [4..12)
  // the text, the value, or a block that starts with the length. Object: [4..12) the object.
  std::uint8_t kind_ = 0;
  std::uint8_t state_ = 0;
  std::uint16_t style_ = 0;
  unsigned char payload_[12] = {};
};
static_assert(sizeof(CellSlot) == 16, "a cell slot must stay 16 bytes");
