#include "grid/RowHeights.h"

#include <algorithm>

void RowHeights::Spread(Chunk& chunk) {
  auto cells = std::make_unique_for_overwrite<int[]>(kChunkSize);
  std::fill(cells.get(), cells.get() + kChunkSize, chunk.height);
  chunk.cells = std::move(cells);
}

void RowHeights::Set(std::size_t row, int height) {
  Chunk& chunk = m_chunks[row >> kChunkBits];
  if (!chunk.cells) {
    if (chunk.height == height) return;
    Spread(chunk);
  }
  chunk.cells[row & kChunkMask] = height;
}

void RowHeights::Resize(std::size_t rows, int height) {
  const std::size_t chunks = (rows + kChunkMask) >> kChunkBits;
  if (rows <= m_size) {
    m_chunks.resize(chunks);
    if (m_chunks.size() < m_chunks.capacity() / 2) m_chunks.shrink_to_fit();
    m_size = rows;
    return;
  }
  // Everything that can fail comes first.
  if (chunks > m_chunks.capacity()) m_chunks.reserve(std::max(chunks, m_chunks.capacity() + m_chunks.capacity() / 2));
  const std::size_t tail = m_size & kChunkMask;  // rows already in the last chunk
  if (tail != 0) {
    Chunk& last = m_chunks.back();
    const std::size_t end = std::min(rows, m_size - tail + kChunkSize);
    if (!last.cells && last.height != height) Spread(last);
    if (last.cells) std::fill(last.cells.get() + tail, last.cells.get() + (end - (m_size - tail)), height);
  }
  while (m_chunks.size() < chunks) m_chunks.push_back(Chunk{height, nullptr});
  m_size = rows;
}

void RowHeights::Fill(int height) {
  for (Chunk& chunk : m_chunks) {
    chunk.height = height;
    chunk.cells.reset();
  }
}

long long RowHeights::Sum(std::size_t from, std::size_t to) const {
  long long sum = 0;
  while (from < to) {
    const Chunk& chunk = m_chunks[from >> kChunkBits];
    const std::size_t end = std::min(to, (from & ~kChunkMask) + kChunkSize);
    if (chunk.cells) {
      for (std::size_t row = from; row < end; ++row) sum += chunk.cells[row & kChunkMask];
    } else {
      sum += static_cast<long long>(end - from) * chunk.height;
    }
    from = end;
  }
  return sum;
}
