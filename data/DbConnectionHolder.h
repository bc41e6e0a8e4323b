#pragma once
// The connection a document or view uses: its own (private connections) or the one shared by the
// whole process, opened on first use with the current connection string.
#include <memory>
#include <string>

#include "data/DbConnection.h"

// Process-wide state used by the holders.
extern std::string CurrentConnectionString;
extern bool PrivateConnections;
extern bool ShowOpenErrorBox;

// The message box the holder shows when an open fails; replaceable (the GUI wires a real box,
// tests record). Arguments: text, caption.
using OpenErrorBoxFunction = void (*)(const std::string& text, const std::string& caption);
void SetOpenErrorBox(OpenErrorBoxFunction box);

class DbConnectionHolder {
 public:
  DbConnectionHolder();
  ~DbConnectionHolder();
  DbConnectionHolder(const DbConnectionHolder&) = delete;
  DbConnectionHolder& operator=(const DbConnectionHolder&) = delete;

  DbConnection* GetConnection();
  static DbConnection* GetSharedConnection();
  // The connection GetConnection hands out, as it is, without opening anything; null before the
  // first GetConnection. After a failed open it is closed and reports that open's error when used.
  DbConnection* Current() const;

 private:
  std::unique_ptr<DbConnection> connection_;
  bool private_;
  bool opened_ = false;
};
