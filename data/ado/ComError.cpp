#include "data/ado/ComError.h"

#include <cstdio>

namespace ado {

namespace {
std::string TextOf(HRESULT hr) {
  std::string text = SystemMessageText(hr);
  if (!text.empty()) return text;
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "Unknown error 0x%08X", static_cast<unsigned>(hr));
  return buffer;
}
}  // namespace

ComError::ComError(HRESULT hr) : hr_(hr), hasErrorInfo_(false), nativeError_(0), what_(TextOf(hr)) {}

ComError::ComError(HRESULT hr, std::string description, std::string source, std::string sqlState, long nativeError)
    : hr_(hr),
      hasErrorInfo_(true),
      description_(std::move(description)),
      source_(std::move(source)),
      sqlState_(std::move(sqlState)),
      nativeError_(nativeError),
      what_(description_) {}

}  // namespace ado
