#include "data/ado/DataLinks.h"

namespace ado {
namespace {
std::shared_ptr<DataLinksPrompt>& Registered() {
  static std::shared_ptr<DataLinksPrompt> prompt;
  return prompt;
}
}  // namespace

bool DataLinksPromptRegistered() {
  return static_cast<bool>(Registered());
}

void RegisterDataLinksPrompt(std::shared_ptr<DataLinksPrompt> prompt) {
  Registered() = std::move(prompt);
}

DataLinks::DataLinks() : prompt_(Registered()) {}

ConnectionPtr DataLinks::PromptNew() {
  if (!prompt_) throw ComError(REGDB_E_CLASSNOTREG);
  std::optional<std::string> text = prompt_->PromptNew();
  if (!text) return ConnectionPtr();
  ConnectionPtr connection;
  HRESULT hr = connection.CreateInstance();
  if (Failed(hr)) throw ComError(hr);
  connection->PutConnectionString(*text);
  return connection;
}

bool DataLinks::PromptEdit(const ConnectionPtr& connection) {
  if (!prompt_) throw ComError(REGDB_E_CLASSNOTREG);
  std::string text = connection->GetConnectionString();
  if (!prompt_->PromptEdit(text)) return false;
  connection->PutConnectionString(text);
  return true;
}

}  // namespace ado
