#pragma once
// Where each row of a RowStore starts. The pointers sit in fixed chunks that never move, under a
// table of chunks that is replaced, never resized in place, when it fills. So one thread may
// append while others read any entry below a count published to them (with release/acquire):
// no reader ever sees memory freed or moved under it.
#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

namespace ado {

class RowIndex {
 public:
  RowIndex() = default;
  RowIndex(const RowIndex&) = delete;
  RowIndex& operator=(const RowIndex&) = delete;

  // The appending thread's count.
  std::size_t size() const { return size_; }
  // Any thread, for an entry below a count published to it.
  const char* operator[](std::size_t i) const {
    const char** const* table = table_.load(std::memory_order_acquire);
    return table[i >> kChunkBits][i & kChunkMask];
  }
  // The appending thread only.
  void Set(std::size_t i, const char* row) { chunks_[i >> kChunkBits][i & kChunkMask] = row; }
  void push_back(const char* row);
  // What holds the entries, moved out (the index is left empty), to be freed elsewhere.
  struct Storage {
    std::vector<std::unique_ptr<const char*[]>> chunks;
    std::vector<std::unique_ptr<const char**[]>> tables;
  };
  Storage Take();
  std::size_t MemoryBytes() const;

 private:
  static constexpr unsigned kChunkBits = 12;
  static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkBits;
  static constexpr std::size_t kChunkMask = kChunkSize - 1;

  std::vector<std::unique_ptr<const char*[]>> chunks_;
  // Every table made: a reader may still hold an older one, so they go only at clear().
  std::vector<std::unique_ptr<const char**[]>> tables_;
  std::atomic<const char** const*> table_{nullptr};
  std::size_t tableCapacity_ = 0;
  std::size_t tableBytes_ = 0;
  std::size_t size_ = 0;
};

}  // namespace ado
