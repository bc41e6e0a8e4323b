#include "data/DbConnectionHolder.h"
#include "data/ErrorText.h"
#include "data/Trace.h"

std::string CurrentConnectionString;
bool PrivateConnections = false;
bool ShowOpenErrorBox = true;

namespace {
void NoBox(const std::string&, const std::string&) {}
OpenErrorBoxFunction openErrorBox = NoBox;

std::unique_ptr<DbConnection>& Shared() {
  static std::unique_ptr<DbConnection> shared;
  return shared;
}

void ShowOpenError() {
  if (ShowOpenErrorBox) openErrorBox("Errore nell'apertura del database", "DbConnection");
}
}  // namespace

void SetOpenErrorBox(OpenErrorBoxFunction box) {
  openErrorBox = box ? box : NoBox;
}

DbConnectionHolder::DbConnectionHolder() : private_(PrivateConnections) {}

DbConnectionHolder::~DbConnectionHolder() {
  if (connection_) {
    try {
      connection_->Close();
    } catch (const ado::ComError&) {
    }
  }
}

DbConnection* DbConnectionHolder::GetConnection() {
  if (!private_) return GetSharedConnection();
  try {
    if (connection_ && connection_->GetConnectionString() != CurrentConnectionString) {
      if (connection_->IsOpen()) connection_->Close();
      connection_.reset();
      opened_ = false;
    }
    if (!connection_) connection_ = std::make_unique<DbConnection>();
    if (!opened_) {
      opened_ = true;
      connection_->Open(CurrentConnectionString, "", "");
    }
  } catch (const ado::ComError& e) {
    Trace(TraceError, "%s", ComErrorText(e).c_str());
    ShowOpenError();
    connection_ = std::make_unique<DbConnection>();
    opened_ = true;
    connection_->Open(CurrentConnectionString, "", "");
  }
  return connection_.get();
}

DbConnection* DbConnectionHolder::Current() const {
  return private_ ? connection_.get() : Shared().get();
}

DbConnection* DbConnectionHolder::GetSharedConnection() {
  std::unique_ptr<DbConnection>& shared = Shared();
  try {
    if (shared && shared->GetConnectionString() != CurrentConnectionString) {
      if (shared->IsOpen()) shared->Close();
      shared.reset();
    }
    if (!shared) shared = std::make_unique<DbConnection>();
    if (!shared->IsOpen()) shared->Open(CurrentConnectionString, "", "");
  } catch (const ado::ComError& e) {
    Trace(TraceError, "%s", ComErrorText(e).c_str());
    ShowOpenError();
    shared = std::make_unique<DbConnection>();
    if (!shared->IsOpen()) shared->Open(CurrentConnectionString, "", "");
  }
  return shared.get();
}
