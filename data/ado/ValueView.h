#pragma once
// A non-owning view of one stored value, read from the cursor engine's row store without
// allocating: what sorting and filtering compare. Valid while the row store is unchanged.
#include <cstdint>
#include <string_view>

#include "data/ado/Decimal.h"
#include "data/ado/Variant.h"

namespace ado {

struct ValueView {
  VARTYPE vt = VT_EMPTY;  // as Variant: VT_I8 for every signed integer width is allowed
  std::int64_t i = 0;     // VT_I1, VT_I2, VT_I4, VT_I8, VT_CY (scaled by 10,000)
  std::uint64_t u = 0;    // VT_UI1, VT_UI2, VT_UI4, VT_UI8
  double d = 0;           // VT_R4, VT_R8, VT_DATE
  bool b = false;         // VT_BOOL
  Decimal dec{};          // VT_DECIMAL
  std::string_view s;     // VT_BSTR, VT_ARRAY | VT_UI1

  bool IsNull() const { return vt == VT_NULL || vt == VT_EMPTY; }
  Variant ToVariant() const;
  static ValueView Of(const Variant& v);  // views the variant's text; keep the variant alive
};

// Random access to the rows the cursor engine holds.
class RowSource {
 public:
  virtual ~RowSource() = default;
  virtual ValueView Get(std::uint32_t row, int column) const = 0;
};

// The columns sort and filter criteria may name: the field name and its ADO type code.
struct CriteriaColumn {
  std::string_view name;
  int adoType = 0;
};

}  // namespace ado
