#pragma once
// The desktop's secret service (through QtKeychain, libsecret underneath) as the store of saved
// connection passwords. Each call waits for its job; the first call asks whether a service answers
// at all, and the answer holds for the run.
#include <optional>
#include <string>

#include "data/ConnectionSecrets.h"

class KeychainSecretStore : public SecretStore {
 public:
  // Secrets are kept under this service name (the program's name in the desktop's password manager).
  explicit KeychainSecretStore(std::string service = "Qelvo");

  bool Persistent() override;
  bool Write(const std::string& name, const std::string& secret) override;
  std::optional<std::string> Read(const std::string& name) override;
  void Remove(const std::string& name) override;

 private:
  std::string service_;
  std::optional<bool> available_;
};

// Installs the keychain store and the password dialog (run through the prompt seam) for the
// saved passwords of connection strings; Unregister puts both back to none.
void RegisterConnectionSecrets();
void UnregisterConnectionSecrets();
