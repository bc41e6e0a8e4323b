#pragma once
// Waiting in the fetch tests without timers: a condition polled until it holds, and a watchdog
// that ends the test program when a call that must return soon (a cancel) never does, rather
// than hanging the test command.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace fetchtests {

// Waits until `done` holds; false when it never did within a generous bound.
template <class Condition>
bool WaitFor(Condition done) {
  for (long spins = 0; spins < 200'000'000; ++spins) {
    if (done()) return true;
    std::this_thread::yield();
  }
  return done();
}

class Watchdog {
 public:
  explicit Watchdog(const char* what)
      : thread_([this, what] {
          std::unique_lock lock(mutex_);
          if (!done_.wait_for(lock, std::chrono::seconds(60), [this] { return disarmed_; })) {
            std::fprintf(stderr, "%s did not return\n", what);
            std::abort();
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard lock(mutex_);
      disarmed_ = true;
    }
    done_.notify_all();
    thread_.join();
  }

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool disarmed_ = false;
  std::thread thread_;
};

}  // namespace fetchtests
