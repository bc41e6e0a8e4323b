#pragma once
// The cursor engine's row storage: every row of a result packed into one byte string in large
// shared blocks (a tag byte and a compact payload per value), so that a million rows cost little
// more than their text. Rows are never moved; a changed row is written anew. One thread may append
// rows while others read the rows below a count published to them (RowIndex).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/ado/RowIndex.h"
#include "data/ado/ValueView.h"
#include "data/ado/Variant.h"

namespace ado {

class RowStore {
 public:
  using RowId = std::uint32_t;

  // Appends one row value by value; providers call these in column order.
  class Builder {
   public:
    void Empty();
    void Null();
    void Int(VARTYPE vt, std::int64_t v);    // VT_I1, VT_I2, VT_I4, VT_I8, VT_CY
    void UInt(VARTYPE vt, std::uint64_t v);  // VT_UI1 .. VT_UI8
    void Real(VARTYPE vt, double v);         // VT_R4, VT_R8, VT_DATE
    void Bool(bool v);
    void Text(std::string_view text);
    void Bytes(std::string_view bytes);
    void Dec(const Decimal& d);
    void Value(const Variant& v);

   private:
    friend class RowStore;
    void Tag(std::uint8_t tag);
    void Varint(std::uint64_t v);
    void Raw(const void* data, std::size_t size);
    std::string buffer_;
  };

  Builder& BeginRow();  // clears the builder
  RowId EndRow();       // stores the built row and returns its id
  RowId AddRow(const std::vector<Variant>& values);
  void ReplaceRow(RowId row, const std::vector<Variant>& values);

  std::size_t RowCount() const { return rows_.size(); }
  ValueView Get(RowId row, int column) const;
  Variant GetVariant(RowId row, int column) const { return Get(row, column).ToVariant(); }
  std::vector<Variant> GetRow(RowId row, int columnCount) const;
  // Where each value of a row starts, for reading many values of one row; DecodeAt reads one.
  void ColumnStarts(RowId row, int columnCount, std::vector<const char*>& starts) const;
  static ValueView DecodeAt(const char* start) { return Decode(start); }
  std::size_t MemoryBytes() const;  // blocks and index, for benchmarks
  // Every row's memory, moved out (the store is left empty), to be freed elsewhere: nothing read
  // from the store before may be used afterwards.
  struct Storage {
    std::vector<std::unique_ptr<char[]>> blocks;
    RowIndex::Storage index;
  };
  Storage TakeStorage();

 private:
  const char* Store(std::string_view bytes);
  static const char* Skip(const char* p);
  static ValueView Decode(const char* p);

  Builder builder_;
  std::vector<std::unique_ptr<char[]>> blocks_;
  std::size_t blockUsed_ = 0;
  std::size_t blockSize_ = 0;
  std::size_t blockBytes_ = 0;
  RowIndex rows_;
};

}  // namespace ado
