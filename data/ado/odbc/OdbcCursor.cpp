#include "data/ado/odbc/OdbcCursor.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "data/ado/odbc/OdbcRead.h"
#include "data/ado/odbc/OdbcValues.h"

namespace ado::odbc {
namespace {
// Room for the bound values of one block; a block holds at most kMaxBlock rows.
constexpr std::size_t kBlockBytes = 256 * 1024;
constexpr SQLULEN kMaxBlock = 256;

// Bytes a value of a text or binary kind takes, without terminator; nullopt when the driver
// had more than the buffer held. A text whose terminator is not where the driver's length says
// takes the length the terminator shows, and none in the buffer means more than it held.
std::optional<std::size_t> Length(const FetchPlan& plan, const char* data, SQLLEN indicator) {
  if (indicator == SQL_NO_TOTAL || indicator < 0) return std::nullopt;
  std::size_t terminator = plan.cType == SQL_C_WCHAR ? sizeof(SQLWCHAR) : plan.cType == SQL_C_CHAR ? 1 : 0;
  std::size_t room = static_cast<std::size_t>(plan.elementBytes) - terminator;
  if (static_cast<std::size_t>(indicator) > room) return std::nullopt;
  return WrittenLength(data, static_cast<std::size_t>(indicator), static_cast<std::size_t>(plan.elementBytes),
                       terminator);
}

// Texts whose length the type bounds (digits, times, GUIDs): their generous buffers are never
// too short, whatever the driver.
bool IsShortText(ValueKind kind) {
  return kind == ValueKind::Decimal || kind == ValueKind::DateTimeText || kind == ValueKind::Guid;
}

bool IsFixed(ValueKind kind) {
  return kind == ValueKind::Integer || kind == ValueKind::Unsigned || kind == ValueKind::Bit ||
         kind == ValueKind::Single || kind == ValueKind::Double || kind == ValueKind::Date ||
         kind == ValueKind::Timestamp;
}
}  // namespace

OdbcCursor::OdbcCursor(std::shared_ptr<const OdbcConnection> connection, Handle statement,
                       std::unique_ptr<BoundParameters> parameters)
    : connection_(std::move(connection)), parameters_(std::move(parameters)), stmt_(std::move(statement)) {
  NumericLocaleScope locale;
  for (DescribedColumn& d : DescribeResult(*connection_, stmt_.get())) {
    columns_.push_back(std::move(d.info));
    plans_.push_back(d.plan);
  }
  SetUpFetch();
  connection_->SetFetchingStatement(stmt_.get());
}

OdbcCursor::~OdbcCursor() {
  NumericLocaleScope locale;
  FreeStatement();
}

void OdbcCursor::FreeStatement() {
  if (!stmt_) return;
  connection_->ClearFetchingStatement(stmt_.get());
  stmt_.reset();
}

void OdbcCursor::SetUpFetch() {
  SQLHSTMT stmt = stmt_.get();
  buffers_.resize(columns_.size());
  // Which columns are bound: fixed-size values and short texts always; other texts and bytes only
  // where the driver can read a value again that turned out longer than it said.
  const bool bindVariable = connection_->RereadsTruncated();
  std::vector<bool> bind(plans_.size(), false);
  std::size_t bound = 0, rowBytes = 0;
  for (std::size_t i = 0; i < plans_.size(); ++i) {
    const FetchPlan& plan = plans_[i];
    bind[i] = plan.elementBytes > 0 && (IsFixed(plan.kind) || IsShortText(plan.kind) || bindVariable);
    if (!bind[i]) continue;
    ++bound;
    rowBytes += static_cast<std::size_t>(plan.elementBytes) + sizeof(SQLLEN);
  }
  const bool allBound = bound == plans_.size();
  readsUnbound_ = !allBound;
  // Reading the others with SQLGetData between bound columns needs the driver's leave.
  if (bound == 0 || (!allBound && !connection_->BindsAmongUnbound())) {
    readsUnbound_ = !plans_.empty();
    return;
  }
  blockSize_ = allBound ? std::clamp<SQLULEN>(kBlockBytes / std::max<std::size_t>(rowBytes, 1), 1, kMaxBlock) : 1;
  if (blockSize_ > 1) {
    SQLRETURN rc = SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(blockSize_), 0);
    SQLULEN granted = 1;
    if (!Succeeded(rc) || !Succeeded(SQLGetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, &granted, 0, nullptr))) granted = 1;
    blockSize_ = std::max<SQLULEN>(granted, 1);
  }
  status_.assign(blockSize_, SQL_ROW_SUCCESS);
  connection_->CheckStatement(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_STATUS_PTR, status_.data(), 0), stmt);
  connection_->CheckStatement(SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched_, 0), stmt);
  countsRows_ = true;
  for (std::size_t i = 0; i < plans_.size(); ++i) {
    if (!bind[i]) continue;
    const FetchPlan& plan = plans_[i];
    Buffer& b = buffers_[i];
    b.data.assign(static_cast<std::size_t>(plan.elementBytes) * blockSize_, 0);
    b.indicators.assign(blockSize_, 0);
    connection_->CheckStatement(SQLBindCol(stmt, static_cast<SQLUSMALLINT>(i + 1), plan.cType, b.data.data(),
                                           plan.elementBytes, b.indicators.data()),
                                stmt);
    b.bound = true;
  }
}

bool OdbcCursor::NextBlock() {
  NumericLocaleScope locale;
  SQLHSTMT stmt = stmt_.get();
  fetched_ = 0;
  SQLRETURN rc = SQLFetch(stmt);
  if (rc == SQL_NO_DATA) {
    // Frees the driver's copy of the result at once.
    FreeStatement();
    return false;
  }
  if (!Succeeded(rc)) connection_->RaiseStatement(rc, stmt);
  if (!countsRows_) fetched_ = 1;  // no rows-fetched pointer was set
  if (rc == SQL_SUCCESS_WITH_INFO) {
    for (SQLULEN i = 0; i < fetched_ && i < status_.size(); ++i)
      if (status_[i] == SQL_ROW_ERROR) connection_->RaiseStatement(SQL_ERROR, stmt);
  }
  next_ = 0;
  return fetched_ > 0;
}

bool OdbcCursor::Fetch(RowStore::Builder& row) {
  if (!stmt_) return false;
  // One scope for the row when the driver is called for values of it; block fetches hold their
  // own.
  std::optional<NumericLocaleScope> locale;
  if (readsUnbound_) locale.emplace();
  if (next_ >= fetched_ && !NextBlock()) return false;
  SQLULEN index = next_++;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (buffers_[i].bound)
      AppendBound(row, i, index);
    else
      AppendUnbound(row, i);
  }
  return true;
}

void OdbcCursor::AppendBound(RowStore::Builder& row, std::size_t column, SQLULEN index) {
  const FetchPlan& plan = plans_[column];
  const Buffer& b = buffers_[column];
  SQLLEN indicator = b.indicators[index];
  if (indicator == SQL_NULL_DATA) return row.Null();
  const char* data = b.data.data() + static_cast<std::size_t>(plan.elementBytes) * index;
  if (IsFixed(plan.kind)) return AppendValue(row, plan.kind, columns_[column].type, data, plan.elementBytes);
  if (std::optional<std::size_t> length = Length(plan, data, indicator))
    return AppendValue(row, plan.kind, columns_[column].type, data, *length);
  // Longer than the driver said: position on the row and read the value whole. Where the driver
  // cannot, the value is refused rather than cut.
  NumericLocaleScope locale;
  SQLHSTMT stmt = stmt_.get();
  if (!connection_->RereadsTruncated())
    throw ComError(
        DB_E_ERRORSOCCURRED,
        "Field \"" + columns_[column].name + "\": the driver returned a value longer than it declared (" +
            (indicator == SQL_NO_TOTAL ? std::string("unknown length") : std::to_string(indicator) + " bytes") +
            "), and cannot give it again whole.",
        kSource);
  if (blockSize_ > 1)
    connection_->CheckStatement(
        SQLSetPos(stmt, static_cast<SQLSETPOSIROW>(index + 1), SQL_POSITION, SQL_LOCK_NO_CHANGE), stmt);
  AppendUnbound(row, column);
}

void OdbcCursor::AppendUnbound(RowStore::Builder& row, std::size_t column) {
  const FetchPlan& plan = plans_[column];
  SQLHSTMT stmt = stmt_.get();
  auto number = static_cast<SQLUSMALLINT>(column + 1);
  int type = columns_[column].type;
  if (IsFixed(plan.kind)) {
    alignas(8) char value[32] = {};
    SQLLEN indicator = 0;
    connection_->CheckStatement(SQLGetData(stmt, number, plan.cType, value, sizeof value, &indicator), stmt);
    if (indicator == SQL_NULL_DATA) return row.Null();
    return AppendValue(row, plan.kind, type, value, sizeof value);
  }
  std::optional<std::string> value;
  if (plan.kind == ValueKind::Binary) {
    value = GetBytes(*connection_, stmt, number);
  } else if (plan.kind == ValueKind::Text) {
    // UTF-16 as it came, converted once by AppendValue.
    value = GetPieces(*connection_, stmt, number, SQL_C_WCHAR, sizeof(SQLWCHAR));
  } else if (plan.kind == ValueKind::Utf8Text) {
    value = GetPieces(*connection_, stmt, number, SQL_C_CHAR, 1);
  } else {
    value = GetAscii(*connection_, stmt, number);
  }
  if (!value) return row.Null();
  AppendValue(row, plan.kind, type, value->data(), value->size());
}

}  // namespace ado::odbc
