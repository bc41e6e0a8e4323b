#include "data/ado/postgresql/PgSession.h"

#include <cstdlib>
#include <cstring>

#include "data/ado/AdoEnums.h"
#include "data/ado/postgresql/PgCursor.h"
#include "data/ado/postgresql/PgStatement.h"
#include "data/ado/postgresql/PgTypes.h"

namespace ado::postgresql {
namespace {

// The parameters as libpq takes them; texts kept alive as long as the object.
struct Values {
  std::vector<std::string> texts;
  std::vector<const char*> pointers;
  std::vector<int> lengths;
  std::vector<int> formats;

  explicit Values(const std::vector<Parameter>& parameters) {
    texts.reserve(parameters.size());
    for (const Parameter& p : parameters) {
      bool binary = false;
      const bool null = !p.value.HasValue();
      texts.push_back(null ? std::string() : ParameterText(p, binary));
      // The server keeps no NUL in a text; cut there, the value would change unseen.
      if (!binary && texts.back().find('\0') != std::string::npos)
        throw ComError(DB_E_CANTCONVERTVALUE,
                       "A text holds a NUL character, which PostgreSQL cannot store. Nothing was changed.", kSource);
      lengths.push_back(static_cast<int>(texts.back().size()));
      formats.push_back(binary ? 1 : 0);
    }
    for (std::size_t i = 0; i < parameters.size(); ++i)
      pointers.push_back(parameters[i].value.HasValue() ? texts[i].c_str() : nullptr);
  }
};

// libpq takes statements as C strings: one holding a NUL would run cut short at it, perhaps as a
// different statement (a WHERE that loses its last condition).
void RequireNoNul(const std::string& sql) {
  if (sql.find('\0') != std::string::npos)
    throw ComError(DB_E_ERRORSINCOMMAND, "The statement holds a NUL character; nothing was run.", kSource);
}

}  // namespace

PgSession::PgSession(std::shared_ptr<PgLink> link) : link_(std::move(link)) {}

PgSession::~PgSession() {
  if (writing_) RollbackWrite();
}

void PgSession::Execute(const std::string& sql) {
  RequireNoNul(sql);
  link_->Settle();
  link_->ForgetTables();
  PGconn* c = link_->Conn();
  if (!PQsendQuery(c, sql.c_str())) Raise(c, nullptr);
  if (ResultPtr failure = link_->Drain()) Raise(c, failure.get());
}

void PgSession::Send(const std::string& sql, const std::vector<Parameter>& parameters, bool singleRows) {
  RequireNoNul(sql);
  PGconn* c = link_->Conn();
  int count = 0;
  const std::string text = parameters.empty() ? sql : NumberPlaceholders(sql, count);
  if (static_cast<std::size_t>(count) != parameters.size())
    throw ComError(adErrInvalidArgument,
                   "The statement has " + std::to_string(count) + " parameter markers but " +
                       std::to_string(parameters.size()) + " values were given.",
                   kSource);
  Values values(parameters);
  if (!PQsendQueryParams(c, text.c_str(), static_cast<int>(parameters.size()), nullptr, values.pointers.data(),
                         values.lengths.data(), values.formats.data(), 0))
    Raise(c, nullptr);
  if (singleRows) PQsetSingleRowMode(c);
}

ResultPtr PgSession::FirstResult(long& affected) {
  PGconn* c = link_->Conn();
  affected = -1;
  ResultPtr first(PQgetResult(c));
  ExecStatusType status = first ? PQresultStatus(first.get()) : PGRES_FATAL_ERROR;
  if (status == PGRES_SINGLE_TUPLE || (status == PGRES_TUPLES_OK && PQnfields(first.get()) > 0)) return first;
  // No rows: the statement has run; read what is left and report it.
  if ((status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) && *PQcmdTuples(first.get()))
    affected = std::atol(PQcmdTuples(first.get()));
  ResultPtr failure = link_->Drain();
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_EMPTY_QUERY) {
    if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT)
      throw ComError(DB_E_ERRORSINCOMMAND,
                     "COPY to or from the client is not supported; use COPY with a file on the server.", kSource);
    Raise(c, first.get());
  }
  if (failure) Raise(c, failure.get());
  return nullptr;
}

std::unique_ptr<ProviderCursor> PgSession::OpenQuery(const std::string& sql, const std::vector<Parameter>& parameters) {
  RequireNoNul(sql);
  link_->Settle();
  if (parameters.empty() && HoldsSeveralStatements(sql)) return OpenBatch(sql);
  PGconn* c = link_->Conn();
  // Described first, so that the catalogue can be asked about the result's tables before its rows
  // occupy the connection.
  ResultPtr described;
  {
    int count = 0;
    const std::string text = parameters.empty() ? sql : NumberPlaceholders(sql, count);
    Check(c, PQprepare(c, "", text.c_str(), count, nullptr));
    described = Check(c, PQdescribePrepared(c, ""));
  }
  const int fields = PQnfields(described.get());
  std::vector<Oid> tables;
  for (int i = 0; i < fields; ++i)
    if (Oid t = PQftable(described.get(), i); t != InvalidOid) tables.push_back(t);
  // A statement without a result may change the catalogue.
  if (fields == 0) link_->ForgetTables();
  link_->LearnTables(tables);
  Send(sql, parameters, fields > 0);
  long affected = -1;
  ResultPtr first = FirstResult(affected);
  if (!first) return std::make_unique<EmptyCursor>(affected);
  return std::make_unique<PgCursor>(link_, std::move(first), true);
}

std::unique_ptr<ProviderCursor> PgSession::OpenBatch(const std::string& sql) {
  // A batch cannot be described beforehand: its result is read-only.
  link_->ForgetTables();
  PGconn* c = link_->Conn();
  if (!PQsendQuery(c, sql.c_str())) Raise(c, nullptr);
  PQsetSingleRowMode(c);
  long affected = -1;
  for (bool first = true;; first = false) {
    ResultPtr result(PQgetResult(c));
    if (!result) return std::make_unique<EmptyCursor>(affected);
    ExecStatusType status = PQresultStatus(result.get());
    if (status == PGRES_SINGLE_TUPLE || (status == PGRES_TUPLES_OK && PQnfields(result.get()) > 0))
      return std::make_unique<PgCursor>(link_, std::move(result), false);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY) {
      if (first && *PQcmdTuples(result.get())) affected = std::atol(PQcmdTuples(result.get()));
      continue;
    }
    ComError error =
        status == PGRES_COPY_IN || status == PGRES_COPY_OUT
            ? ComError(DB_E_ERRORSINCOMMAND,
                       "COPY to or from the client is not supported; use COPY with a file on the server.", kSource)
            : ResultError(c, result.get());
    link_->Drain();
    throw error;
  }
}

std::unique_ptr<ProviderCursor> PgSession::OpenSchema(int schema) {
  link_->Settle();
  if (schema == adSchemaTables) return TablesRowset(link_->Conn());
  if (schema == adSchemaColumns) return ColumnsRowset(link_->Conn());
  throw ComError(adErrFeatureNotAvailable);
}

long PgSession::ExecuteUpdate(const std::string& sql, const std::vector<Parameter>& parameters) {
  link_->Settle();
  Send(sql, parameters, false);
  long affected = -1;
  ResultPtr rows = FirstResult(affected);
  if (rows) {
    link_->Drain();
    return PQntuples(rows.get());
  }
  return affected < 0 ? 0 : affected;
}

Variant PgSession::ExecuteInsert(const std::string& sql, const std::vector<Parameter>& parameters,
                                 const ColumnInfo* autoIncrementColumn) {
  if (!autoIncrementColumn) {
    ExecuteUpdate(sql, parameters);
    return Variant::Null();
  }
  const Variant& column = autoIncrementColumn->baseColumnName;
  const std::string name = column.vt() == VT_BSTR ? column.Str() : autoIncrementColumn->name;
  link_->Settle();
  Send(sql + " RETURNING " + QuoteIdentifier(name), parameters, false);
  long affected = -1;
  ResultPtr rows = FirstResult(affected);
  if (rows) link_->Drain();
  if (!rows || PQntuples(rows.get()) == 0 || PQgetisnull(rows.get(), 0, 0)) return Variant::Null();
  RowStore scratch;
  AppendValue(scratch.BeginRow(), MapPgType(PQftype(rows.get(), 0), PQfmod(rows.get(), 0)),
              PQgetvalue(rows.get(), 0, 0), static_cast<std::size_t>(PQgetlength(rows.get(), 0, 0)));
  return scratch.GetVariant(scratch.EndRow(), 0);
}

void PgSession::BeginWrite() {
  link_->Settle();
  savepoint_ = PQtransactionStatus(link_->Conn()) == PQTRANS_INTRANS;
  link_->Run(savepoint_ ? "SAVEPOINT qelvo_write" : "BEGIN");
  writing_ = true;
}

void PgSession::CommitWrite() {
  link_->Settle();
  PGconn* c = link_->Conn();
  if (savepoint_) {
    link_->Run("RELEASE SAVEPOINT qelvo_write");
    writing_ = false;
    return;
  }
  ResultPtr result = Check(c, PQexec(c, "COMMIT"), E_FAIL);
  writing_ = false;
  // COMMIT of a failed transaction answers ROLLBACK: nothing was kept.
  if (std::strcmp(PQcmdStatus(result.get()), "ROLLBACK") == 0)
    throw ComError(E_FAIL, "The server rolled the transaction back; nothing was changed.", kSource, "40000");
}

void PgSession::RollbackWrite() {
  writing_ = false;
  try {
    link_->Run(savepoint_ ? "ROLLBACK TO SAVEPOINT qelvo_write; RELEASE SAVEPOINT qelvo_write" : "ROLLBACK");
  } catch (const ComError&) {
    // A lost connection has nothing left to roll back.
  }
}

void PgSession::Cancel() {
  link_->Cancel();
}

}  // namespace ado::postgresql
