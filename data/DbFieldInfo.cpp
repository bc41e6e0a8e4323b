#include "data/DbFieldInfo.h"

#include <cstdlib>

#include "data/DbRecordset.h"
#include "data/TracedCall.h"
#include "data/VariantText.h"
#include "data/ado/Fields.h"
#include "data/ado/Recordset.h"

const char* DataTypeName(int code) {
  switch (code) {
    case 0:
      return "adEmpty";
    case 2:
      return "adSmallInt";
    case 3:
      return "adInteger";
    case 4:
      return "adSingle";
    case 5:
      return "adDouble";
    case 6:
      return "adCurrency";
    case 7:
      return "adDate";
    case 8:
      return "adBSTR";
    case 9:
      return "adIDispatch";
    case 10:
      return "adError";
    case 11:
      return "adBoolean";
    case 12:
      return "adVariant";
    case 13:
      return "adIUnknown";
    case 14:
      return "adDecimal";
    case 16:
      return "adTinyInt";
    case 17:
      return "adUnsignedTinyInt";
    case 18:
      return "adUnsignedSmallInt";
    case 19:
      return "adUnsignedInt";
    case 20:
      return "adBigInt";
    case 21:
      return "adUnsignedBigInt";
    case 64:
      return "adFileTime";
    case 72:
      return "adGUID";
    case 128:
      return "adBinary";
    case 129:
      return "adChar";
    case 130:
      return "adWChar";
    case 131:
      return "adNumeric";
    case 132:
      return "adUserDefined";
    case 133:
      return "adDBDate";
    case 134:
      return "adDBTime";
    case 135:
      return "adDBTimeStamp";
    case 136:
      return "adChapter";
    case 138:
      return "adPropVariant";
    case 139:
      return "adVarNumeric";
    case 200:
      return "adVarChar";
    case 201:
      return "adLongVarChar";
    case 202:
      return "adVarWChar";
    case 203:
      return "adLongVarWChar";
    case 204:
      return "adVarBinary";
    case 205:
      return "adLongVarBinary";
    case 0x2000:
      return "adArray";
    default:
      return "Unknown";
  }
}

std::string FieldAttributeNames(long flags) {
  static const struct {
    long flag;
    const char* name;
  } kNames[] = {{0x2, " adFldMayDefer"},
                {0x4, " adFldUpdatable"},
                {0x8, " adFldUnknownUpdatable"},
                {0x10, " adFldFixed"},
                {0x20, " adFldIsNullable"},
                {0x40, " adFldMayBeNull"},
                {0x80, " adFldLong"},
                {0x100, " adFldRowID"},
                {0x200, " adFldRowVersion"},
                {0x1000, " adFldCacheDeferred"},
                {0x2000, " adFldIsChapter"},
                {0x4000, " adFldNegativeScale"},
                {0x8000, " adFldKeyColumn"},
                {0x10000, " adFldIsRowURL"},
                {0x20000, " adFldIsDefaultStream"},
                {0x40000, " adFldIsCollection"}};
  std::string text;
  if (flags == -1) text = " adFldUnspecified";
  for (const auto& n : kNames)
    if (flags & n.flag) text += n.name;
  return text;
}

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
  Variant key = properties->GetItem("KEYCOLUMN")->GetValue();
  Variant autoIncrement = properties->GetItem("ISAUTOINCREMENT")->GetValue();
  out.isKeyColumn = key.HasValue() && key.ToBool();
  out.isAutoIncrement = autoIncrement.HasValue() && autoIncrement.ToBool();
  out.mayBeNull = (attributes & 0x40) != 0;
  out.isNullable = (attributes & 0x20) != 0;
  out.defaultValue = Variant::Null();
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
                          throw ComError(E_FAIL, "The fields of the record cannot be described.", "Qelvo");
                        std::vector<Variant> values;
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
                      } catch (const ComError&) {
                        // The half-made copy goes before the failure is reported.
                        try {
                          CancelUpdate();
                        } catch (const ComError&) {
                        }
                        throw;
                      }
                    });
}
