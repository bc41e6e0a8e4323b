#pragma once
// One database connection with the connection string, user name and password it was opened
// with. Failures are traced and re-raised as ComError or swallowed, operation by operation.
#include <memory>
#include <string>
#include <utility>
#include <vector>

enum class DatabaseKind { Jet = 1, Other = 2, MySql = 3, PostgreSql = 4 };

namespace ado {
class Connection;
}

class DbConnection {
 public:
  DbConnection();
  ~DbConnection();
  DbConnection(const DbConnection&) = delete;
  DbConnection& operator=(const DbConnection&) = delete;

  void Open(const std::string& connectionString, const std::string& userName, const std::string& password);
  void OpenEx();
  bool ReOpen();
  void Close();
  bool IsOpen() const;

  std::string GetConnectionString() const;
  std::string GetUsername() const;
  std::string GetPassword() const;

  void Execute(const std::string& statement);
  std::string QuerySingleField(const char* query);
  std::string QuerySingleField(const std::string& query) { return QuerySingleField(query.c_str()); }

  // Kind mask bits: 1 tables, 2 synonyms and links, 4 views.
  bool EnumTables(std::vector<std::pair<std::string, int>>& out, int kindMask);
  bool EnumTables(std::vector<std::string>& out, int kindMask);
  bool EnumTableFields(const std::string& table, std::vector<std::string>& out);
  bool EnumTableFieldsFix(const std::string& table, std::vector<std::string>& out);

  DatabaseKind GetDatabaseKind() const;
  std::string CreateOLEDBConnectionString(const std::string& initial);

  // The ADO connection (for DbRecordset::Open); may be empty.
  std::shared_ptr<ado::Connection> AdoConnection() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
