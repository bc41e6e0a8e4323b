#pragma once
// A locale_t kept for the life of the process: freed when replaced and at exit.
#include <locale.h>

class OwnedLocale {
 public:
  OwnedLocale() = default;
  ~OwnedLocale() { Reset(nullptr); }
  OwnedLocale(const OwnedLocale&) = delete;
  OwnedLocale& operator=(const OwnedLocale&) = delete;

  locale_t Get() const { return locale_; }
  void Reset(locale_t locale) {
    if (locale_) freelocale(locale_);
    locale_ = locale;
  }

 private:
  locale_t locale_ = nullptr;
};
