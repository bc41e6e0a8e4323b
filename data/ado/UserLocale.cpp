#include "data/ado/UserLocale.h"

#include <langinfo.h>

namespace ado {

namespace {
struct LocaleState {
  locale_t locale = nullptr;
  ~LocaleState() {
    if (locale) freelocale(locale);
  }
};

LocaleState& State() {
  static LocaleState state;
  return state;
}

locale_t Load(const char* name) {
  // LC_CTYPE comes along so that multibyte separators (de_CH's apostrophe, a narrow no-break
  // space) are decoded in the locale's own encoding.
  return newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, name, nullptr);
}
}  // namespace

locale_t UserNumericLocale() {
  LocaleState& state = State();
  if (!state.locale) {
    state.locale = Load("");
    if (!state.locale) state.locale = Load("C");
  }
  return state.locale;
}

bool SetUserNumericLocale(const std::string& name) {
  locale_t loaded = Load(name.c_str());
  if (!loaded) return false;
  LocaleState& state = State();
  if (state.locale) freelocale(state.locale);
  state.locale = loaded;
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

}  // namespace ado
