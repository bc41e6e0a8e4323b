#pragma once
// The heights of a grid's rows. Rows come in chunks of a few thousand; a chunk whose rows all
// have one height holds only that height, and gets an array of its own when one of its rows
// changes. A result of millions of rows at the default height so costs a few bytes per chunk,
// and growing it row by row while rows arrive never copies or fills what is there already.
#include <cstddef>
#include <memory>
#include <vector>

class RowHeights {
 public:
  std::size_t size() const { return m_size; }
  int operator[](std::size_t row) const {
    const Chunk& chunk = m_chunks[row >> kChunkBits];
    return chunk.cells ? chunk.cells[row & kChunkMask] : chunk.height;
  }
  void Set(std::size_t row, int height);
  // Grows or shrinks to `rows`; rows added take `height`. May throw std::bad_alloc, leaving the
  // heights as they were.
  void Resize(std::size_t rows, int height);
  // Every row takes `height`.
  void Fill(int height);
  // The heights of rows [from, to) added up.
  long long Sum(std::size_t from, std::size_t to) const;
  long long Sum() const { return Sum(0, m_size); }

 private:
  static constexpr unsigned kChunkBits = 12;
  static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkBits;
  static constexpr std::size_t kChunkMask = kChunkSize - 1;

  struct Chunk {
    int height = 0;                // every row's height while `cells` is null
    std::unique_ptr<int[]> cells;  // one height per row once they differ
  };
  static void Spread(Chunk& chunk);  // gives the chunk an array holding its height everywhere

  std::vector<Chunk> m_chunks;
  std::size_t m_size = 0;
};
