#pragma once
// A decimal as the nearest double, the same double as Decimal::ToDouble gives, without making
// its text for the common decimals (the result grid converts one per cell of a numeric column).
#include "data/ado/Decimal.h"

double DecimalToDouble(const Decimal& d);
