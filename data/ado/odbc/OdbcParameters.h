#pragma once
// Statement parameters bound with SQLBindParameter. Numbers travel as text written here (never
// by the driver's printf), texts as UTF-16, bytes as bytes, dates as date structures; the
// buffers live as long as the object, which must outlive the statement's execution.
#include <deque>
#include <string>
#include <vector>

#include "data/ado/Provider.h"
#include "data/ado/odbc/OdbcConnection.h"
#include "text/OleDate.h"

namespace ado::odbc {

class BoundParameters {
 public:
  BoundParameters(const OdbcConnection& connection, SQLHSTMT stmt, const std::vector<Parameter>& parameters);
  BoundParameters(const BoundParameters&) = delete;
  BoundParameters& operator=(const BoundParameters&) = delete;

 private:
  // What SQLBindParameter is given for one parameter; each value kind fills it its own way.
  struct Binding {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = 0;  // the column's type; 0 lets the value kind choose
    SQLULEN size = 1;
    SQLSMALLINT digits = 0;
    SQLPOINTER data = nullptr;
    SQLLEN bufferLength = 0;
    SQLLEN* indicator = nullptr;
  };

  void Bind(const OdbcConnection& connection, SQLHSTMT stmt, SQLUSMALLINT number, const Parameter& parameter);
  // A text (UTF-8, as SQL_C_CHAR) or a fixed run of bytes, kept in buffers_.
  void BindText(Binding& b, std::string value, SQLSMALLINT fallbackSql);
  void BindFixed(Binding& b, const void* bytes, std::size_t length, SQLSMALLINT cType, SQLSMALLINT fallbackSql);
  void BindNull(Binding& b);
  void BindBool(Binding& b, const Variant& v);
  void BindSigned(Binding& b, const Variant& v);
  void BindUnsigned(Binding& b, const Variant& v);
  void BindDecimal(Binding& b, const Variant& v);
  // A time column takes the time of day, a date column a date without time, the rest a timestamp.
  void BindDate(Binding& b, const Variant& v, int columnType);
  void BindTimeOfDay(Binding& b, const DateParts& parts);
  void BindDay(Binding& b, const DateParts& parts);
  void BindTimestamp(Binding& b, const DateParts& parts);
  void BindBytes(Binding& b, const Variant& v);
  void BindAsText(Binding& b, const Variant& v, const OdbcConnection& connection);

  // deque: bound addresses must not move as more are added.
  std::deque<std::string> buffers_;
  std::deque<SQL_TIMESTAMP_STRUCT> timestamps_;
  std::deque<SQL_DATE_STRUCT> dates_;
  std::deque<SQLLEN> indicators_;
};

// The text of a double that reads back as the same double, in the C form ("0.1", "1e+300").
std::string DoubleText(double value);

}  // namespace ado::odbc
