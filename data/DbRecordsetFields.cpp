// The recordset's field descriptions, and the copy of a record that needs them.
#include <cstdlib>

#include "data/DbFieldInfo.h"
#include "data/DbRecordset.h"
#include "data/TracedCall.h"
#include "data/VariantText.h"
#include "data/ado/Fields.h"
#include "data/ado/Recordset.h"

namespace {
void Fill(const ado::FieldPtr& field, DbFieldInfo& out) {
  long attributes = field->GetAttributes();
  out.name = field->GetName();
  out.attributes = FieldAttributeNames(attributes);
  out.type = field->GetType();
  out.definedSize = static_cast<int>(field->GetDefinedSize());
  out.precision = field->GetPrecision();
  out.numericScale = field->GetNumericScale();
  ado::PropertiesPtr properties = field->GetProperties();
  out.baseColumnName = VariantToText(properties->GetItem("BASECOLUMNNAME")->GetValue());
  out.baseTableName = VariantToText(properties->GetItem("BASETABLENAME")->GetValue());
  ado::Variant key = properties->GetItem("KEYCOLUMN")->GetValue();
  ado::Variant autoIncrement = properties->GetItem("ISAUTOINCREMENT")->GetValue();
  out.isKeyColumn = key.HasValue() && key.ToBool();
  out.isAutoIncrement = autoIncrement.HasValue() && autoIncrement.ToBool();
  out.mayBeNull = (attributes & 0x40) != 0;
  out.isNullable = (attributes & 0x20) != 0;
  out.defaultValue = ado::Variant::Null();
}
}  // namespace

bool DbRecordset::GetFieldInfo(const std::string& name, DbFieldInfo& out) {
  return TracedCallOr([&] { return std::string("DbRecordset::GetFieldInfo(\"") + name.c_str() + "\")"; },
                      [&] {
                        Fill(AdoRecordsetOf(*this)->GetFields()->GetItem(name), out);
                        return true;
                      },
                      [&] {
                        out = DbFieldInfo{};
                        return false;
                      });
}
bool DbRecordset::GetFieldInfoIdx(long index, DbFieldInfo& out) {
  return TracedCallOr([] { return "DbRecordset::GetFieldInfoIdx()"; },
                      [&] {
                        Fill(AdoRecordsetOf(*this)->GetFields()->GetItem(index), out);
                        return true;
                      },
                      [&] {
                        out = DbFieldInfo{};
                        return false;
                      });
}

bool DbRecordset::GetFieldsInfo(std::vector<DbFieldInfo>& out) {
  out.clear();
  std::vector<std::string> names;
  if (!EnumFields(names)) return false;
  for (const std::string& name : names) {
    DbFieldInfo info;
    if (!GetFieldInfo(name, info)) {
      out.clear();
      return false;
    }
    out.push_back(std::move(info));
  }
  return true;
}

long DbRecordset::DuplicateRecord() {
  return TracedCall([] { return "DbRecordset::AddNew()"; },
                    [&] {
                      try {
                        std::vector<DbFieldInfo> fields;
                        // Without the descriptions the copy would silently lose every value: refuse instead.
                        if (!GetFieldsInfo(fields))
                          throw ado::ComError(ado::E_FAIL, "The fields of the record cannot be described.", "Qelvo");
                        std::vector<ado::Variant> values;
                        for (std::size_t i = 0; i < fields.size(); ++i)
                          values.push_back(GetFieldVariantIdx(static_cast<long>(i)));
                        AddNew();
                        long autoIndex = -1;
                        for (std::size_t i = 0; i < fields.size(); ++i) {
                          if (fields[i].isAutoIncrement) {
                            autoIndex = static_cast<long>(i);
                            continue;
                          }
                          SetFieldValueIdx(static_cast<long>(i), values[i]);
                        }
                        Update();
                        if (autoIndex < 0) return -1L;
                        return std::strtol(GetFieldValueIdx(autoIndex).c_str(), nullptr, 10);
                      } catch (const ado::ComError&) {
                        // The half-made copy goes before the failure is reported.
                        try {
                          CancelUpdate();
                        } catch (const ado::ComError&) {
                        }
                        throw;
                      }
                    });
}
