#include "data/ado/BackgroundRelease.h"

#include "data/ado/BackgroundPriority.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace ado {
namespace {

class Releaser {
 public:
  Releaser() : thread_([this] { Run(); }) { thread_.detach(); }

  void Hand(std::unique_ptr<Releasable> garbage, std::size_t bytes) {
    std::unique_lock lock(mutex_);
    // One waits behind the one running; a third waits here, in its owner.
    ++handOversWaiting_;
    placeFree_.wait(lock, [&] { return !waiting_; });
    --handOversWaiting_;
    waiting_ = std::move(garbage);
    waitingBytes_ = bytes;
    work_.notify_one();
  }

  void WaitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [&] { return !waiting_ && !busy_; });
  }

  std::size_t Released() {
    std::lock_guard lock(mutex_);
    return released_;
  }

  std::size_t HandOversWaiting() {
    std::lock_guard lock(mutex_);
    return handOversWaiting_;
  }

 private:
  void Run() {
    LowerThisThreadPriority();
    std::unique_lock lock(mutex_);
    for (;;) {
      work_.wait(lock, [&] { return waiting_ != nullptr; });
      std::unique_ptr<Releasable> garbage = std::move(waiting_);
      const std::size_t bytes = waitingBytes_;
      busy_ = true;
      placeFree_.notify_all();
      lock.unlock();
      garbage.reset();
      lock.lock();
      busy_ = false;
      released_ += bytes;
      idle_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable work_, placeFree_, idle_;
  std::unique_ptr<Releasable> waiting_;
  std::size_t waitingBytes_ = 0;
  bool busy_ = false;
  std::size_t released_ = 0;
  std::size_t handOversWaiting_ = 0;
  std::thread thread_;
};

// Made on first use and never destroyed: a result let go while the program ends still has a
// thread to take it, and the program does not wait for memory it is giving back anyway.
Releaser& TheReleaser() {
  static Releaser* releaser = new Releaser;
  return *releaser;
}

}  // namespace

void HandToReleaseThread(std::unique_ptr<Releasable> garbage, std::size_t bytes) {
  if (garbage) TheReleaser().Hand(std::move(garbage), bytes);
}

void WaitForBackgroundReleases() {
  TheReleaser().WaitIdle();
}

std::size_t BackgroundReleasedBytes() {
  return TheReleaser().Released();
}

std::size_t BackgroundHandOversWaiting() {
  return TheReleaser().HandOversWaiting();
}

}  // namespace ado
