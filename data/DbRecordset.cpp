#include "data/DbRecordset.h"

#include "data/DbConnection.h"
#include "data/Ticks.h"
#include "data/Trace.h"
#include "data/TracedCall.h"
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
  // An open whose statement runs on the worker: when it began, until its time is traced; and
  // whether WaitForFetch has yet to end it.
  long executeStart = -1;
  bool statementOnWorker = false;

  // The "qry time" line of an open whose statement ran on the worker, once it has run and gave
  // columns; a statement without them is timed when it is ended (it may have failed).
  void TraceStatementTime(bool ended) {
    if (executeStart < 0) return;
    if (!ended) {
      if (recordset->GetState() & ado::adStateExecuting) return;
      try {
        if (recordset->GetFields()->GetCount() == 0) return;
      } catch (const ado::ComError&) {
        return;
      }
    }
    Trace(TraceInfo, "qry time = %ld [ms]", TickCount() - executeStart);
    executeStart = -1;
  }
};

namespace {
// Heads of the trace line written when an operation fails, built only then.
auto Where(const char* call) {
  return [call] { return std::string("DbRecordset::") + call; };
}
auto WhereIndex(const char* function, long index) {
  return [function, index] { return std::string("DbRecordset::") + function + "(" + std::to_string(index) + ")"; };
}
auto WhereName(const char* function, const char* name) {
  return [function, name] { return std::string("DbRecordset::") + function + "(\"" + name + "\")"; };
}

// The value as the trace shows it; a value VariantToText cannot render must not fail the write.
std::string TracedValue(const ado::Variant& v) {
  try {
    return VariantToText(v);
  } catch (const ado::ComError&) {
    try {
      return v.ToText();
    } catch (const ado::ComError&) {
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
    } catch (const ado::ComError&) {
    }
  }
}

void DbRecordset::Open(DbConnection* connection, const std::string& query) {
  Open(connection, query, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText, RecordsetCursorLocation);
}

void DbRecordset::Open(DbConnection* connection, const std::string& query, int cursorType, int lockType, int options,
                       int cursorLocation) {
  TracedCall(Where("Open()"), [&] {
    impl_->connection = connection;
    long start = TickCount();
    Trace(TraceQuery, "%s", query.c_str());
    impl_->recordset->PutCursorLocation(cursorLocation);
    ado::ConnectionPtr adoConnection(connection ? connection->AdoConnection() : nullptr);
    impl_->executeStart = -1;
    impl_->statementOnWorker = false;
    impl_->recordset->Open(query, adoConnection, cursorType, lockType, options);
    impl_->statementOnWorker = (impl_->recordset->GetState() & ado::adStateExecuting) != 0;
    if (impl_->statementOnWorker)
      impl_->executeStart = start;
    else
      Trace(TraceInfo, "qry time = %ld [ms]", TickCount() - start);
  });
}

void DbRecordset::Close() {
  TracedCall(Where("Close()"), [&] { impl_->recordset->Close(); });
}

bool DbRecordset::IsOpen() const {
  try {
    return impl_->recordset && (impl_->recordset->GetState() & ado::adStateOpen) != 0;
  } catch (const ado::ComError&) {
    return false;
  }
}

bool DbRecordset::IsFetching() const {
  if (!impl_->recordset) return false;
  impl_->TraceStatementTime(false);
  return (impl_->recordset->GetState() & (ado::adStateExecuting | ado::adStateFetching)) != 0;
}

bool DbRecordset::IsExecuting() const {
  return impl_->recordset && (impl_->recordset->GetState() & ado::adStateExecuting) != 0;
}

void DbRecordset::Cancel() {
  if (!impl_->recordset) return;
  Trace(TraceInfo, "DbRecordset::Cancel()");
  impl_->recordset->Cancel();
}

void DbRecordset::WaitForFetch() {
  if (!IsOpen()) return;
  const bool statementPending = impl_->statementOnWorker;
  impl_->statementOnWorker = false;
  try {
    impl_->recordset->WaitForCompletion();
  } catch (const ado::ComError& e) {
    impl_->executeStart = -1;
    // A statement that failed on the worker is a failed Open, and is traced as one.
    const bool failedOpen = statementPending && !IsOpen();
    Trace(TraceError, "DbRecordset::%s : %s", failedOpen ? "Open()" : "WaitForFetch()", ComErrorText(e).c_str());
    throw;
  }
  impl_->TraceStatementTime(true);
}

DbConnection* DbRecordset::GetConnection() const {
  return impl_->connection;
}

long DbRecordset::GetFieldCount() const {
  try {
    return impl_->recordset->GetFields()->GetCount();
  } catch (const ado::ComError&) {
    return -1;
  }
}

bool DbRecordset::EnumFields(std::vector<std::string>& out) {
  return TracedCallOr(
      Where("EnumFields()"),
      [&] {
        ado::FieldsPtr fields = impl_->recordset->GetFields();
        long count = fields->GetCount();
        for (long i = 0; i < count; ++i) out.push_back(fields->GetItem(i)->GetName());
        return true;
      },
      [] { return false; });
}

long DbRecordset::GetRecordCount() {
  return TracedCallOr(
      Where("GetRecordCount()"),
      [&] {
        long count = impl_->recordset->GetRecordCount();
        if (RecordsetCursorLocation == ado::adUseClient || count >= 0) return count;
        return SlowRecordCount();
      },
      [&] { return SlowRecordCount(); });
}

long DbRecordset::GetUnfilteredRecordCount() {
  return TracedCallOr(
      Where("GetUnfilteredRecordCount()"),
      [&] { return IsOpen() ? impl_->recordset->GetUnfilteredRecordCount() : -1L; }, [] { return -1L; });
}

long DbRecordset::GetRowsAffected() const {
  return impl_->recordset ? impl_->recordset->GetRowsAffected() : -1;
}

long DbRecordset::SlowRecordCount() {
  return TracedCallOr(
      Where("SlowRecordCount()"),
      [&] {
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
      },
      [] { return -1L; });
}

void DbRecordset::MoveFirst() {
  TracedCall(Where("MoveFirst()"), [&] { impl_->recordset->MoveFirst(); });
}

void DbRecordset::MoveNext() {
  TracedCall(Where("MoveNext()"), [&] { impl_->recordset->MoveNext(); });
}

bool DbRecordset::MoveRecordRel(long offset) {
  bool result = false;
  try {
    impl_->recordset->Move(offset);
    result = !impl_->recordset->GetBOF() && !impl_->recordset->GetEOF();
  } catch (const ado::ComError&) {
    result = false;
  }
  if (!result) Trace(TraceError, "DbRecordset::MoveRecordRel(%ld) failed", offset);
  return result;
}

bool DbRecordset::IsEOF() {
  return TracedCallOr(
      Where("IsEOF()"), [&] { return impl_->recordset->GetEOF(); }, [] { return true; });
}

ado::Variant DbRecordset::GetFieldVariantIdx(long index) {
  return TracedCall(WhereIndex("GetFieldVariantIdx", index), [&] { return impl_->recordset->GetCollect(index); });
}

ado::ValueView DbRecordset::GetFieldViewIdx(long index) {
  return TracedCall(WhereIndex("GetFieldViewIdx", index), [&] { return impl_->recordset->GetCollectView(index); });
}

long DbRecordset::GetViewCount() const {
  if (!IsOpen()) return 0;
  try {
    return impl_->recordset->GetViewCount();
  } catch (const ado::ComError&) {
    return 0;
  }
}

ado::ValueView DbRecordset::GetValueAt(long position, long index) {
  return TracedCall(WhereIndex("GetValueAt", index), [&] { return impl_->recordset->GetValueAt(position, index); });
}

ado::Variant DbRecordset::GetFieldVariant(const std::string& name) {
  return TracedCall(WhereName("GetFieldVariant", name.c_str()), [&] { return impl_->recordset->GetCollect(name); });
}

std::string DbRecordset::GetFieldValueIdx(long index) {
  ado::Variant v = TracedCall(WhereIndex("GetFieldValueIdx", index), [&] { return GetFieldVariantIdx(index); });
  if (!v.HasValue()) return {};
  if (v.vt() == ado::VT_BSTR) return v.Str();
  try {
    return v.ToText();
  } catch (const ado::ComError&) {
    Trace(TraceError, "DbRecordset::GetFieldValueIdx(%ld) : Unable to convert variant to string", index);
    return {};
  }
}

namespace {
ado::Variant ForDatabase(DbConnection* connection, const ado::Variant& value) {
  if (connection && value.vt() == ado::VT_BOOL && connection->GetDatabaseKind() == DatabaseKind::PostgreSql)
    return ado::Variant(static_cast<std::int32_t>(value.Bool() ? 1 : 0));
  return value;
}
}  // namespace

void DbRecordset::SetFieldValue(const std::string& name, const ado::Variant& value) {
  TracedCall(WhereName("SetFieldValue", name.c_str()), [&] {
    Trace(TraceInfo, "DbRecordset::SetFieldValue(\"%s\",\"%s\")", name.c_str(), TracedValue(value).c_str());
    impl_->recordset->PutCollect(name, ForDatabase(impl_->connection, value));
  });
}

void DbRecordset::SetFieldValueIdx(long index, const ado::Variant& value) {
  TracedCall(WhereIndex("SetFieldValueIdx", index), [&] {
    Trace(TraceInfo, "DbRecordset::SetFieldValueIdx(%ld,\"%s\")", index, TracedValue(value).c_str());
    impl_->recordset->PutCollect(index, ForDatabase(impl_->connection, value));
  });
}

void DbRecordset::SetFieldValue(const std::string& name, const std::string& text) {
  TracedCall(WhereName("SetFieldValue", name.c_str()), [&] {
    ado::FieldPtr field = impl_->recordset->GetFields()->GetItem(name);
    int type = field->GetType();
    long attributes = field->GetAttributes();
    std::string value = text;
    if ((type == ado::adVarChar || type == ado::adVarWChar) && CharacterCount(value) > field->GetDefinedSize())
      value = CutToCharacters(value, field->GetDefinedSize());
    if (value.size() > 8192 && (attributes & ado::adFldLong))
      SetFieldValueEx(name, value);
    else
      SetFieldValue(name, ado::Variant(value));
  });
}

void DbRecordset::SetFieldValueEx(const std::string& name, const std::string& text) {
  TracedCall(WhereName("SetFieldValueEx", name.c_str()), [&] {
    Trace(TraceInfo, "DbRecordset::SetFieldValueEx(\"%s\") : %s", name.c_str(), text.c_str());
    ado::FieldPtr field = impl_->recordset->GetFields()->GetItem(name);
    for (std::size_t offset = 0; offset < text.size(); offset += 8192)
      field->AppendChunk(ado::Variant::Bytes(text.substr(offset, 8192)));
  });
}

void DbRecordset::SetFieldNull(const std::string& name) {
  SetFieldValue(name, ado::Variant::Null());
}
void DbRecordset::SetFieldNullIdx(long index) {
  SetFieldValueIdx(index, ado::Variant::Null());
}

void DbRecordset::AddNew() {
  TracedCall(Where("AddNew()"), [&] { impl_->recordset->AddNew(); });
}

void DbRecordset::Delete() {
  TracedCall(Where("Delete()"), [&] { impl_->recordset->Delete(ado::adAffectCurrent); });
}

void DbRecordset::Update() {
  TracedCall(Where("Update()"), [&] { impl_->recordset->Update(); });
}

void DbRecordset::CancelUpdate() {
  TracedCall(Where("CancelUpdate()"), [&] { impl_->recordset->CancelUpdate(); });
}

void DbRecordset::Sort(const std::string& criteria) {
  TracedCall(WhereName("Sort", criteria.c_str()), [&] {
    impl_->recordset->PutSort(criteria);
    if (GetRecordCount() > 0) impl_->recordset->MoveFirst();
  });
}

void DbRecordset::Filter(const char* criteria) {
  TracedCall(WhereName("Filter", criteria ? criteria : ""), [&] {
    if (criteria)
      impl_->recordset->PutFilter(ado::Variant(criteria));
    else
      impl_->recordset->PutFilter(ado::Variant(static_cast<std::int32_t>(ado::adFilterNone)));
    if (GetRecordCount() > 0) impl_->recordset->MoveFirst();
  });
}

ado::Recordset* AdoRecordsetOf(DbRecordset& rs) {
  return rs.impl_->recordset.operator->();
}
