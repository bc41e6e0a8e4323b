#include "data/ado/GuidText.h"

#include <cctype>

namespace ado {

std::string GuidText(std::string_view text) {
  // Read per value: the 32 digits go straight into the braced form, without temporaries.
  char hex[32];
  std::size_t digits = 0;
  for (char c : text) {
    if (std::isxdigit(static_cast<unsigned char>(c))) {
      if (digits == sizeof hex) return std::string(text);
      hex[digits++] = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    } else if (c != '-' && c != '{' && c != '}') {
      return std::string(text);
    }
  }
  if (digits != sizeof hex) return std::string(text);
  std::string out;
  out.reserve(38);
  out += '{';
  for (std::size_t i = 0; i < sizeof hex; ++i) {
    if (i == 8 || i == 12 || i == 16 || i == 20) out += '-';
    out += hex[i];
  }
  out += '}';
  return out;
}

}  // namespace ado
