#pragma once
// One cell's place in the grid's storage: 16 bytes. A plain text cell that has only its text,
// state and a style from the pool stays in this compact form; any other cell is an object of the
// cell family that the slot owns. The grid turns a compact cell into an object only when asked
// for the object or for something only an object can keep.
#include <cstdint>
#include <memory>

#include "grid/CompactText.h"
#include "grid/GridCellBase.h"

class CellSlot {
 public:
  CellSlot() = default;
  CellSlot(const CellSlot&) = delete;
  CellSlot& operator=(const CellSlot&) = delete;
  CellSlot(CellSlot&& other) noexcept = default;
  CellSlot& operator=(CellSlot&& other) noexcept {
    if (this != &other) {
      DeleteObject();
      m_text = std::move(other.m_text);
    }
    return *this;
  }
  ~CellSlot() { DeleteObject(); }

  CGridCellBase* Object() const { return static_cast<CGridCellBase*>(m_text.foreign()); }
  bool IsCompact() const { return !m_text.holds_foreign(); }
  // Takes ownership of `cell`; the compact text is dropped.
  void SetObject(std::unique_ptr<CGridCellBase> cell) {
    DeleteObject();
    m_text.set_foreign(cell.release());
  }
  // Gives the object up and leaves an empty compact cell.
  std::unique_ptr<CGridCellBase> ReleaseObject() {
    std::unique_ptr<CGridCellBase> cell(Object());
    m_text.clear();
    m_text.set_owner_byte(0, 0);
    m_text.set_owner_word(0);
    return cell;
  }

  // Compact form only.
  std::string_view Text() const { return m_text.view(); }
  void SetText(std::string_view text) { m_text.assign(text); }
  std::uint8_t State() const { return m_text.owner_byte(0); }
  void SetState(std::uint8_t state) { m_text.set_owner_byte(0, state); }
  std::uint16_t Style() const { return m_text.owner_word(); }
  void SetStyle(std::uint16_t style) { m_text.set_owner_word(style); }
  std::size_t HeapBytes() const { return m_text.heap_bytes(); }

 private:
  void DeleteObject() { delete Object(); }

  CompactText m_text;
};
static_assert(sizeof(CellSlot) == 16, "a cell slot must stay 16 bytes");
