#include "grid/db/DecimalToDouble.h"

double DecimalToDouble(const Decimal& d) {
  // Digits that a double holds exactly over a power of ten that a double holds exactly divide
  // into the correctly rounded double at once; other decimals go through Decimal's text.
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (d.magnitude >= (static_cast<unsigned __int128>(1) << 53) || d.scale > 22) return d.ToDouble();
  const double value = static_cast<double>(static_cast<std::uint64_t>(d.magnitude)) / kPowersOfTen[d.scale];
  return d.negative && d.magnitude != 0 ? -value : value;  // a zero has no sign in its text
}
