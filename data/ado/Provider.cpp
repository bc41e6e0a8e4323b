#include "data/ado/Provider.h"

namespace ado {

std::string ProviderSession::QuoteIdentifier(std::string_view name) const {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace ado
