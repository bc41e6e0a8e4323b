#pragma once
// Statement parameters bound with SQLBindParameter. Numbers travel as text written here (never
// by the driver's printf), texts as UTF-16, bytes as bytes, dates as date structures; the
// buffers live as long as the object, which must outlive the statement's execution.
#include <deque>
#include <string>
#include <vector>

#include "data/ado/Provider.h"
#include "data/ado/odbc/OdbcConnection.h"

namespace ado::odbc {

class BoundParameters {
 public:
  BoundParameters(const OdbcConnection& connection, SQLHSTMT stmt, const std::vector<Parameter>& parameters);
  BoundParameters(const BoundParameters&) = delete;
  BoundParameters& operator=(const BoundParameters&) = delete;

 private:
  void Bind(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT number, const Parameter& parameter);

  // deque: bound addresses must not move as more are added.
  std::deque<std::string> buffers_;
  std::deque<SQL_TIMESTAMP_STRUCT> timestamps_;
  std::deque<SQL_DATE_STRUCT> dates_;
  std::deque<SQLLEN> indicators_;
};

// The text of a double that reads back as the same double, in the C form ("0.1", "1e+300").
std::string DoubleText(double value);

}  // namespace ado::odbc
