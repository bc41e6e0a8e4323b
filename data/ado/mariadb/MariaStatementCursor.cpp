#include "data/ado/mariadb/MariaStatementCursor.h"

#include <mysqld_error.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "data/ado/IntegerValues.h"
#include "text/OleDate.h"

namespace ado::mariadb {
namespace {

// A text or binary column's buffer at first: most values fit, and a longer one is read in pieces.
constexpr unsigned long kFirstCapacity = 8192;
// Buffers grow to the longest value seen, up to this; longer values are always read in pieces.
constexpr unsigned long kMostCapacity = 1 << 16;

bool IsInteger(enum_field_types t) {
  return t == MYSQL_TYPE_TINY || t == MYSQL_TYPE_SHORT || t == MYSQL_TYPE_INT24 || t == MYSQL_TYPE_LONG ||
         t == MYSQL_TYPE_LONGLONG || t == MYSQL_TYPE_YEAR;
}

bool IsTemporal(enum_field_types t) {
  return t == MYSQL_TYPE_DATE || t == MYSQL_TYPE_NEWDATE || t == MYSQL_TYPE_TIME || t == MYSQL_TYPE_DATETIME ||
         t == MYSQL_TYPE_TIMESTAMP;
}

// Fraction digits a time of the column shows in the text protocol (an expression's time shows
// as many as it has, at most six).
unsigned FractionDigits(unsigned decimals) {
  return decimals > 6 ? 6 : decimals;
}

// A binary-protocol time in the text protocol's form, fraction digits as the column declares.
// The column's type decides the form: a zero value comes without a time type of its own.
std::string TimeText(const MYSQL_TIME& t, enum_field_types type, unsigned decimals) {
  char buffer[64];
  int n = 0;
  if (type == MYSQL_TYPE_DATE || type == MYSQL_TYPE_NEWDATE)
    return (std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u", t.year, t.month, t.day), buffer);
  if (type == MYSQL_TYPE_TIME)
    n = std::snprintf(buffer, sizeof buffer, "%s%02u:%02u:%02u", t.neg ? "-" : "", t.day * 24 + t.hour, t.minute,
                      t.second);
  else
    n = std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u %02u:%02u:%02u", t.year, t.month, t.day, t.hour, t.minute,
                      t.second);
  std::string text(buffer, static_cast<std::size_t>(n));
  const bool anyDigits = decimals > 6;
  const unsigned digits = FractionDigits(decimals);
  if (digits > 0) {
    std::snprintf(buffer, sizeof buffer, ".%06lu", t.second_part);
    std::string fraction(buffer, 1 + digits);
    if (anyDigits) {
      while (fraction.size() > 1 && fraction.back() == '0') fraction.pop_back();
      if (fraction.size() == 1) fraction.clear();
    }
    text += fraction;
  }
  return text;
}

// The milliseconds the text protocol's fraction gives when read back: its digits cut at the
// column's count, then at three.
int Milliseconds(unsigned long microseconds, unsigned decimals) {
  unsigned long cut = 1;
  for (unsigned d = FractionDigits(decimals); d < 6; ++d) cut *= 10;
  return static_cast<int>((microseconds % 1000000 / cut * cut) / 1000);
}

}  // namespace

StatementCursor::StatementCursor(std::shared_ptr<MariaLink> link, StatementPtr statement, FactsByTable tables)
    : link_(std::move(link)), stmt_(std::move(statement)) {
  MYSQL_STMT* s = stmt_.get();
  // The widest value of each column is not wanted: it would mean reading the whole result first.
  my_bool updateMaxLength = 0;
  mysql_stmt_attr_set(s, STMT_ATTR_UPDATE_MAX_LENGTH, &updateMaxLength);
  ResultPtr meta(mysql_stmt_result_metadata(s));
  if (!meta) RaiseStatement(s);
  link_->BeginStreaming(this);
  const unsigned count = mysql_num_fields(meta.get());
  const MYSQL_FIELD* fields = mysql_fetch_fields(meta.get());
  std::vector<ValueKind> kinds;
  try {
    columns_ = DescribeFields(*link_, fields, count, true, kinds, std::move(tables));
  } catch (...) {
    Finish();
    throw;
  }
  slots_.resize(count);
  binds_.assign(count, MYSQL_BIND{});
  for (unsigned i = 0; i < count; ++i) {
    const MYSQL_FIELD& f = fields[i];
    Slot& slot = slots_[i];
    MYSQL_BIND& b = binds_[i];
    std::memset(&b, 0, sizeof b);
    slot.kind = kinds[i];
    slot.adoType = columns_[i].type;
    slot.type = f.type == MYSQL_TYPE_NEWDATE ? MYSQL_TYPE_DATE : f.type;
    slot.decimals = f.decimals;
    b.is_null = &slot.isNull;
    b.length = &slot.length;
    b.error = &slot.error;
    if (IsInteger(f.type)) {
      slot.binding = (f.flags & UNSIGNED_FLAG) ? Binding::Unsigned : Binding::Signed;
      b.buffer_type = MYSQL_TYPE_LONGLONG;
      b.buffer = &slot.integer;
      b.is_unsigned = slot.binding == Binding::Unsigned;
    } else if (f.type == MYSQL_TYPE_FLOAT) {
      slot.binding = Binding::Single;
      b.buffer_type = MYSQL_TYPE_FLOAT;
      b.buffer = &slot.single;
    } else if (f.type == MYSQL_TYPE_DOUBLE) {
      slot.binding = Binding::Double;
      b.buffer_type = MYSQL_TYPE_DOUBLE;
      b.buffer = &slot.real;
    } else if (IsTemporal(f.type)) {
      slot.binding = Binding::Time;
      b.buffer_type = slot.type;
      b.buffer = &slot.time;
      b.buffer_length = sizeof(MYSQL_TIME);
      timeSlots_.push_back(i);
    } else {
      slot.binding = Binding::Bytes;
      slot.capacity = std::clamp<unsigned long>(f.length, 1, kFirstCapacity);
      slot.bytes = std::make_unique<char[]>(slot.capacity);
      b.buffer_type = MYSQL_TYPE_BLOB;
      b.buffer = slot.bytes.get();
      b.buffer_length = slot.capacity;
    }
  }
  if (count > 0 && mysql_stmt_bind_result(s, binds_.data()) != 0) {
    ComError failure = StatementError(s);
    Finish();
    throw failure;
  }
}

StatementCursor::~StatementCursor() {
  if (stmt_) Finish();
}

void StatementCursor::Finish() {
  // Closing reads off whatever rows the server still sends.
  stmt_.reset();
  link_->EndStreaming(this);
}

ComError StatementCursor::FetchError() const {
  // An error the server sent mid-result (a KILL QUERY, a shutdown) is the connection's.
  if (mysql_stmt_errno(stmt_.get()) == 0 && mysql_errno(link_->Handle()) != 0) return LastError(link_->Handle());
  return StatementError(stmt_.get());
}

void StatementCursor::Drain() {
  if (!stmt_) return;
  if (mysql_stmt_store_result(stmt_.get()) != 0) {
    ComError failure = FetchError();
    if (!(link_->Cancelled() && failure.NativeError() == ER_QUERY_INTERRUPTED)) drainFailure_ = std::move(failure);
    Finish();
  }
}

void StatementCursor::GrowBuffers() {
  rebind_ = false;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Slot& slot = slots_[i];
    if (slot.binding != Binding::Bytes || slot.length <= slot.capacity || slot.capacity >= kMostCapacity) continue;
    slot.capacity = std::min(std::max(slot.length, slot.capacity * 2), kMostCapacity);
    slot.bytes = std::make_unique<char[]>(slot.capacity);
    binds_[i].buffer = slot.bytes.get();
    binds_[i].buffer_length = slot.capacity;
  }
  if (mysql_stmt_bind_result(stmt_.get(), binds_.data()) != 0) {
    ComError failure = StatementError(stmt_.get());
    Finish();
    throw failure;
  }
}

bool StatementCursor::NextRow() {
  if (rebind_) GrowBuffers();
  MYSQL_STMT* s = stmt_.get();
  // A zero date comes as no bytes and leaves its buffer as it was.
  for (std::size_t i : timeSlots_) std::memset(&slots_[i].time, 0, sizeof(MYSQL_TIME));
  const int rc = mysql_stmt_fetch(s);
  if (rc == 0 || rc == MYSQL_DATA_TRUNCATED) return true;
  if (rc == MYSQL_NO_DATA) {
    Finish();
    return false;
  }
  ComError failure = FetchError();
  Finish();
  // A fetch stopped by Cancel ends with the rows it read; that is no error.
  if (link_->Cancelled() && failure.NativeError() == ER_QUERY_INTERRUPTED) return false;
  throw failure;
}

std::string_view StatementCursor::LongValue(std::size_t column) {
  Slot& slot = slots_[column];
  const unsigned long length = slot.length;
  piece_.resize(length);
  std::memcpy(piece_.data(), slot.bytes.get(), slot.capacity);
  MYSQL_BIND rest;
  std::memset(&rest, 0, sizeof rest);
  unsigned long restLength = 0;
  my_bool restNull = 0, restError = 0;
  rest.buffer_type = MYSQL_TYPE_BLOB;
  rest.buffer = piece_.data() + slot.capacity;
  rest.buffer_length = length - slot.capacity;
  rest.length = &restLength;
  rest.is_null = &restNull;
  rest.error = &restError;
  if (mysql_stmt_fetch_column(stmt_.get(), &rest, static_cast<unsigned>(column), slot.capacity) != 0) {
    ComError failure = StatementError(stmt_.get());
    Finish();
    throw failure;
  }
  // Later values as long fit whole, up to a bound: a column of long texts is not read in pieces
  // row after row. The buffer grows before the next row: binding anew forgets where the values of
  // this one are.
  if (slot.capacity < kMostCapacity) rebind_ = true;
  return piece_;
}

void StatementCursor::AppendTime(RowStore::Builder& row, const Slot& slot) {
  const MYSQL_TIME& t = slot.time;
  DateParts parts;
  bool plain = true;
  if (slot.type == MYSQL_TYPE_TIME) {
    // A time of day on the automation dates' day zero; a negative one or one past a day keeps its text.
    plain = !t.neg && t.day == 0 && t.hour <= 23;
    parts.year = 1899;
    parts.month = 12;
    parts.day = 30;
  } else {
    parts.year = static_cast<int>(t.year);
    parts.month = static_cast<int>(t.month);
    parts.day = static_cast<int>(t.day);
  }
  if (slot.type != MYSQL_TYPE_DATE) {
    parts.hour = static_cast<int>(t.hour);
    parts.minute = static_cast<int>(t.minute);
    parts.second = static_cast<int>(t.second);
    parts.millisecond = Milliseconds(t.second_part, slot.decimals);
  }
  if (plain)
    if (std::optional<double> date = PartsToOleDate(parts)) return row.Real(VT_DATE, *date);
  // A zero date, a year before 100, a time past a day: its text, as the text protocol has it.
  AppendText(row, slot.kind, slot.adoType, TimeText(t, slot.type, slot.decimals));
}

bool StatementCursor::Fetch(RowStore::Builder& row) {
  if (drainFailure_) {
    ComError failure = std::move(*drainFailure_);
    drainFailure_.reset();
    throw failure;
  }
  if (!stmt_ || !NextRow()) return false;
  const std::size_t width = slots_.size();
  for (std::size_t i = 0; i < width; ++i) {
    const Slot& slot = slots_[i];
    if (slot.isNull) {
      row.Null();
      continue;
    }
    switch (slot.binding) {
      case Binding::Signed:
        AppendSignedAs(row, slot.adoType, slot.integer);
        break;
      case Binding::Unsigned:
        AppendUnsignedAs(row, slot.adoType, static_cast<std::uint64_t>(slot.integer));
        break;
      case Binding::Single:
        row.Real(VT_R4, slot.single);
        break;
      case Binding::Double:
        row.Real(VT_R8, slot.real);
        break;
      case Binding::Time:
        AppendTime(row, slot);
        break;
      case Binding::Bytes:
        AppendText(row, slot.kind, slot.adoType,
                   slot.length > slot.capacity ? LongValue(i) : std::string_view(slot.bytes.get(), slot.length));
        break;
    }
  }
  return true;
}

}  // namespace ado::mariadb
