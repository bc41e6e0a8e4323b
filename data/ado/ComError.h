#pragma once
// The error every failing call of the ADO stand-in raises: an HRESULT and, when the raiser had
// one, error information (description and source), plus the native SQLSTATE and error code kept
// for the trace.
#include <exception>
#include <string>

#include "data/ado/HResult.h"

namespace ado {

class ComError : public std::exception {
 public:
  // An error without error information: its text comes from the message table.
  explicit ComError(HRESULT hr);
  // An error with error information (the provider's own description).
  ComError(HRESULT hr, std::string description, std::string source = {}, std::string sqlState = {},
           long nativeError = 0);

  HRESULT Error() const noexcept { return hr_; }
  bool HasErrorInfo() const noexcept { return hasErrorInfo_; }
  const std::string& Description() const noexcept { return description_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& SqlState() const noexcept { return sqlState_; }
  long NativeError() const noexcept { return nativeError_; }

  // The description when there is error information, else the message table's text.
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  HRESULT hr_;
  bool hasErrorInfo_;
  std::string description_;
  std::string source_;
  std::string sqlState_;
  long nativeError_;
  std::string what_;
};

// The system message table's text for a code, without a trailing line break; empty when the
// table has no text for it (the table holds the codes the stand-in raises).
std::string SystemMessageText(HRESULT hr);

}  // namespace ado
