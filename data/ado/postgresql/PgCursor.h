#pragma once
// The rows of a PostgreSQL statement as they arrive: libpq's single-row mode hands over one row
// at a time, so that no second copy of the result is ever held beside the row store. A later
// statement of a batch is read to its end when the rows are; its failure is raised then.
#include <deque>
#include <memory>
#include <vector>

#include "data/ado/Provider.h"
#include "data/ado/postgresql/PgLink.h"
#include "data/ado/postgresql/PgTypes.h"

namespace ado::postgresql {

class PgCursor : public ProviderCursor, private PgLink::Streaming {
 public:
  // `first` is the statement's first result (a row, or the end of a result without rows); the
  // link streams the rest. `describe` adds the base tables' facts to the columns.
  PgCursor(std::shared_ptr<PgLink> link, ResultPtr first, bool describe);
  ~PgCursor() override;

  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Fetch(RowStore::Builder& row) override;

 private:
  void Describe(const PGresult* result, bool describe);
  // The next result of the statement, from what TakeRest kept or from the wire.
  ResultPtr Next();
  void Finish();
  void TakeRest() override;

  std::shared_ptr<PgLink> link_;
  std::vector<ColumnInfo> columns_;
  std::vector<MappedType> types_;
  ResultPtr pending_;
  std::deque<ResultPtr> kept_;
  bool onWire_ = true;
  bool ended_ = false;
};

}  // namespace ado::postgresql
