// Big results given back on the release thread: a closed or reopened recordset hands its rows
// over, small things are freed at once, and what was handed over is freed on another thread.
// Built also with ThreadSanitizer by the test command.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "data/ado/AdoEnums.h"
#include "data/ado/BackgroundRelease.h"
#include "data/ado/Recordset.h"
#include "tests/data/fetch/WorkerWaits.h"
#include "tests/support/data/AdoSession.h"
#include "tests/support/data/TestDatabases.h"

using namespace ado;

namespace {

using fetchtests::WaitFor;

// Notes the thread that destroys it (moved-from copies note nothing).
struct Probe {
  explicit Probe(std::thread::id* where) : where(where) {}
  Probe(Probe&& other) noexcept : where(other.where) { other.where = nullptr; }
  ~Probe() {
    if (where) *where = std::this_thread::get_id();
  }
  std::thread::id* where;
};

class ResultRelease : public testing::Test, protected testsupport::AdoSession {
 protected:
  void SetUp() override {
    db_ = std::make_unique<FreshDatabase>(TestDatabases().front());
    Connect(db_->ConnectionString());
    AdoSession::Run({"CREATE TABLE rr_rows (id INTEGER PRIMARY KEY, label VARCHAR(60))",
                     "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 150000) "
                     "INSERT INTO rr_rows SELECT x, printf('label %050d', x) FROM c"});
  }
  std::unique_ptr<FreshDatabase> db_;
};

}  // namespace

TEST(BackgroundRelease, BigThingsAreFreedOnAnotherThreadSmallOnesAtOnce) {
  std::thread::id small, big;
  const std::size_t before = BackgroundReleasedBytes();
  ReleaseInBackground(Probe(&small), kBackgroundReleaseBytes - 1);
  EXPECT_EQ(small, std::this_thread::get_id());
  EXPECT_EQ(BackgroundReleasedBytes(), before);

  ReleaseInBackground(Probe(&big), kBackgroundReleaseBytes);
  WaitForBackgroundReleases();
  EXPECT_NE(big, std::thread::id());
  EXPECT_NE(big, std::this_thread::get_id());
  EXPECT_EQ(BackgroundReleasedBytes(), before + kBackgroundReleaseBytes);
}

// Three results let go at once: the first is being freed, the second waits behind it, and the
// third hand-over waits in its owner until the first is gone, so no more than two pile up.
TEST(BackgroundRelease, AThirdHandOverWaitsUntilTheFirstIsFreed) {
  std::atomic<bool> firstMayGo{false}, firstStarted{false}, thirdReturned{false};
  struct Blocking {
    Blocking(std::atomic<bool>* started, std::atomic<bool>* mayGo) : started(started), mayGo(mayGo) {}
    Blocking(Blocking&& other) noexcept : started(other.started), mayGo(other.mayGo) { other.mayGo = nullptr; }
    ~Blocking() {
      if (!mayGo) return;
      started->store(true);
      WaitFor([&] { return mayGo->load(); });
    }
    std::atomic<bool>* started;
    std::atomic<bool>* mayGo;
  };
  const std::size_t before = BackgroundReleasedBytes();
  ReleaseInBackground(Blocking(&firstStarted, &firstMayGo), kBackgroundReleaseBytes);
  ASSERT_TRUE(WaitFor([&] { return firstStarted.load(); }));
  ReleaseInBackground(std::vector<char>(16), kBackgroundReleaseBytes);  // waits behind the first
  std::thread third([&] {
    ReleaseInBackground(std::vector<char>(16), kBackgroundReleaseBytes);
    thirdReturned.store(true);
  });
  EXPECT_TRUE(WaitFor([&] { return BackgroundHandOversWaiting() == 1; }));
  EXPECT_FALSE(thirdReturned.load());
  firstMayGo.store(true);
  third.join();
  WaitForBackgroundReleases();
  EXPECT_EQ(BackgroundReleasedBytes(), before + 3 * kBackgroundReleaseBytes);
  EXPECT_EQ(BackgroundHandOversWaiting(), 0u);
}

TEST_F(ResultRelease, CloseAndReopenHandTheRowsOverAndTheRecordsetReadsOnlyItsNewRows) {
  RecordsetPtr rs = Open("SELECT * FROM rr_rows ORDER BY id");
  ASSERT_EQ(rs->GetRecordCount(), 150000);
  const std::size_t held = rs->MemoryBytes();
  ASSERT_GE(held, kBackgroundReleaseBytes);
  const std::size_t before = BackgroundReleasedBytes();
  rs->Close();
  WaitForBackgroundReleases();
  EXPECT_GE(BackgroundReleasedBytes() - before, held);

  // Opened again on the worker, then again over it while its rows are there.
  rs->PutCursorLocation(adUseClient);
  rs->Open("SELECT * FROM rr_rows ORDER BY id", connection_, adOpenStatic, adLockOptimistic, adCmdText | adAsyncFetch);
  ASSERT_EQ(rs->GetRecordCount(), 150000);
  rs->Close();
  rs->Open("SELECT * FROM rr_rows WHERE id > 149998 ORDER BY id DESC", connection_, adOpenStatic, adLockOptimistic,
           adCmdText | adAsyncFetch);
  EXPECT_EQ(rs->GetRecordCount(), 2);
  EXPECT_EQ(rs->GetValueAt(0, 0).ToVariant().ToInt64(), 150000);
  EXPECT_EQ(rs->GetValueAt(1, 1).ToVariant().ToText(), "label " + std::string(44, '0') + "149999");
  WaitForBackgroundReleases();
  EXPECT_GE(BackgroundReleasedBytes() - before, 2 * held);
}
