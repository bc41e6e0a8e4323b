#pragma once
// Describing the columns of an executed statement: name, ADO type, sizes and attributes from
// SQLDescribeCol and SQLColAttribute, the base table and column, the key columns of each base
// table (SQLPrimaryKeys) and the auto-increment flag (SQL_DESC_AUTO_UNIQUE_VALUE).
#include <vector>

#include "data/ado/Provider.h"
#include "data/ado/odbc/OdbcConnection.h"
#include "data/ado/odbc/OdbcTypes.h"

namespace ado::odbc {

struct DescribedColumn {
  ColumnInfo info;
  FetchPlan plan;
};

std::vector<DescribedColumn> DescribeResult(const OdbcConnection& connection, SQLHSTMT stmt);

}  // namespace ado::odbc
