#pragma once
// The wait cursor for the whole of a long operation: shown while the guard lives. Guards nest;
// Restore() shows it again after something (a message box) replaced it.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

  void Restore();
  // Ends the wait early (the destructor then does nothing).
  void End();

  // True while any guard is up.
  static bool Active();

 private:
  bool active_ = true;
};
