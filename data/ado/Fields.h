#pragma once
// ADO Fields, Field, Properties and Property over the cursor engine.
#include <memory>
#include <string>
#include <vector>

#include "data/ado/ComPtr.h"
#include "data/ado/Variant.h"

namespace ado {

class RecordsetState;

class Property {
 public:
  Property(std::string name, Variant value) : name_(std::move(name)), value_(std::move(value)) {}
  const std::string& GetName() const { return name_; }
  const Variant& GetValue() const { return value_; }

 private:
  std::string name_;
  Variant value_;
};
using PropertyPtr = ComPtr<Property>;

class Properties {
 public:
  explicit Properties(std::vector<std::shared_ptr<Property>> items) : items_(std::move(items)) {}
  long GetCount() const { return static_cast<long>(items_.size()); }
  // By name (case-insensitive) or index; raises adErrItemNotFound when absent.
  PropertyPtr GetItem(const std::string& name) const;
  PropertyPtr GetItem(long index) const;

 private:
  std::vector<std::shared_ptr<Property>> items_;
};
using PropertiesPtr = ComPtr<Properties>;

class Field {
 public:
  Field(std::shared_ptr<RecordsetState> state, int index) : state_(std::move(state)), index_(index) {}
  std::string GetName() const;
  int GetType() const;
  long GetDefinedSize() const;
  unsigned char GetPrecision() const;
  unsigned char GetNumericScale() const;
  long GetAttributes() const;
  PropertiesPtr GetProperties() const;
  // The current record's value (the pending one while the record is being edited).
  Variant GetValue() const;
  void PutValue(const Variant& value);
  // The value as read from the database, before pending changes.
  Variant GetOriginalValue() const;
  // Appends a byte array (or text) to a long field's pending value; the first chunk after the
  // record's edit began replaces the value.
  void AppendChunk(const Variant& chunk);

 private:
  std::shared_ptr<RecordsetState> state_;
  int index_;
};
using FieldPtr = ComPtr<Field>;

class Fields {
 public:
  explicit Fields(std::shared_ptr<RecordsetState> state) : state_(std::move(state)) {}
  long GetCount() const;
  FieldPtr GetItem(long index) const;               // adErrItemNotFound when out of range
  FieldPtr GetItem(const std::string& name) const;  // case-insensitive; adErrItemNotFound

 private:
  std::shared_ptr<RecordsetState> state_;
};
using FieldsPtr = ComPtr<Fields>;

}  // namespace ado
