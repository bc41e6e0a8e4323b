#pragma once
// The data-link dialog's interface: the GUI registers a prompt that builds or edits a connection
// string; without one, creating the DataLinks object fails as an unregistered class does.
#include <memory>
#include <optional>
#include <string>

#include "data/ado/ComPtr.h"
#include "data/ado/Connection.h"

namespace ado {

class DataLinksPrompt {
 public:
  virtual ~DataLinksPrompt() = default;
  // A new connection string, or nothing when the user cancels.
  virtual std::optional<std::string> PromptNew() = 0;
  // Edits the text in place; false when the user cancels.
  virtual bool PromptEdit(std::string& connectionString) = 0;
};

void RegisterDataLinksPrompt(std::shared_ptr<DataLinksPrompt> prompt);  // null unregisters

class DataLinks {
 public:
  static constexpr const char* kClassName = "DataLinks";
  DataLinks();
  // An open-ready connection whose ConnectionString the user built, or an empty pointer.
  ConnectionPtr PromptNew();
  // Edits the connection's ConnectionString; false when the user cancels.
  bool PromptEdit(const ConnectionPtr& connection);

 private:
  std::shared_ptr<DataLinksPrompt> prompt_;
};
using DataLinksPtr = ComPtr<DataLinks>;

}  // namespace ado
