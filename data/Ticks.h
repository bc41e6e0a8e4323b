#pragma once
// Milliseconds of a steady clock, for the elapsed times the trace and the status bar show.
#include <chrono>

inline long TickCount() {
  using namespace std::chrono;
  return static_cast<long>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
