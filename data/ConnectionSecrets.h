#pragma once
// Passwords of remembered connection strings live in a secret store, never in the settings file.
// Before a connection string is written anywhere (histories, the editors' drafts), each password
// attribute's value is put away under a secret name and replaced by a placeholder naming it:
//
//   DRIVER={PostgreSQL Unicode};SERVER=db;UID=ann;PWD=<saved-password:qelvo-5f0c2a9b13e4d687>
//
// Opening a connection puts the passwords back, in memory only. The secret's name depends on the
// rest of the connection string and the key, so the same connection remembered again reuses (and
// updates) its secret.
//
// The store is the desktop's secret service where one answers (registered at start); without one,
// passwords are kept for this session only and asked for again through the password prompt.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SecretStore {
 public:
  virtual ~SecretStore() = default;
  // True when secrets outlive the program (a secret service answers).
  virtual bool Persistent() = 0;
  // False when the secret could not be kept.
  virtual bool Write(const std::string& name, const std::string& secret) = 0;
  // Nothing when no secret of that name is kept.
  virtual std::optional<std::string> Read(const std::string& name) = 0;
  virtual void Remove(const std::string& name) = 0;
};

// Installs the store (null: none, secrets for this session only); returns the previous one.
std::shared_ptr<SecretStore> SetSecretStore(std::shared_ptr<SecretStore> store);

// Asks the user for the password of a secret that no store holds; gets the connection string
// with its passwords masked. Nothing on Cancel.
using PasswordPrompt = std::function<std::optional<std::string>(const std::string& maskedConnection)>;
// Installs the prompt (null: none; a missing password is then an error); returns the previous one.
PasswordPrompt SetPasswordPrompt(PasswordPrompt prompt);

// The text with every password value put away and replaced by its placeholder; placeholders
// already there stay. Raises nothing: a password the store refuses is kept for this session.
std::string PutPasswordsAway(const std::string& connection);
// True when the text holds a password in clear (a password attribute that is not a placeholder).
bool HasClearPassword(const std::string& connection);
// The text with its placeholders replaced by the passwords, for opening the connection. Raises
// ComError (E_FAIL) on a placeholder that names no secret this program wrote, or whose password
// is neither stored nor given at the prompt.
std::string RestorePasswords(const std::string& connection);
// Forgets the passwords of the text's placeholders that were typed at the prompt, so that a
// connection refused with them asks again rather than failing for the rest of the session.
void ForgetTypedPasswords(const std::string& connection);
// The secret names the text's placeholders refer to.
std::vector<std::string> SecretNamesIn(const std::string& connection);
// Deletes a secret from the store and from this session.
void ForgetSecret(const std::string& name);

// The status-bar notice that passwords are kept for this session only, given once per run: the
// first call after a password could not go to a persistent store returns it, later calls nothing.
std::optional<std::string> TakeSessionOnlyNotice();
// Forgets this session's passwords and the notice given (for a fresh start in tests).
void ResetSessionSecrets();
