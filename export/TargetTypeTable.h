#pragma once
// A script target's type table: the target's type name for each ADO type code (nullptr where the
// target has no type that holds the values), looked up by code.
#include <cstddef>

struct TargetType {
  int code;
  const char* target;
};

template <std::size_t N>
const TargetType* FindTargetType(const TargetType (&table)[N], int code) {
  for (const TargetType& row : table)
    if (row.code == code) return &row;
  return nullptr;
}
