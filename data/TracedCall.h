#pragma once
// Runs one data-layer operation; when it fails with a ComError, one error trace line
// "<where> : <error text>" is written before the error goes on. `where` is a callable that builds
// the head of the line only on failure, so the readers called once per cell pay nothing for it.
#include <string>

#include "data/ErrorText.h"
#include "data/Trace.h"
#include "data/ado/ComError.h"

// Traces a failure and raises it again.
template <class Where, class Body>
auto TracedCall(Where&& where, Body&& body) -> decltype(body()) {
  try {
    return body();
  } catch (const ado::ComError& e) {
    Trace(TraceError, "%s : %s", std::string(where()).c_str(), ComErrorText(e).c_str());
    throw;
  }
}

// Traces a failure and answers with fallback() instead of raising.
template <class Where, class Body, class Fallback>
auto TracedCallOr(Where&& where, Body&& body, Fallback&& fallback) -> decltype(body()) {
  try {
    return TracedCall(where, body);
  } catch (const ado::ComError&) {
    return fallback();
  }
}
