#include "data/DbRecordset.h"

#include "data/DbConnection.h"
#include "data/ErrorText.h"
#include "data/Ticks.h"
#include "data/Trace.h"
#include "data/VariantText.h"
#include "data/ado/Recordset.h"

int RecordsetCursorLocation = 3;

void SetRecordsetCursorLocation(int location) {
  if (location == ado::adUseNone || location == ado::adUseServer || location == ado::adUseClient) {
    RecordsetCursorLocation = location;
    return;
  }
  Trace(TraceWarning, "cursor location %d is not valid: the client cursor is used", location);
  RecordsetCursorLocation = ado::adUseClient;
}

struct DbRecordset::Impl {
  DbConnection* connection = nullptr;
  ado::RecordsetPtr recordset;
};

namespace {
std::string ErrorText(const ComError& e) {
  return ComErrorText(e);
}

// The value as the trace shows it; a value VariantToText cannot render must not fail the write.
std::string TracedValue(const Variant& v) {
  try {
    return VariantToText(v);
  } catch (const ComError&) {
    try {
      return v.ToText();
    } catch (const ComError&) {
      return "<value>";
    }
  }
}

// Counts code points, so that a cut never splits a UTF-8 sequence.
std::string CutToCharacters(const std::string& text, long count) {
  long seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (seen == count) return text.substr(0, i);
      ++seen;
    }
  }
  return text;
}

long CharacterCount(const std::string& text) {
  long n = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}
}  // namespace

DbRecordset::DbRecordset() : impl_(std::make_unique<Impl>()) {
  impl_->recordset.CreateInstance();
}

DbRecordset::~DbRecordset() {
  if (IsOpen()) {
    Trace(TraceWarning, "Db Recordset closed by ~DbRecordset dtor");
    try {
      impl_->recordset->Close();
    } catch (const ComError&) {
    }
  }
}

void DbRecordset::Open(DbConnection* connection, const std::string& query) {
  Open(connection, query, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText, RecordsetCursorLocation);
}

void DbRecordset::Open(DbConnection* connection, const std::string& query, int cursorType, int lockType, int options,
                       int cursorLocation) {
  try {
    impl_->connection = connection;
    long start = TickCount();
    Trace(TraceQuery, "%s", query.c_str());
    impl_->recordset->PutCursorLocation(cursorLocation);
    ado::ConnectionPtr adoConnection(connection ? connection->AdoConnection() : nullptr);
    impl_->recordset->Open(query, adoConnection, cursorType, lockType, options);
    Trace(TraceInfo, "qry time = %ld [ms]", TickCount() - start);
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::Open() : %s", ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::Close() {
  try {
    impl_->recordset->Close();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::Close() : %s", ErrorText(e).c_str());
    throw;
  }
}

bool DbRecordset::IsOpen() const {
  try {
    return impl_->recordset && impl_->recordset->GetState() == ado::adStateOpen;
  } catch (const ComError&) {
    return false;
  }
}

DbConnection* DbRecordset::GetConnection() const {
  return impl_->connection;
}

long DbRecordset::GetFieldCount() const {
  try {
    return impl_->recordset->GetFields()->GetCount();
  } catch (const ComError&) {
    return -1;
  }
}

bool DbRecordset::EnumFields(std::vector<std::string>& out) {
  try {
    ado::FieldsPtr fields = impl_->recordset->GetFields();
    long count = fields->GetCount();
    for (long i = 0; i < count; ++i) out.push_back(fields->GetItem(i)->GetName());
    return true;
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::EnumFields() : %s", ErrorText(e).c_str());
    return false;
  }
}

long DbRecordset::GetRecordCount() {
  try {
    long count = impl_->recordset->GetRecordCount();
    if (RecordsetCursorLocation == ado::adUseClient || count >= 0) return count;
    return SlowRecordCount();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::GetRecordCount() : %s", ErrorText(e).c_str());
    return SlowRecordCount();
  }
}

long DbRecordset::GetUnfilteredRecordCount() {
  try {
    return IsOpen() ? impl_->recordset->GetUnfilteredRecordCount() : -1;
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::GetUnfilteredRecordCount() : %s", ErrorText(e).c_str());
    return -1;
  }
}

long DbRecordset::GetRowsAffected() const {
  return impl_->recordset ? impl_->recordset->GetRowsAffected() : -1;
}

long DbRecordset::SlowRecordCount() {
  try {
    long start = TickCount();
    impl_->recordset->MoveFirst();
    long count = 0;
    while (!impl_->recordset->GetEOF()) {
      impl_->recordset->MoveNext();
      ++count;
    }
    impl_->recordset->MoveFirst();
    Trace(TraceWarning, "Performance warning : using DbRecordset::SlowRecordCount(), elapsed time = %ld [ms]",
          TickCount() - start);
    return count;
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::SlowRecordCount() : %s", ErrorText(e).c_str());
    return -1;
  }
}

void DbRecordset::MoveFirst() {
  try {
    impl_->recordset->MoveFirst();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::MoveFirst() : %s", ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::MoveNext() {
  try {
    impl_->recordset->MoveNext();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::MoveNext() : %s", ErrorText(e).c_str());
    throw;
  }
}

bool DbRecordset::MoveRecordRel(long offset) {
  bool result = false;
  try {
    impl_->recordset->Move(offset);
    result = !impl_->recordset->GetBOF() && !impl_->recordset->GetEOF();
  } catch (const ComError&) {
    result = false;
  }
  if (!result) Trace(TraceError, "DbRecordset::MoveRecordRel(%ld) failed", offset);
  return result;
}

bool DbRecordset::IsEOF() {
  try {
    return impl_->recordset->GetEOF();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::IsEOF() : %s", ErrorText(e).c_str());
    return true;
  }
}

Variant DbRecordset::GetFieldVariantIdx(long index) {
  try {
    return impl_->recordset->GetCollect(index);
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::GetFieldVariantIdx(%ld) : %s", index, ErrorText(e).c_str());
    throw;
  }
}

ValueView DbRecordset::GetFieldViewIdx(long index) {
  try {
    return impl_->recordset->GetCollectView(index);
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::GetFieldVariantIdx(%ld) : %s", index, ErrorText(e).c_str());
    throw;
  }
}

Variant DbRecordset::GetFieldVariant(const std::string& name) {
  try {
    return impl_->recordset->GetCollect(name);
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::GetFieldVariant(\"%s\") : %s", name.c_str(), ErrorText(e).c_str());
    throw;
  }
}

std::string DbRecordset::GetFieldValueIdx(long index) {
  Variant v;
  try {
    v = GetFieldVariantIdx(index);
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::GetFieldValueIdx(%ld) : %s", index, ErrorText(e).c_str());
    throw;
  }
  if (!v.HasValue()) return {};
  if (v.vt() == VT_BSTR) return v.Str();
  try {
    return v.ToText();
  } catch (const ComError&) {
    Trace(TraceError, "DbRecordset::GetFieldValueIdx(%ld) : Unable to convert variant to string", index);
    return {};
  }
}

namespace {
Variant ForDatabase(DbConnection* connection, const Variant& value) {
  if (connection && value.vt() == VT_BOOL && connection->GetDatabaseKind() == DatabaseKind::PostgreSql)
    return Variant(static_cast<std::int32_t>(value.Bool() ? 1 : 0));
  return value;
}
}  // namespace

void DbRecordset::SetFieldValue(const std::string& name, const Variant& value) {
  try {
    Trace(TraceInfo, "DbRecordset::SetFieldValue(\"%s\",\"%s\")", name.c_str(), TracedValue(value).c_str());
    impl_->recordset->PutCollect(name, ForDatabase(impl_->connection, value));
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::SetFieldValue(\"%s\") : %s", name.c_str(), ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::SetFieldValueIdx(long index, const Variant& value) {
  try {
    Trace(TraceInfo, "DbRecordset::SetFieldValueIdx(%ld,\"%s\")", index, TracedValue(value).c_str());
    impl_->recordset->PutCollect(index, ForDatabase(impl_->connection, value));
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::SetFieldValueIdx(%ld) : %s", index, ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::SetFieldValue(const std::string& name, const std::string& text) {
  try {
    ado::FieldPtr field = impl_->recordset->GetFields()->GetItem(name);
    int type = field->GetType();
    long attributes = field->GetAttributes();
    std::string value = text;
    if ((type == ado::adVarChar || type == ado::adVarWChar) && CharacterCount(value) > field->GetDefinedSize())
      value = CutToCharacters(value, field->GetDefinedSize());
    if (value.size() > 8192 && (attributes & ado::adFldLong))
      SetFieldValueEx(name, value);
    else
      SetFieldValue(name, Variant(value));
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::SetFieldValue(\"%s\") : %s", name.c_str(), ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::SetFieldValueEx(const std::string& name, const std::string& text) {
  try {
    Trace(TraceInfo, "DbRecordset::SetFieldValueEx(\"%s\") : %s", name.c_str(), text.c_str());
    ado::FieldPtr field = impl_->recordset->GetFields()->GetItem(name);
    for (std::size_t offset = 0; offset < text.size(); offset += 8192)
      field->AppendChunk(Variant::Bytes(text.substr(offset, 8192)));
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::SetFieldValueEx(\"%s\") : %s", name.c_str(), ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::SetFieldNull(const std::string& name) {
  SetFieldValue(name, Variant::Null());
}
void DbRecordset::SetFieldNullIdx(long index) {
  SetFieldValueIdx(index, Variant::Null());
}

void DbRecordset::AddNew() {
  try {
    impl_->recordset->AddNew();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::AddNew() : %s", ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::Delete() {
  try {
    impl_->recordset->Delete(ado::adAffectCurrent);
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::Delete() : %s", ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::Update() {
  try {
    impl_->recordset->Update();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::Update() : %s", ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::CancelUpdate() {
  try {
    impl_->recordset->CancelUpdate();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::CancelUpdate() : %s", ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::Sort(const std::string& criteria) {
  try {
    impl_->recordset->PutSort(criteria);
    if (GetRecordCount() > 0) impl_->recordset->MoveFirst();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::Sort(\"%s\") : %s", criteria.c_str(), ErrorText(e).c_str());
    throw;
  }
}

void DbRecordset::Filter(const char* criteria) {
  try {
    if (criteria)
      impl_->recordset->PutFilter(Variant(criteria));
    else
      impl_->recordset->PutFilter(Variant(static_cast<std::int32_t>(ado::adFilterNone)));
    if (GetRecordCount() > 0) impl_->recordset->MoveFirst();
  } catch (const ComError& e) {
    Trace(TraceError, "DbRecordset::Filter(\"%s\") : %s", criteria ? criteria : "", ErrorText(e).c_str());
    throw;
  }
}

ado::Recordset* AdoRecordsetOf(DbRecordset& rs) {
  return rs.impl_->recordset.operator->();
}
