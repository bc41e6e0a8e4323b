#include "data/ado/ValueView.h"

#include <string>

namespace ado {

Variant ValueView::ToVariant() const {
  switch (vt) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Variant::Null();
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
      return Variant::SignedInt(vt, i);
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      return Variant::UnsignedInt(vt, u);
    case VT_R4:
      return Variant(static_cast<float>(d));
    case VT_R8:
      return Variant(d);
    case VT_DATE:
      return Variant::Date(d);
    case VT_CY:
      return Variant::Currency(i);
    case VT_BOOL:
      return Variant(b);
    case VT_DECIMAL:
      return Variant(dec);
    case VT_BSTR:
      return Variant(std::string(s));
    case VT_ARRAY | VT_UI1:
      return Variant::Bytes(std::string(s));
    default:
      return Variant::OfType(vt);
  }
}

ValueView ValueView::Of(const Variant& v) {
  ValueView view;
  view.vt = v.vt();
  switch (v.vt()) {
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_CY:
      view.i = v.Int();
      break;
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
      view.u = v.UInt();
      break;
    case VT_R4:
    case VT_R8:
    case VT_DATE:
      view.d = v.Real();
      break;
    case VT_BOOL:
      view.b = v.Bool();
      break;
    case VT_DECIMAL:
      view.dec = v.Dec();
      break;
    case VT_BSTR:
    case VT_ARRAY | VT_UI1:
      view.s = v.Str();
      break;
    default:
      break;
  }
  return view;
}

}  // namespace ado
