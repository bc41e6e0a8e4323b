#include "data/ado/RowIndex.h"

#include <algorithm>

namespace ado {

void RowIndex::push_back(const char* row) {
  if (size_ == chunks_.size() * kChunkSize) {
    chunks_.push_back(std::make_unique_for_overwrite<const char*[]>(kChunkSize));
    if (chunks_.size() > tableCapacity_) {
      // A bigger table with the chunks so far; the old one stays for readers that hold it.
      const std::size_t capacity = std::max<std::size_t>(16, tableCapacity_ * 2);
      auto table = std::make_unique<const char**[]>(capacity);
      for (std::size_t c = 0; c < chunks_.size(); ++c) table[c] = chunks_[c].get();
      tables_.push_back(std::move(table));
      tableCapacity_ = capacity;
      tableBytes_ += capacity * sizeof(const char**);
      table_.store(tables_.back().get(), std::memory_order_release);
    } else {
      // An entry no reader looks at until a row in this chunk is published.
      tables_.back()[chunks_.size() - 1] = chunks_.back().get();
    }
  }
  Set(size_, row);
  ++size_;
}

RowIndex::Storage RowIndex::Take() {
  table_.store(nullptr, std::memory_order_release);
  Storage storage{std::move(chunks_), std::move(tables_)};
  chunks_.clear();
  tables_.clear();
  tableCapacity_ = tableBytes_ = size_ = 0;
  return storage;
}

std::size_t RowIndex::MemoryBytes() const {
  return chunks_.size() * kChunkSize * sizeof(const char*) + tableBytes_;
}

}  // namespace ado
