#pragma once
// Big memory given back on a background thread. Freeing the rows of a result of millions takes
// long enough to freeze the window that let it go (a new Execute over the old result), so the
// owner moves what holds them into ReleaseInBackground and goes on at once. What is handed over
// must be reachable from nowhere else: nothing may point into it any more.
//
// Releases run one at a time on one thread, and at most one waits behind the one running: a
// hand-over made while both places are taken waits for the running one to end, so a burst of
// Executes never piles up the memory of many old results.
#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

namespace ado {

// Below this many bytes the owner frees at once: handing over would cost more than it saves.
inline constexpr std::size_t kBackgroundReleaseBytes = std::size_t{8} << 20;

class Releasable {
 public:
  virtual ~Releasable() = default;
};

// Takes `garbage` (`bytes` is what it holds) and frees it on the release thread.
void HandToReleaseThread(std::unique_ptr<Releasable> garbage, std::size_t bytes);

// The same for any movable object, freed at once below kBackgroundReleaseBytes.

template <typename T>
void ReleaseInBackground(T&& garbage, std::size_t bytes) {
  struct Holder : Releasable {
    explicit Holder(T&& held) : value(std::move(held)) {}
    std::remove_reference_t<T> value;
  };
  static_assert(!std::is_lvalue_reference_v<T>, "hand the object over with std::move");
  if (bytes < kBackgroundReleaseBytes) {
    std::remove_reference_t<T> now(std::move(garbage));
    return;
  }
  HandToReleaseThread(std::make_unique<Holder>(std::move(garbage)), bytes);
}

// Waits until everything handed over so far has been freed (tests, the end of the program).
void WaitForBackgroundReleases();
// Bytes freed on the release thread since the program started (tests and benchmarks).
std::size_t BackgroundReleasedBytes();
// Hand-overs waiting now for the release thread to make room (tests).
std::size_t BackgroundHandOversWaiting();

}  // namespace ado
