#include "text/UserLocale.h"

#include <langinfo.h>

#include "text/OwnedLocale.h"

namespace {
OwnedLocale& State() {
  static OwnedLocale state;
  return state;
}

locale_t Load(const char* name) {
  // LC_CTYPE comes along so that multibyte separators (de_CH's apostrophe, a narrow no-break
  // space) are decoded in the locale's own encoding.
  return newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, name, nullptr);
}
}  // namespace

locale_t UserNumericLocale() {
  OwnedLocale& state = State();
  if (!state.Get()) {
    state.Reset(Load(""));
    if (!state.Get()) state.Reset(Load("C"));
  }
  return state.Get();
}

bool SetUserNumericLocale(const std::string& name) {
  locale_t loaded = Load(name.c_str());
  if (!loaded) return false;
  State().Reset(loaded);
  return true;
}

char UserDecimalPoint() {
  const char* text = nl_langinfo_l(RADIXCHAR, UserNumericLocale());
  return (text && *text) ? text[0] : '.';
}

char UserThousandsSeparator() {
  const char* text = nl_langinfo_l(THOUSEP, UserNumericLocale());
  return text ? text[0] : '\0';
}

std::string UserGrouping() {
  locale_t old = uselocale(UserNumericLocale());
  const struct lconv* conv = localeconv();
  std::string grouping = conv && conv->grouping ? conv->grouping : "";
  uselocale(old);
  return grouping;
}
