#pragma once
// Every libpq call of the provider goes through these: connections and results owned by
// unique_ptr, and a failed result or connection turned into a ComError that carries the server's
// SQLSTATE and message.
#include <libpq-fe.h>

#include <memory>
#include <string>

#include "data/ado/ComError.h"

namespace ado::postgresql {

struct ConnectionDeleter {
  void operator()(PGconn* c) const { PQfinish(c); }
};
using ConnectionPtr = std::unique_ptr<PGconn, ConnectionDeleter>;

struct ResultDeleter {
  void operator()(PGresult* r) const { PQclear(r); }
};
using ResultPtr = std::unique_ptr<PGresult, ResultDeleter>;

inline constexpr const char* kSource = "PostgreSQL";

// The HRESULT ADO gives for a failed statement of this SQLSTATE: integrity violations, lost
// connections and overflows have their own codes, everything else is `fallback`.
HRESULT HResultForState(const std::string& state, HRESULT fallback);

// The error of a failed result (the connection's message when there is no result, or it has
// none): "<message>" with the server's detail and hint on lines of their own.
ComError ResultError(PGconn* connection, const PGresult* result, HRESULT hr = DB_E_ERRORSINCOMMAND);
[[noreturn]] void Raise(PGconn* connection, const PGresult* result, HRESULT hr = DB_E_ERRORSINCOMMAND);

// Returns the result when it finished well (commands, rows, a copy in or out); raises otherwise.
ResultPtr Check(PGconn* connection, PGresult* result, HRESULT hr = DB_E_ERRORSINCOMMAND);

}  // namespace ado::postgresql
