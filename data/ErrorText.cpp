#include "data/ErrorText.h"

#include <cstdint>
#include <cstdio>
#include <new>

namespace {
std::string TextWithoutErrorInfo(ado::HRESULT code) {
  std::string text = ado::SystemMessageText(code);
  if (!text.empty() && text.back() == '\n') {
    text.pop_back();
    if (!text.empty() && text.back() == '\r') text.pop_back();
  }
  if (!text.empty()) return text;

  const auto bits = static_cast<std::uint32_t>(code);
  char buffer[48];
  // Codes of the interface-specific range are numbered from 0x80040200, as automation does.
  const std::uint32_t number = (bits - 0x200u) & 0xFFFFu;
  if (bits >= 0x80040200u && bits <= 0x8004FFFFu && number != 0)
    std::snprintf(buffer, sizeof buffer, "IDispatch error #%d", static_cast<int>(number));
  else
    std::snprintf(buffer, sizeof buffer, "Unknown error 0x%0lX", static_cast<unsigned long>(bits));
  return buffer;
}
}  // namespace

std::string ComErrorText(const ado::ComError& error) {
  try {
    // An empty description says nothing; the code's own text is more use to the reader.
    if (error.HasErrorInfo() && !error.Description().empty()) return error.Description();
    return TextWithoutErrorInfo(error.Error());
  } catch (const std::bad_alloc&) {
    return OleDbErrorName(error.Error());
  }
}
