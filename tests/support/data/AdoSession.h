#pragma once
// A test's own ADO connection, and recordsets opened on it as the program opens them: keyset,
// optimistic locking, the statement as text.
#include <string>
#include <vector>

#include "data/ado/AdoEnums.h"
#include "data/ado/Connection.h"
#include "data/ado/Recordset.h"

namespace testsupport {

class AdoSession {
 protected:
  // Opens a new connection, closing the one before.
  void Connect(const std::string& connectionString);
  // Runs each statement on the connection.
  void Run(const std::vector<std::string>& statements);
  ado::RecordsetPtr Open(const std::string& sql, long location = ado::adUseClient);
  // The "id" column of every row the recordset shows, in its current order.
  static std::vector<long> Ids(const ado::RecordsetPtr& rs);

  ado::ConnectionPtr connection_;
};

}  // namespace testsupport
