#include "data/ado/postgresql/PgCursor.h"

#include "data/ado/AdoEnums.h"

namespace ado::postgresql {

PgCursor::PgCursor(std::shared_ptr<PgLink> link, ResultPtr first, bool describe)
    : link_(std::move(link)), pending_(std::move(first)) {
  Describe(pending_.get(), describe);
  if (PQresultStatus(pending_.get()) == PGRES_TUPLES_OK) {
    // No rows: the statement is over; what follows it in a batch is read now.
    pending_.reset();
    Finish();
  } else {
    link_->SetStreaming(this);
  }
}

PgCursor::~PgCursor() {
  if (!onWire_) return;
  link_->EndStreaming(this);
  // Rows nobody will read: stop the statement rather than read a million of them.
  link_->Interrupt();
  link_->Drain();
}

void PgCursor::Describe(const PGresult* result, bool describe) {
  const int count = PQnfields(result);
  for (int i = 0; i < count; ++i) {
    MappedType m = MapPgType(PQftype(result, i), PQfmod(result, i));
    ColumnInfo c;
    c.name = PQfname(result, i);
    c.type = m.type;
    c.definedSize = m.definedSize;
    c.precision = m.precision;
    c.scale = m.scale;
    c.attributes = m.attributes;
    // A computed numeric without precision and scale takes the scale of its first value (6 with
    // none); a table's column keeps 6.
    if (IsUnconstrainedNumeric(PQftype(result, i), PQfmod(result, i)) && PQftable(result, i) == InvalidOid &&
        PQntuples(result) > 0 && !PQgetisnull(result, 0, i))
      c.scale = m.scale = ScaleOfText(std::string_view(PQgetvalue(result, 0, i), PQgetlength(result, 0, i)));
    const TableFacts* table = describe ? link_->Facts(PQftable(result, i)) : nullptr;
    const ColumnFacts* column = nullptr;
    if (table && !table->name.empty()) {
      auto found = table->columns.find(PQftablecol(result, i));
      if (found != table->columns.end()) column = &found->second;
    }
    if (column) {
      c.baseSchemaName = Variant(table->schema);
      c.baseTableName = Variant(table->name);
      c.baseColumnName = Variant(column->name);
      c.keyColumn = column->key;
      c.autoIncrement = column->autoIncrement;
      c.attributes |= adFldUpdatable;
      if (c.keyColumn)
        c.attributes |= adFldKeyColumn;
      else if (!column->notNull)
        c.attributes |= adFldIsNullable | adFldMayBeNull;
    } else {
      c.attributes |= adFldIsNullable | adFldMayBeNull;
    }
    columns_.push_back(std::move(c));
    types_.push_back(m);
  }
}

ResultPtr PgCursor::Next() {
  if (!kept_.empty()) {
    ResultPtr r = std::move(kept_.front());
    kept_.pop_front();
    return r;
  }
  if (!onWire_) return nullptr;
  return ResultPtr(PQgetResult(link_->Conn()));
}

bool PgCursor::Fetch(RowStore::Builder& row) {
  if (ended_) return false;
  // Stopped by the user: rows the server sent before the cancel reached it are not waited for.
  if (link_->CancelRequested()) {
    ended_ = true;
    pending_.reset();
    kept_.clear();
    if (onWire_) {
      onWire_ = false;
      link_->EndStreaming(this);
      link_->Drain();
    }
    return false;
  }
  ResultPtr result = pending_ ? std::move(pending_) : Next();
  if (!result || PQresultStatus(result.get()) != PGRES_SINGLE_TUPLE) {
    ended_ = true;
    const bool cancelled = link_->CancelRequested();
    ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_TUPLES_OK;
    if (status == PGRES_TUPLES_OK) {
      Finish();
      return false;
    }
    // Failed mid-way. A fetch the user stopped keeps the rows it has; anything else is an error.
    ComError error = ResultError(link_->Conn(), result.get());
    while (ResultPtr rest = Next()) {
    }
    onWire_ = false;
    link_->EndStreaming(this);
    if (cancelled && error.SqlState() == "57014") return false;
    throw error;
  }
  const PGresult* r = result.get();
  for (int i = 0; i < static_cast<int>(types_.size()); ++i) {
    if (PQgetisnull(r, 0, i))
      row.Null();
    else
      AppendValue(row, types_[i], PQgetvalue(r, 0, i), static_cast<std::size_t>(PQgetlength(r, 0, i)));
  }
  return true;
}

void PgCursor::Finish() {
  ended_ = true;
  // Later statements of a batch run now; the first failure among them is this fetch's.
  ResultPtr failure;
  while (ResultPtr r = Next()) {
    switch (PQresultStatus(r.get())) {
      case PGRES_COMMAND_OK:
      case PGRES_TUPLES_OK:
      case PGRES_SINGLE_TUPLE:
      case PGRES_EMPTY_QUERY:
        break;
      case PGRES_COPY_IN:
      case PGRES_COPY_OUT:
        if (onWire_) {
          kept_.clear();
          if (ResultPtr f = link_->Drain(); f && !failure) failure = std::move(f);
        }
        break;
      default:
        if (!failure) failure = std::move(r);
        break;
    }
  }
  if (onWire_) {
    onWire_ = false;
    link_->EndStreaming(this);
  }
  if (failure) Raise(link_->Conn(), failure.get());
}

void PgCursor::TakeRest() {
  // Another statement needs the connection: the rows still to come are kept here.
  while (PGresult* r = PQgetResult(link_->Conn())) kept_.emplace_back(r);
  onWire_ = false;
}

}  // namespace ado::postgresql
