#include "data/ado/mariadb/MariaCursor.h"

#include <mysqld_error.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>

#include "data/ado/AdoEnums.h"
#include "data/ado/IntegerValues.h"

namespace ado::mariadb {
namespace {

// The length that marks a drained NULL (no value is that long: the protocol's packets are smaller).
constexpr std::uint32_t kNullMark = 0xFFFFFFFFu;

std::string Text(const char* data, unsigned length) {
  return data ? std::string(data, length) : std::string();
}

bool IsInteger(enum_field_types t) {
  return t == MYSQL_TYPE_TINY || t == MYSQL_TYPE_SHORT || t == MYSQL_TYPE_INT24 || t == MYSQL_TYPE_LONG ||
         t == MYSQL_TYPE_LONGLONG || t == MYSQL_TYPE_YEAR;
}

bool IsTemporal(enum_field_types t) {
  return t == MYSQL_TYPE_DATE || t == MYSQL_TYPE_NEWDATE || t == MYSQL_TYPE_TIME || t == MYSQL_TYPE_DATETIME ||
         t == MYSQL_TYPE_TIMESTAMP;
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
  const bool anyDigits = decimals > 6;  // an expression's time: as many as it has
  const unsigned digits = anyDigits ? 6 : decimals;
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

}  // namespace

std::vector<ColumnInfo> DescribeFields(MariaLink& link, const MYSQL_FIELD* fields, unsigned count, bool mainBusy,
                                       std::vector<ValueKind>& kinds) {
  std::map<std::pair<std::string, std::string>, TableFacts> facts;
  std::vector<ColumnInfo> columns;
  kinds.clear();
  for (unsigned i = 0; i < count; ++i) {
    const MYSQL_FIELD& f = fields[i];
    ColumnInfo c;
    c.name = Text(f.name, f.name_length);
    MappedType m = MapColumn(FactsOf(f));
    c.type = m.type;
    c.definedSize = m.definedSize;
    c.precision = m.precision;
    c.scale = m.scale;
    c.attributes = m.attributes;
    kinds.push_back(m.kind);
    c.autoIncrement = (f.flags & AUTO_INCREMENT_FLAG) != 0;
    const std::string table = Text(f.org_table, f.org_table_length);
    const std::string column = Text(f.org_name, f.org_name_length);
    const std::string database = Text(f.db, f.db_length);
    if (!table.empty() && !column.empty()) {
      auto key = std::make_pair(database, table);
      auto found = facts.find(key);
      if (found == facts.end()) found = facts.emplace(key, link.Facts(database, table, mainBusy)).first;
      const TableFacts& t = found->second;
      c.baseTableName = Variant(table);
      c.baseColumnName = Variant(column);
      if (!database.empty()) c.baseCatalogName = Variant(database);
      // MariaDB's databases are its schemas: a table of another database is written back there.
      if (!database.empty() && database != link.Database()) c.baseSchemaName = Variant(database);
      // The server drops the flags when it sorts a join through a temporary table; its catalogue
      // still knows (a temporary table of the session is in no catalogue: its flags stand).
      c.keyColumn = t.known ? t.keys.count(column) > 0 : (f.flags & PRI_KEY_FLAG) != 0;
      c.autoIncrement = c.autoIncrement || t.autoIncrement.count(column) > 0;
      c.attributes |= adFldUpdatable;
    }
    // A key column is never null (MariaDB calls its auto-increment keys nullable).
    if (c.keyColumn)
      c.attributes |= adFldKeyColumn;
    else if (!(f.flags & NOT_NULL_FLAG))
      c.attributes |= adFldIsNullable | adFldMayBeNull;
    columns.push_back(std::move(c));
  }
  return columns;
}

TextCursor::TextCursor(std::shared_ptr<MariaLink> link, ResultPtr result)
    : link_(std::move(link)), result_(std::move(result)) {
  const unsigned count = mysql_num_fields(result_.get());
  columns_ = DescribeFields(*link_, mysql_fetch_fields(result_.get()), count, true, kinds_);
  link_->BeginStreaming(this);
}

TextCursor::~TextCursor() {
  if (result_) Finish();
}

void TextCursor::Finish() {
  result_.reset();
  MYSQL* m = link_->Handle();
  while (mysql_more_results(m)) {
    if (mysql_next_result(m) != 0) break;
    ResultPtr later(mysql_use_result(m));
  }
  link_->EndStreaming(this);
}

bool TextCursor::NextRow() {
  current_ = mysql_fetch_row(result_.get());
  if (current_) {
    lengths_ = mysql_fetch_lengths(result_.get());
    return true;
  }
  MYSQL* m = link_->Handle();
  const unsigned error = mysql_errno(m);
  // A fetch stopped by Cancel ends with the rows it read; that is no error.
  if (error != 0 && !(link_->Cancelled() && error == ER_QUERY_INTERRUPTED)) {
    ComError failure = LastError(m);
    Finish();
    throw failure;
  }
  Finish();
  return false;
}

bool TextCursor::Fetch(RowStore::Builder& row) {
  const std::size_t width = columns_.size();
  if (replayed_ < drained_.size()) {
    for (std::size_t i = 0; i < width; ++i) {
      std::uint32_t length = 0;
      std::memcpy(&length, drained_.data() + replayed_, sizeof length);
      replayed_ += sizeof length;
      if (length == kNullMark) {
        row.Null();
        continue;
      }
      AppendText(row, kinds_[i], columns_[i].type, std::string_view(drained_.data() + replayed_, length));
      replayed_ += length;
    }
    if (replayed_ >= drained_.size()) {
      drained_.clear();
      drained_.shrink_to_fit();
      replayed_ = 0;
    }
    return true;
  }
  if (!result_ || !NextRow()) return false;
  for (std::size_t i = 0; i < width; ++i) {
    if (!current_[i])
      row.Null();
    else
      AppendText(row, kinds_[i], columns_[i].type, std::string_view(current_[i], lengths_[i]));
  }
  return true;
}

void TextCursor::Drain() {
  // Rows come to the caller as before, from here; the result ends where the server failed, if it
  // did.
  const std::size_t width = columns_.size();
  try {
    while (result_ && NextRow()) {
      for (std::size_t i = 0; i < width; ++i) {
        const std::uint32_t length = current_[i] ? static_cast<std::uint32_t>(lengths_[i]) : kNullMark;
        drained_.append(reinterpret_cast<const char*>(&length), sizeof length);
        if (current_[i]) drained_.append(current_[i], lengths_[i]);
      }
    }
  } catch (const ComError&) {
    // The rows before the failure stay readable.
  }
}

StatementCursor::StatementCursor(std::shared_ptr<MariaLink> link, StatementPtr statement)
    : link_(std::move(link)), stmt_(std::move(statement)) {
  MYSQL_STMT* s = stmt_.get();
  my_bool updateMaxLength = 1;
  mysql_stmt_attr_set(s, STMT_ATTR_UPDATE_MAX_LENGTH, &updateMaxLength);
  if (mysql_stmt_store_result(s) != 0) RaiseStatement(s);
  ResultPtr meta(mysql_stmt_result_metadata(s));
  if (!meta) RaiseStatement(s);
  const unsigned count = mysql_num_fields(meta.get());
  const MYSQL_FIELD* fields = mysql_fetch_fields(meta.get());
  columns_ = DescribeFields(*link_, fields, count, false, kinds_);
  buffers_.resize(count);
  binds_.assign(count, MYSQL_BIND{});
  for (unsigned i = 0; i < count; ++i) {
    const MYSQL_FIELD& f = fields[i];
    Buffer& buffer = buffers_[i];
    MYSQL_BIND& b = binds_[i];
    std::memset(&b, 0, sizeof b);
    types_.push_back(f.type);
    decimals_.push_back(f.decimals);
    b.is_null = &buffer.isNull;
    b.length = &buffer.length;
    b.error = &buffer.error;
    if (IsInteger(f.type)) {
      b.buffer_type = MYSQL_TYPE_LONGLONG;
      b.buffer = &buffer.integer;
      b.is_unsigned = (f.flags & UNSIGNED_FLAG) ? 1 : 0;
    } else if (f.type == MYSQL_TYPE_FLOAT) {
      b.buffer_type = MYSQL_TYPE_FLOAT;
      b.buffer = &buffer.single;
    } else if (f.type == MYSQL_TYPE_DOUBLE) {
      b.buffer_type = MYSQL_TYPE_DOUBLE;
      b.buffer = &buffer.real;
    } else if (IsTemporal(f.type)) {
      b.buffer_type = f.type;
      b.buffer = &buffer.time;
      b.buffer_length = sizeof(MYSQL_TIME);
    } else {
      buffer.data.resize(std::max<unsigned long>(f.max_length, 1));
      b.buffer_type = MYSQL_TYPE_BLOB;
      b.buffer = buffer.data.data();
      b.buffer_length = buffer.data.size();
    }
  }
  if (count > 0 && mysql_stmt_bind_result(s, binds_.data()) != 0) RaiseStatement(s);
}

bool StatementCursor::Fetch(RowStore::Builder& row) {
  if (!stmt_) return false;
  MYSQL_STMT* s = stmt_.get();
  // A zero time leaves the structure as it was.
  for (Buffer& buffer : buffers_) std::memset(&buffer.time, 0, sizeof buffer.time);
  const int rc = mysql_stmt_fetch(s);
  if (rc == MYSQL_NO_DATA) {
    stmt_.reset();
    return false;
  }
  if (rc == 1) RaiseStatement(s);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    Buffer& buffer = buffers_[i];
    const int type = columns_[i].type;
    if (buffer.isNull) {
      row.Null();
    } else if (IsInteger(types_[i])) {
      if (binds_[i].is_unsigned)
        AppendUnsignedAs(row, type, static_cast<std::uint64_t>(buffer.integer));
      else
        AppendSignedAs(row, type, buffer.integer);
    } else if (types_[i] == MYSQL_TYPE_FLOAT) {
      row.Real(VT_R4, buffer.single);
    } else if (types_[i] == MYSQL_TYPE_DOUBLE) {
      row.Real(VT_R8, buffer.real);
    } else if (IsTemporal(types_[i])) {
      AppendText(row, kinds_[i], type, TimeText(buffer.time, types_[i], decimals_[i]));
    } else {
      if (buffer.length > buffer.data.size()) {
        // Longer than the stored result's widest value said: read it again whole.
        buffer.data.resize(buffer.length);
        MYSQL_BIND again = binds_[i];
        again.buffer = buffer.data.data();
        again.buffer_length = buffer.data.size();
        if (mysql_stmt_fetch_column(s, &again, static_cast<unsigned>(i), 0) != 0) RaiseStatement(s);
        binds_[i].buffer = buffer.data.data();
        binds_[i].buffer_length = buffer.data.size();
        mysql_stmt_bind_result(s, binds_.data());
      }
      AppendText(row, kinds_[i], type, std::string_view(buffer.data.data(), buffer.length));
    }
  }
  return true;
}

}  // namespace ado::mariadb
