#pragma once
// The rows of an executed ODBC statement. Fixed-size columns are bound; texts and bytes of bounded
// size are bound too where the driver can read again a value longer than it said (psqlODBC);
// the rest is read with SQLGetData in pieces, so that no value is ever cut. Rows come in blocks
// when every column is bound, one at a time otherwise.
#include <memory>
#include <vector>

#include "data/ado/Provider.h"
#include "data/ado/odbc/OdbcColumns.h"
#include "data/ado/odbc/OdbcConnection.h"
#include "data/ado/odbc/OdbcParameters.h"

namespace ado::odbc {

class OdbcCursor : public ProviderCursor {
 public:
  // `statement` has been executed and has a result; `parameters` (may be null) stay bound to it.
  OdbcCursor(std::shared_ptr<const OdbcConnection> connection, Handle statement,
             std::unique_ptr<BoundParameters> parameters);
  ~OdbcCursor() override;

  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Fetch(RowStore::Builder& row) override;

 private:
  struct Buffer {
    std::vector<char> data;
    std::vector<SQLLEN> indicators;
    bool bound = false;
  };

  void SetUpFetch();
  // Frees the statement, after taking it back from the connection's cancel.
  void FreeStatement();
  bool NextBlock();
  void AppendBound(RowStore::Builder& row, std::size_t column, SQLULEN index);
  void AppendUnbound(RowStore::Builder& row, std::size_t column);

  std::shared_ptr<const OdbcConnection> connection_;
  std::unique_ptr<BoundParameters> parameters_;
  std::vector<ColumnInfo> columns_;
  std::vector<FetchPlan> plans_;
  std::vector<Buffer> buffers_;
  std::vector<SQLUSMALLINT> status_;
  SQLULEN blockSize_ = 1;
  SQLULEN fetched_ = 0;
  SQLULEN next_ = 0;
  bool countsRows_ = false;    // the driver reports the rows of each fetch into fetched_
  bool readsUnbound_ = false;  // some values are read with SQLGetData
  std::string scratch_;
  // Last, so that it is freed before the buffers it writes into.
  Handle stmt_;
};

}  // namespace ado::odbc
