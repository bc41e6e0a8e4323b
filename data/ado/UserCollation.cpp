#include "data/ado/UserCollation.h"

#include <langinfo.h>

#include <cstring>

#include "text/OwnedLocale.h"

namespace ado {

namespace {
struct CollationState {
  OwnedLocale locale;  // null for a code-point collation
  bool loaded = false;
};

CollationState& State() {
  static CollationState state;
  return state;
}

bool IsCodePointCollation(const char* name) {
  return !name || !*name || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 ||
         std::strncmp(name, "C.", 2) == 0;
}

// The locale, or null for a code-point collation; `ok` false when the name is unknown.
locale_t Load(const char* name, bool& ok) {
  // LC_CTYPE comes along so that the text is decoded in the locale's own encoding.
  locale_t loaded = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, name, nullptr);
  ok = loaded != nullptr;
  if (!loaded) return nullptr;
  if (IsCodePointCollation(nl_langinfo_l(_NL_LOCALE_NAME(LC_COLLATE), loaded))) {
    freelocale(loaded);
    return nullptr;
  }
  return loaded;
}
}  // namespace

locale_t UserCollationLocale() {
  CollationState& state = State();
  if (!state.loaded) {
    bool ok = false;
    state.locale.Reset(Load("", ok));
    state.loaded = true;
  }
  return state.locale.Get();
}

bool SetUserCollationLocale(const std::string& name) {
  bool ok = false;
  locale_t loaded = Load(name.c_str(), ok);
  if (!ok) return false;
  CollationState& state = State();
  state.locale.Reset(loaded);
  state.loaded = true;
  return true;
}

void AppendCollationKey(locale_t collation, std::string_view text, std::string& key) {
  // strxfrm_l reads a C string; texts in the row store are not terminated.
  thread_local std::string terminated;
  terminated.assign(text.substr(0, text.find('\0')));
  const std::size_t start = key.size();
  std::size_t room = terminated.size() * 4 + 16;
  for (;;) {
    key.resize(start + room);
    const std::size_t needed = strxfrm_l(key.data() + start, terminated.c_str(), room, collation);
    if (needed < room) {
      key.resize(start + needed);
      break;
    }
    room = needed + 1;
  }
  // The transformed part holds no NUL byte, so the separator orders a shorter part first.
  key.push_back('\0');
  key.append(text);
}

}  // namespace ado
