#include "data/ado/RowStore.h"

#include <cstring>

namespace ado {
namespace {
// Tags: the VT code for scalars, and one code for byte arrays.
constexpr std::uint8_t kTagBytes = 0x41;
constexpr std::size_t kBlockSize = 1 << 20;

std::uint64_t ZigZag(std::int64_t v) {
  return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}
std::int64_t UnZigZag(std::uint64_t v) {
  return static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
}

const char* ReadVarint(const char* p, std::uint64_t& out) {
  std::uint64_t v = 0;
  int shift = 0;
  for (;;) {
    auto byte = static_cast<std::uint8_t>(*p++);
    v |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
    if (!(byte & 0x80)) break;
    shift += 7;
  }
  out = v;
  return p;
}
}  // namespace

void RowStore::Builder::Tag(std::uint8_t tag) {
  buffer_.push_back(static_cast<char>(tag));
}

void RowStore::Builder::Varint(std::uint64_t v) {
  char bytes[10];
  int n = 0;
  while (v >= 0x80) {
    bytes[n++] = static_cast<char>((v & 0x7F) | 0x80);
    v >>= 7;
  }
  bytes[n++] = static_cast<char>(v);
  buffer_.append(bytes, static_cast<std::size_t>(n));
}

void RowStore::Builder::Raw(const void* data, std::size_t size) {
  buffer_.append(static_cast<const char*>(data), size);
}

void RowStore::Builder::Empty() {
  Tag(VT_EMPTY);
}
void RowStore::Builder::Null() {
  Tag(VT_NULL);
}

void RowStore::Builder::Int(VARTYPE vt, std::int64_t v) {
  Tag(static_cast<std::uint8_t>(vt));
  Varint(ZigZag(v));
}

void RowStore::Builder::UInt(VARTYPE vt, std::uint64_t v) {
  Tag(static_cast<std::uint8_t>(vt));
  Varint(v);
}

void RowStore::Builder::Real(VARTYPE vt, double v) {
  Tag(static_cast<std::uint8_t>(vt));
  if (vt == VT_R4) {
    float f = static_cast<float>(v);
    Raw(&f, sizeof f);
  } else {
    Raw(&v, sizeof v);
  }
}

void RowStore::Builder::Bool(bool v) {
  Tag(VT_BOOL);
  buffer_.push_back(v ? 1 : 0);
}

void RowStore::Builder::Text(std::string_view text) {
  Tag(VT_BSTR);
  Varint(text.size());
  Raw(text.data(), text.size());
}

void RowStore::Builder::Bytes(std::string_view bytes) {
  Tag(kTagBytes);
  Varint(bytes.size());
  Raw(bytes.data(), bytes.size());
}

void RowStore::Builder::Dec(const Decimal& d) {
  Tag(VT_DECIMAL);
  buffer_.push_back(static_cast<char>(d.scale | (d.negative ? 0x80 : 0)));
  Varint(static_cast<std::uint64_t>(d.magnitude));
  Varint(static_cast<std::uint64_t>(d.magnitude >> 64));
}

void RowStore::Builder::Value(const Variant& v) {
  switch (v.vt()) {
    case VT_EMPTY:
      return Empty();
    case VT_NULL:
      return Null();
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_CY:
      return Int(v.vt(), v.Int());
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      return UInt(v.vt(), v.UInt());
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      return Real(v.vt(), v.Real());
    case VT_BOOL:
      return Bool(v.Bool());
    case VT_BSTR:
      return Text(v.Str());
    case VT_DECIMAL:
      return Dec(v.Dec());
    case VT_ARRAY | VT_UI1:
      return Bytes(v.Str());
    default:
      // Kinds a database never returns are kept as their text.
      return Text(v.ToText());
  }
}

RowStore::Builder& RowStore::BeginRow() {
  builder_.buffer_.clear();
  return builder_;
}

const char* RowStore::Store(std::string_view bytes) {
  if (bytes.size() > kBlockSize / 4) {
    // A big row gets a block of its own, so that the shared blocks stay dense.
    auto block = std::make_unique_for_overwrite<char[]>(bytes.size() + 1);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    block[bytes.size()] = 0;
    const char* p = block.get();
    blocks_.push_back(std::move(block));
    blockBytes_ += bytes.size() + 1;
    // Keep filling the previous shared block: it is no longer the last one, so remember it.
    if (blocks_.size() >= 2 && blockSize_ != 0) std::swap(blocks_[blocks_.size() - 1], blocks_[blocks_.size() - 2]);
    return p;
  }
  if (blockSize_ == 0 || blockUsed_ + bytes.size() > blockSize_) {
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    blockSize_ = kBlockSize;
    blockUsed_ = 0;
    blockBytes_ += kBlockSize;
  }
  char* p = blocks_.back().get() + blockUsed_;
  std::memcpy(p, bytes.data(), bytes.size());
  blockUsed_ += bytes.size();
  return p;
}

RowStore::RowId RowStore::EndRow() {
  rows_.push_back(Store(builder_.buffer_));
  return static_cast<RowId>(rows_.size() - 1);
}

RowStore::RowId RowStore::AddRow(const std::vector<Variant>& values) {
  Builder& b = BeginRow();
  for (const Variant& v : values) b.Value(v);
  return EndRow();
}

void RowStore::ReplaceRow(RowId row, const std::vector<Variant>& values) {
  Builder& b = BeginRow();
  for (const Variant& v : values) b.Value(v);
  rows_.Set(row, Store(builder_.buffer_));
}

const char* RowStore::Skip(const char* p) {
  auto tag = static_cast<std::uint8_t>(*p++);
  std::uint64_t n = 0;
  switch (tag) {
    case VT_EMPTY:
    case VT_NULL:
      return p;
    case VT_R4:
      return p + 4;
    case VT_R8:
    case VT_DATE:
      return p + 8;
    case VT_BOOL:
      return p + 1;
    case VT_BSTR:
    case kTagBytes:
      p = ReadVarint(p, n);
      return p + n;
    case VT_DECIMAL:
      p = ReadVarint(p + 1, n);
      return ReadVarint(p, n);
    default:
      return ReadVarint(p, n);
  }
}

ValueView RowStore::Decode(const char* p) {
  ValueView v;
  auto tag = static_cast<std::uint8_t>(*p++);
  std::uint64_t n = 0;
  switch (tag) {
    case VT_EMPTY:
    case VT_NULL:
      v.vt = tag;
      return v;
    case VT_R4: {
      float f;
      std::memcpy(&f, p, sizeof f);
      v.vt = VT_R4;
      v.d = f;
      return v;
    }
    case VT_R8:
    case VT_DATE:
      v.vt = tag;
      std::memcpy(&v.d, p, sizeof v.d);
      return v;
    case VT_BOOL:
      v.vt = VT_BOOL;
      v.b = *p != 0;
      return v;
    case VT_BSTR:
    case kTagBytes:
      p = ReadVarint(p, n);
      v.vt = tag == VT_BSTR ? VT_BSTR : (VT_ARRAY | VT_UI1);
      v.s = std::string_view(p, n);
      return v;
    case VT_DECIMAL: {
      auto flags = static_cast<std::uint8_t>(*p++);
      std::uint64_t lo = 0, hi = 0;
      p = ReadVarint(p, lo);
      ReadVarint(p, hi);
      v.vt = VT_DECIMAL;
      v.dec.scale = flags & 0x7F;
      v.dec.negative = (flags & 0x80) != 0;
      v.dec.magnitude = (static_cast<unsigned __int128>(hi) << 64) | lo;
      return v;
    }
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      ReadVarint(p, v.u);
      v.vt = tag;
      return v;
    default:
      ReadVarint(p, n);
      v.vt = tag;
      v.i = UnZigZag(n);
      return v;
  }
}

void RowStore::ColumnStarts(RowId row, int columnCount, std::vector<const char*>& starts) const {
  starts.resize(static_cast<std::size_t>(columnCount));
  const char* p = rows_[row];
  for (int c = 0; c < columnCount; ++c) {
    starts[static_cast<std::size_t>(c)] = p;
    p = Skip(p);
  }
}

ValueView RowStore::Get(RowId row, int column) const {
  const char* p = rows_[row];
  for (int c = 0; c < column; ++c) p = Skip(p);
  return Decode(p);
}

std::vector<Variant> RowStore::GetRow(RowId row, int columnCount) const {
  std::vector<Variant> values;
  values.reserve(static_cast<std::size_t>(columnCount));
  const char* p = rows_[row];
  for (int c = 0; c < columnCount; ++c) {
    values.push_back(Decode(p).ToVariant());
    p = Skip(p);
  }
  return values;
}

std::size_t RowStore::MemoryBytes() const {
  return blockBytes_ + rows_.MemoryBytes();
}

RowStore::Storage RowStore::TakeStorage() {
  Storage storage{std::move(blocks_), rows_.Take()};
  blocks_.clear();
  blockUsed_ = blockSize_ = blockBytes_ = 0;
  return storage;
}

}  // namespace ado
