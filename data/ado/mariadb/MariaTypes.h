#pragma once
// MariaDB column types as ADO types (the codes ADO's ODBC provider gives them over MariaDB's
// Unicode driver), values in the text form of the server appended to a row as the Variant types
// ADO gives, and Variants bound as statement parameters.
#include <mysql.h>

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "data/ado/Provider.h"

namespace ado::mariadb {

// How the values of a column are read.
enum class ValueKind { Signed, Unsigned, Bit, Single, Double, Decimal, DateTime, Text, Binary };

struct MappedType {
  int type = 0;
  long definedSize = 0;
  int precision = 0;
  int scale = 0;
  long attributes = 0;  // adFldFixed, adFldLong | adFldMayDefer as the type implies
  ValueKind kind = ValueKind::Text;
};

// What the server says of a column, in a result or in its catalogue.
struct ColumnFacts {
  enum_field_types type = MYSQL_TYPE_VAR_STRING;
  unsigned long long length = 0;  // characters for texts, bytes for binary values
  unsigned decimals = 0;
  bool isUnsigned = false;
  bool isBinary = false;  // the binary character set: bytes, not text
};

inline constexpr long kLongDefinedSize = 2147483647;

MappedType MapColumn(const ColumnFacts& facts);
// The facts of a result column (its byte length counted in characters of its character set).
ColumnFacts FactsOf(const MYSQL_FIELD& field);
// The facts of a catalogue column (information_schema.COLUMNS: DATA_TYPE, COLUMN_TYPE, the
// lengths and digits as given).
ColumnFacts CatalogueFacts(const std::string& dataType, const std::string& columnType, long long characters,
                           long long octets, long long precision, long long scale, long long datetimePrecision);

bool IsCharacterType(int adoType);
bool IsBinaryType(int adoType);

// Appends a value given in the server's text form (the text protocol's, or one written the same
// way from a binary result). A value the type cannot hold without loss (a zero date, a time
// beyond a day, more digits than a decimal has) keeps its text, so nothing is ever cut.
void AppendText(RowStore::Builder& row, ValueKind kind, int adoType, std::string_view text);

// Parameters of a prepared statement; the buffers live as long as the object, which must
// outlive the statement's execution.
class BoundParameters {
 public:
  explicit BoundParameters(const std::vector<Parameter>& parameters);
  BoundParameters(const BoundParameters&) = delete;
  BoundParameters& operator=(const BoundParameters&) = delete;
  MYSQL_BIND* Binds() { return binds_.empty() ? nullptr : binds_.data(); }

 private:
  void Bind(MYSQL_BIND& b, const Parameter& parameter);
  void BindText(MYSQL_BIND& b, enum_field_types type, std::string text);

  std::vector<MYSQL_BIND> binds_;
  // deques: bound addresses must not move as more are added.
  std::deque<std::string> texts_;
  std::deque<long long> integers_;
  std::deque<double> doubles_;
  std::deque<float> floats_;
  std::deque<signed char> tiny_;
  std::deque<MYSQL_TIME> times_;
  std::deque<unsigned long> lengths_;
};

}  // namespace ado::mariadb
