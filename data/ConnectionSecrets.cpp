#include "data/ConnectionSecrets.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <set>

#include "data/ado/ComError.h"
#include "data/ado/ConnectionString.h"

namespace {

constexpr const char* kPlaceholderStart = "<saved-password:";
constexpr const char* kNamePrefix = "qelvo-";
constexpr std::size_t kHashDigits = 16;

struct Secrets {
  std::mutex mutex;
  std::shared_ptr<SecretStore> store;
  PasswordPrompt prompt;
  std::map<std::string, std::string> session;  // name -> password, this run only
  std::set<std::string> typed;                 // names whose password came from the prompt
  bool sessionOnly = false;                    // a password could not go to a persistent store
  bool noticeGiven = false;
};

Secrets& State() {
  static Secrets state;
  return state;
}

// FNV-1a, 64 bits: a stable name for the same connection on every run and build.
std::string HashText(const std::string& text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  char digits[kHashDigits + 1];
  std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash));
  return digits;
}

bool IsPlaceholder(const std::string& value) {
  return value.rfind(kPlaceholderStart, 0) == 0;
}

// The name inside "<secret:NAME>", or nothing when the placeholder is malformed.
std::optional<std::string> NameOf(const std::string& placeholder) {
  const std::size_t start = std::char_traits<char>::length(kPlaceholderStart);
  if (placeholder.size() <= start + 1 || placeholder.back() != '>') return std::nullopt;
  std::string name = placeholder.substr(start, placeholder.size() - start - 1);
  const std::string prefix = kNamePrefix;
  if (name.size() != prefix.size() + kHashDigits || name.rfind(prefix, 0) != 0) return std::nullopt;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return std::nullopt;
  }
  return name;
}

std::string PlaceholderFor(const std::string& name) {
  return kPlaceholderStart + name + ">";
}

std::shared_ptr<SecretStore> CurrentStore() {
  std::lock_guard lock(State().mutex);
  return State().store;
}

}  // namespace

std::shared_ptr<SecretStore> SetSecretStore(std::shared_ptr<SecretStore> store) {
  std::lock_guard lock(State().mutex);
  std::swap(State().store, store);
  return store;
}

PasswordPrompt SetPasswordPrompt(PasswordPrompt prompt) {
  std::lock_guard lock(State().mutex);
  std::swap(State().prompt, prompt);
  return prompt;
}

std::string PutPasswordsAway(const std::string& connection) {
  if (!HasClearPassword(connection)) return connection;
  const std::string masked = ado::MaskPasswords(connection);
  const std::shared_ptr<SecretStore> store = CurrentStore();
  return ado::ReplacePasswords(connection,
                               [&](const std::string& key, const std::string& value) -> std::optional<std::string> {
                                 if (value.empty() || IsPlaceholder(value)) return std::nullopt;
                                 std::string lowerKey;
                                 for (char c : key)
                                   lowerKey.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c + 0x20 : c));
                                 const std::string name = kNamePrefix + HashText(masked + '\n' + lowerKey);
                                 const bool kept = store && store->Persistent() && store->Write(name, value);
                                 Secrets& state = State();
                                 std::lock_guard lock(state.mutex);
                                 state.session[name] = value;
                                 state.typed.erase(name);
                                 if (!kept) state.sessionOnly = true;
                                 return PlaceholderFor(name);
                               });
}

bool HasClearPassword(const std::string& connection) {
  bool found = false;
  ado::ReplacePasswords(connection, [&](const std::string&, const std::string& value) -> std::optional<std::string> {
    if (!value.empty() && !IsPlaceholder(value)) found = true;
    return std::nullopt;
  });
  return found;
}

std::string RestorePasswords(const std::string& connection) {
  // The lock is held only around the session's map: the store's calls and the prompt wait in an
  // event loop, where other code may open connections too.
  Secrets& state = State();
  const std::shared_ptr<SecretStore> store = CurrentStore();
  return ado::ReplacePasswords(
      connection, [&](const std::string&, const std::string& value) -> std::optional<std::string> {
        if (!IsPlaceholder(value)) return std::nullopt;
        const std::optional<std::string> name = NameOf(value);
        if (!name)
          throw ado::ComError(
              ado::E_FAIL,
              "Connection string: \"" + value + "\" is not a saved password; type the password in place of it",
              "ConnectionSecrets");
        std::optional<std::string> password;
        PasswordPrompt prompt;
        {
          std::lock_guard lock(state.mutex);
          if (auto it = state.session.find(*name); it != state.session.end()) password = it->second;
          prompt = state.prompt;
        }
        const bool persistent = store && store->Persistent();
        if (!password && persistent) password = store->Read(*name);
        bool typed = false;
        if (!password && !persistent && prompt) {
          password = prompt(ado::MaskPasswords(connection));
          if (!password)
            throw ado::ComError(ado::E_FAIL, "Connection string: no password was given for " + value,
                                "ConnectionSecrets");
          typed = true;
        }
        if (!password)
          throw ado::ComError(
              ado::E_FAIL,
              "Connection string: no password is saved for " + value + "; type the password in place of it",
              "ConnectionSecrets");
        {
          std::lock_guard lock(state.mutex);
          state.session[*name] = *password;
          if (typed) state.typed.insert(*name);
        }
        // Passwords with ';' or quotes go back quoted, as the text was written.
        std::string quoted = *password;
        if (quoted.find_first_of(";'\"{} \t") != std::string::npos) {
          std::string doubled;
          for (char c : quoted) {
            doubled.push_back(c);
            if (c == '}') doubled.push_back('}');
          }
          quoted = '{' + doubled + '}';
        }
        return quoted;
      });
}

std::vector<std::string> SecretNamesIn(const std::string& connection) {
  std::vector<std::string> names;
  ado::ReplacePasswords(connection, [&](const std::string&, const std::string& value) -> std::optional<std::string> {
    if (IsPlaceholder(value))
      if (std::optional<std::string> name = NameOf(value)) names.push_back(*name);
    return std::nullopt;
  });
  return names;
}

void ForgetTypedPasswords(const std::string& connection) {
  Secrets& state = State();
  std::lock_guard lock(state.mutex);
  for (const std::string& name : SecretNamesIn(connection))
    if (state.typed.erase(name)) state.session.erase(name);
}

void ForgetSecret(const std::string& name) {
  {
    Secrets& state = State();
    std::lock_guard lock(state.mutex);
    state.session.erase(name);
    state.typed.erase(name);
  }
  if (const std::shared_ptr<SecretStore> store = CurrentStore(); store && store->Persistent()) store->Remove(name);
}

std::optional<std::string> TakeSessionOnlyNotice() {
  Secrets& state = State();
  std::lock_guard lock(state.mutex);
  if (!state.sessionOnly || state.noticeGiven) return std::nullopt;
  state.noticeGiven = true;
  return "No secret service is running: passwords are kept for this session only";
}

void ResetSessionSecrets() {
  Secrets& state = State();
  std::lock_guard lock(state.mutex);
  state.session.clear();
  state.typed.clear();
  state.sessionOnly = false;
  state.noticeGiven = false;
}
