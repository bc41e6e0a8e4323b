#pragma once
// One recordset opened on a DbConnection with the text of a query: the only way the system reads
// rows. Unless noted, failures are traced and re-raised as ComError.
#include <memory>
#include <string>
#include <vector>

#include "data/DbFieldInfo.h"
#include "data/ado/ValueView.h"
#include "data/ado/Variant.h"

class DbConnection;
class DbRecordset;
namespace ado {
class Recordset;
}
// The ADO recordset behind a DbRecordset (raises ComError E_POINTER when it could not be made).
ado::Recordset* AdoRecordsetOf(DbRecordset& rs);

// Process-wide cursor location of every open: 1 adUseNone, 2 adUseServer, 3 adUseClient.
extern int RecordsetCursorLocation;
// Sets RecordsetCursorLocation from the stored setting. A value that is no cursor location would
// make every open fail, so it falls back to the client cursor, with a trace line.
void SetRecordsetCursorLocation(int location);

class DbRecordset {
 public:
  DbRecordset();
  ~DbRecordset();
  DbRecordset(const DbRecordset&) = delete;
  DbRecordset& operator=(const DbRecordset&) = delete;

  void Open(DbConnection* connection, const std::string& query);
  void Open(DbConnection* connection, const std::string& query, int cursorType, int lockType, int options,
            int cursorLocation);
  void Close();
  bool IsOpen() const;
  // The statement runs, or its rows still arrive, on the worker thread (an open with
  // adAsyncExecute or adAsyncFetch). Never raises.
  bool IsFetching() const;
  // The statement itself still runs on the worker: no field is known yet. Never raises.
  bool IsExecuting() const;
  // Stops the statement or the fetch under way, keeping the rows read. Never raises.
  void Cancel();
  // Waits for the worker to end and raises what failed there (once; the rows read before stay).
  // A statement that failed on the worker is traced as a failed Open and leaves the recordset
  // closed, as does one that returned no rows (GetRowsAffected). Nothing when nothing is pending.
  void WaitForFetch();
  DbConnection* GetConnection() const;

  long GetFieldCount() const;  // -1 on error
  bool EnumFields(std::vector<std::string>& out);
  long GetRecordCount();
  // The records without the filter; -1 when unknown (closed, or not every row read yet).
  long GetUnfilteredRecordCount();
  // After an Open of a statement that returned no rows: the rows it changed; -1 otherwise or
  // when the database does not say. Neither raises.
  long GetRowsAffected() const;
  long SlowRecordCount();
  void MoveFirst();
  void MoveNext();
  bool MoveRecordRel(long offset);
  bool IsEOF();

  ado::Variant GetFieldVariantIdx(long index);
  // The same value as a view into the recordset's rows, without copying (bulk readers): valid
  // until the record, the rows or the value change.
  ado::ValueView GetFieldViewIdx(long index);
  ado::Variant GetFieldVariant(const std::string& name);
  // Records shown now (sorted, filtered; only those read so far while rows are still arriving);
  // never reads more. 0 when closed. Does not raise.
  long GetViewCount() const;
  // The value of field `index` in the shown record at `position` (0-based) as a view, without
  // moving the current record: valid until the rows or the value change.
  ado::ValueView GetValueAt(long position, long index);
  std::string GetFieldValueIdx(long index);

  void SetFieldValue(const std::string& name, const ado::Variant& value);
  void SetFieldValueIdx(long index, const ado::Variant& value);
  void SetFieldValue(const std::string& name, const std::string& text);
  void SetFieldValueEx(const std::string& name, const std::string& text);
  void SetFieldNull(const std::string& name);
  void SetFieldNullIdx(long index);

  void AddNew();
  void Delete();
  void Update();
  void CancelUpdate();
  void Sort(const std::string& criteria);
  void Filter(const char* criteria);  // null: filter off

  bool GetFieldInfo(const std::string& name, DbFieldInfo& out);
  bool GetFieldInfoIdx(long index, DbFieldInfo& out);
  bool GetFieldsInfo(std::vector<DbFieldInfo>& out);
  long DuplicateRecord();

 private:
  friend ado::Recordset* AdoRecordsetOf(DbRecordset& rs);
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
