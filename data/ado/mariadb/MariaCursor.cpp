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

}  // namespace

FactsByTable TablesOf(MariaLink& link, const MYSQL_FIELD* fields, unsigned count) {
  FactsByTable facts;
  for (unsigned i = 0; i < count; ++i) {
    const MYSQL_FIELD& f = fields[i];
    const std::string table = Text(f.org_table, f.org_table_length);
    if (table.empty() || f.org_name_length == 0) continue;
    auto key = std::make_pair(Text(f.db, f.db_length), table);
    if (!facts.count(key)) facts.emplace(key, link.Facts(key.first, table, false));
  }
  return facts;
}

std::vector<ColumnInfo> DescribeFields(MariaLink& link, const MYSQL_FIELD* fields, unsigned count, bool mainBusy,
                                       std::vector<ValueKind>& kinds, FactsByTable known) {
  FactsByTable facts = std::move(known);
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

}  // namespace ado::mariadb
