#include "data/ado/Fields.h"

#include "data/ado/ComError.h"
#include "data/ado/RecordsetState.h"
#include "text/CaseFold.h"

namespace ado {

PropertyPtr Properties::GetItem(const std::string& name) const {
  for (const auto& p : items_)
    if (EqualsFolded(p->GetName(), name)) return PropertyPtr(p);
  throw ComError(adErrItemNotFound);
}

PropertyPtr Properties::GetItem(long index) const {
  if (index < 0 || index >= GetCount()) throw ComError(adErrItemNotFound);
  return PropertyPtr(items_[static_cast<std::size_t>(index)]);
}

namespace {
const ColumnInfo& Info(const std::shared_ptr<RecordsetState>& state, int index) {
  state->RequireOpen();
  return state->columns[static_cast<std::size_t>(index)];
}
}  // namespace

std::string Field::GetName() const {
  return Info(state_, index_).name;
}
int Field::GetType() const {
  return Info(state_, index_).type;
}
long Field::GetDefinedSize() const {
  return Info(state_, index_).definedSize;
}
unsigned char Field::GetPrecision() const {
  return static_cast<unsigned char>(Info(state_, index_).precision);
}
unsigned char Field::GetNumericScale() const {
  return static_cast<unsigned char>(Info(state_, index_).scale);
}
long Field::GetAttributes() const {
  return Info(state_, index_).attributes;
}

PropertiesPtr Field::GetProperties() const {
  const ColumnInfo& c = Info(state_, index_);
  std::vector<std::shared_ptr<Property>> items{
      std::make_shared<Property>("BASECATALOGNAME", c.baseCatalogName),
      std::make_shared<Property>("BASESCHEMANAME", c.baseSchemaName),
      std::make_shared<Property>("BASETABLENAME", c.baseTableName),
      std::make_shared<Property>("BASECOLUMNNAME", c.baseColumnName),
      std::make_shared<Property>("KEYCOLUMN", Variant(c.keyColumn)),
      std::make_shared<Property>("ISAUTOINCREMENT", Variant(c.autoIncrement)),
  };
  return PropertiesPtr(std::make_shared<Properties>(std::move(items)));
}

Variant Field::GetValue() const {
  Info(state_, index_);
  return state_->Value(index_);
}

void Field::PutValue(const Variant& value) {
  Info(state_, index_);
  state_->PutValue(index_, value);
}

Variant Field::GetOriginalValue() const {
  Info(state_, index_);
  if (state_->editMode == adEditAdd) return Variant::Null();
  state_->RequireCurrent();
  return state_->store.GetVariant(state_->CurrentRow(), index_);
}

void Field::AppendChunk(const Variant& chunk) {
  Info(state_, index_);
  state_->AppendChunk(index_, chunk);
}

long Fields::GetCount() const {
  state_->RequireOpen();
  // None yet while the statement runs on the worker.
  return state_->ColumnsKnown() ? static_cast<long>(state_->columns.size()) : 0;
}

FieldPtr Fields::GetItem(long index) const {
  return FieldPtr(std::make_shared<Field>(state_, state_->CheckedColumn(index)));
}

FieldPtr Fields::GetItem(const std::string& name) const {
  return FieldPtr(std::make_shared<Field>(state_, state_->CheckedColumn(name)));
}

}  // namespace ado
