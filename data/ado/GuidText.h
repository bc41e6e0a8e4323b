#pragma once
// A GUID as ADO shows it, whichever provider read it.
#include <string>
#include <string_view>

namespace ado {

// "{A0EEBC99-9C0B-4EF8-BB6D-6BB9BD380A11}" from a GUID's text in any of the usual forms; other
// text unchanged.
std::string GuidText(std::string_view text);

}  // namespace ado
