// Connection strings from any text: parsing may only raise ComError; what parses writes back
// (plain and ODBC form) to text that reads as the same attributes; masking never fails and
// leaves no password readable.
#include <cstdlib>
#include <string>

#include "data/ado/ComError.h"
#include "data/ado/ConnectionString.h"

namespace {
bool IsPasswordKey(std::string key) {
  while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.pop_back();
  for (char& c : key) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c);
  auto ends = [&key](std::string_view s) { return key.size() >= s.size() && key.ends_with(s); };
  return ends("pwd") || ends("password");
}

bool SameAttributes(const ado::ConnectionString& a, const ado::ConnectionString& b) {
  if (a.Attributes().size() != b.Attributes().size()) return false;
  for (std::size_t i = 0; i < a.Attributes().size(); ++i) {
    if (a.Attributes()[i].key != b.Attributes()[i].key || a.Attributes()[i].value != b.Attributes()[i].value)
      return false;
  }
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string masked = ado::MaskPasswords(text);
  ado::ConnectionString cs;
  try {
    cs = ado::ConnectionString::Parse(text);
  } catch (const ado::ComError&) {
    return 0;
  }
  if (!SameAttributes(cs, ado::ConnectionString::Parse(cs.ToString()))) std::abort();
  if (!SameAttributes(cs, ado::ConnectionString::Parse(cs.ToOdbcString()))) std::abort();
  const ado::ConnectionString hidden = ado::ConnectionString::Parse(masked);
  if (hidden.Attributes().size() != cs.Attributes().size()) std::abort();
  for (std::size_t i = 0; i < cs.Attributes().size(); ++i) {
    const auto& before = cs.Attributes()[i];
    const auto& after = hidden.Attributes()[i];
    if (before.key != after.key) std::abort();
    if (!IsPasswordKey(before.key)) {
      if (before.value != after.value) std::abort();
    } else if (after.value != "***" && !(after.value.empty() && before.value.empty())) {
      std::abort();
    }
  }
  return 0;
}
