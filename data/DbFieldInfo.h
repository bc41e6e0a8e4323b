#pragma once
// The description of one column of an open recordset, and the names of ADO type codes and
// attribute flags.
#include <string>

#include "data/ado/Variant.h"

struct DbFieldInfo {
  std::string name;
  int type = 0;
  std::string attributes;
  int definedSize = 0;
  int precision = 0;
  int numericScale = 0;
  std::string baseColumnName;
  std::string baseTableName;
  bool isKeyColumn = false;
  bool isAutoIncrement = false;
  bool mayBeNull = false;
  bool isNullable = false;
  ado::Variant defaultValue = ado::Variant::Null();
};

const char* DataTypeName(int code);
std::string FieldAttributeNames(long flags);
