#pragma once
// A provider cursor over rows already in memory (schema rowsets, catalogue results).
#include <vector>

#include "data/ado/Provider.h"

namespace ado {

class MemoryCursor : public ProviderCursor {
 public:
  explicit MemoryCursor(std::vector<ColumnInfo> columns) : columns_(std::move(columns)) {}
  void AddRow(std::vector<Variant> row) { rows_.push_back(std::move(row)); }
  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Fetch(RowStore::Builder& row) override {
    if (next_ >= rows_.size()) return false;
    for (const Variant& v : rows_[next_]) row.Value(v);
    ++next_;
    return true;
  }

  // A read-only column description for schema rowsets.
  static ColumnInfo Column(const char* name, int type, long size = 0);
  // The OLE DB columns of the tables (adSchemaTables) and columns (adSchemaColumns) rowsets.
  static std::vector<ColumnInfo> TablesRowsetColumns();
  static std::vector<ColumnInfo> ColumnsRowsetColumns();

 private:
  std::vector<ColumnInfo> columns_;
  std::vector<std::vector<Variant>> rows_;
  std::size_t next_ = 0;
};

}  // namespace ado
