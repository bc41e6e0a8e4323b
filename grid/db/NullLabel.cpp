#include "grid/db/NullLabel.h"

namespace {
std::string& Label() {
  static std::string label;
  return label;
}
}  // namespace

void SetNullLabel(const std::string& label) {
  Label() = label;
}

std::string GetNullLabel() {
  return Label();
}
