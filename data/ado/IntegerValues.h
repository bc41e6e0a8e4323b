#pragma once
// Integers read by a provider stored as the variant type their column's ADO type gives, or wider
// when the value does not fit it (a driver may report a narrower type than it sends), so that
// nothing is cut.
#include <cstdint>

#include "data/ado/RowStore.h"

namespace ado {

void AppendSignedAs(RowStore::Builder& row, int adoType, std::int64_t value);
void AppendUnsignedAs(RowStore::Builder& row, int adoType, std::uint64_t value);

}  // namespace ado
