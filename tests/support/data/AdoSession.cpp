#include "tests/support/data/AdoSession.h"

namespace testsupport {

void AdoSession::Connect(const std::string& connectionString) {
  connection_ = ado::ConnectionPtr();
  connection_.CreateInstance();
  connection_->Open(connectionString, "", "");
}

void AdoSession::Run(const std::vector<std::string>& statements) {
  for (const std::string& s : statements) connection_->Execute(s);
}

ado::RecordsetPtr AdoSession::Open(const std::string& sql, long location) {
  ado::RecordsetPtr rs;
  rs.CreateInstance();
  rs->PutCursorLocation(location);
  rs->Open(sql, connection_, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText);
  return rs;
}

std::vector<long> AdoSession::Ids(const ado::RecordsetPtr& rs) {
  std::vector<long> ids;
  if (rs->GetRecordCount() != 0) rs->MoveFirst();
  while (!rs->GetEOF()) {
    ids.push_back(static_cast<long>(rs->GetCollect("id").ToInt64()));
    rs->MoveNext();
  }
  return ids;
}

}  // namespace testsupport
