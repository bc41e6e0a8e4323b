#include "data/ado/postgresql/PgCheck.h"

#include "text/TextUtil.h"

namespace ado::postgresql {
namespace {
std::string Trimmed(const char* text) {
  return TrimRight(text ? text : "", "\n ");
}
}  // namespace

HRESULT HResultForState(const std::string& state, HRESULT fallback) {
  if (state.rfind("23", 0) == 0) return DB_E_INTEGRITYVIOLATION;
  if (state.rfind("08", 0) == 0) return E_FAIL;
  if (state == "22003") return DB_E_DATAOVERFLOW;
  return fallback;
}

ComError ResultError(PGconn* connection, const PGresult* result, HRESULT hr) {
  std::string state;
  std::string message;
  if (result) {
    const char* code = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    state = code ? code : "";
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    if (primary) {
      const char* severity = PQresultErrorField(result, PG_DIAG_SEVERITY);
      message = std::string(severity ? severity : "ERROR") + ":  " + primary;
      if (const char* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL))
        message += "\nDETAIL:  " + Trimmed(detail);
      if (const char* hint = PQresultErrorField(result, PG_DIAG_MESSAGE_HINT)) message += "\nHINT:  " + Trimmed(hint);
    } else {
      message = Trimmed(PQresultErrorMessage(result));
    }
  }
  if (message.empty() && connection) message = Trimmed(PQerrorMessage(connection));
  // A connection that broke has no SQLSTATE from the server; it is a lost link all the same.
  if (state.empty() && connection && PQstatus(connection) == CONNECTION_BAD) state = "08006";
  if (message.empty()) message = "The PostgreSQL server reported a failure without a message.";
  return ComError(HResultForState(state, hr), message, kSource, state);
}

void Raise(PGconn* connection, const PGresult* result, HRESULT hr) {
  throw ResultError(connection, result, hr);
}

ResultPtr Check(PGconn* connection, PGresult* result, HRESULT hr) {
  ResultPtr owned(result);
  switch (result ? PQresultStatus(result) : PGRES_FATAL_ERROR) {
    case PGRES_COMMAND_OK:
    case PGRES_TUPLES_OK:
    case PGRES_SINGLE_TUPLE:
    case PGRES_EMPTY_QUERY:
      return owned;
    case PGRES_COPY_IN:
    case PGRES_COPY_OUT:
    case PGRES_COPY_BOTH:
      throw ComError(hr, "COPY to or from the client is not supported; use COPY with a file on the server.", kSource);
    default:
      Raise(connection, result, hr);
  }
}

}  // namespace ado::postgresql
