#include "data/Trace.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {
struct Seen {
  std::string module;
  char kind;
  std::string text;
};

// Each test starts with a fresh header, an observer that records lines, and output to stderr.
class TraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TraceSetEnabled(true);
    TraceSetShowThreadId(false);
    TraceSetModuleName(std::nullopt);
    TraceResetHeader();
    TraceSetObserver([this](const std::string& module, char kind, const std::string& text) {
      seen_.push_back({module, kind, text});
    });
  }
  void TearDown() override {
    TraceSetObserver(nullptr);
    TraceSetModuleName(std::nullopt);
    TraceSetShowThreadId(false);
    TraceSetEnabled(true);
  }

  // Runs the call with the debugger-output stand-in on and gives what it wrote.
  template <typename Call>
  std::string Output(Call call, bool toStandardError = true) {
    if (toStandardError) setenv("QELVO_TRACE", "1", 1);
    ::testing::internal::CaptureStderr();
    call();
    std::string out = ::testing::internal::GetCapturedStderr();
    unsetenv("QELVO_TRACE");
    return out;
  }

  std::vector<Seen> seen_;
};

TEST_F(TraceTest, HeaderOnceThenLines) {
  TraceSetModuleName("qelvo");
  const std::string out = Output([] {
    EXPECT_TRUE(Trace(TraceInfo, "qry time = %ld [ms]", 12L));
    EXPECT_TRUE(Trace(TraceError, "DbConnection::Open() : %s", "failed"));
  });
  EXPECT_EQ(out,
            "|app                 |c|message\n"
            "|qelvo               | |qry time = 12 [ms]\n"
            "|qelvo               |E|DbConnection::Open() : failed\n");
  ASSERT_EQ(seen_.size(), 2u);
  EXPECT_EQ(seen_[0].module, "qelvo");
  EXPECT_EQ(seen_[0].kind, ' ');
  EXPECT_EQ(seen_[0].text, "qry time = 12 [ms]");
  EXPECT_EQ(seen_[1].kind, 'E');
}

TEST_F(TraceTest, LineBreaksSplitAndEmptyLinesAreDropped) {
  TraceSetModuleName("m");
  const std::string out = Output([] { Trace(TraceQuery, "SELECT *\r\nFROM t\n\n\rWHERE 1\n"); });
  EXPECT_EQ(out,
            "|app                 |c|message\n"
            "|m                   |Q|SELECT *\n"
            "|m                   |Q|FROM t\n"
            "|m                   |Q|WHERE 1\n");
  ASSERT_EQ(seen_.size(), 3u);
  for (const Seen& s : seen_) EXPECT_EQ(s.kind, 'Q');
}

TEST_F(TraceTest, EmptyTextWritesNothingNotEvenTheHeader) {
  const std::string out = Output([] {
    EXPECT_TRUE(Trace(TraceInfo, "%s", ""));
    EXPECT_TRUE(Trace(TraceInfo, "\r\n\n"));
  });
  EXPECT_EQ(out, "");
  EXPECT_TRUE(seen_.empty());
  // The header is still pending for the first real line.
  TraceSetModuleName("m");
  EXPECT_EQ(Output([] { Trace(TraceWarning, "x"); }), "|app                 |c|message\n|m                   |W|x\n");
}

TEST_F(TraceTest, LongModuleNameIsCutToTwentyCharacters) {
  TraceSetModuleName("abcdefghijklmnopqrstuvwxyz");
  const std::string out = Output([] { Trace(TraceGrid, "a\nb"); });
  EXPECT_EQ(out,
            "|app                 |c|message\n"
            "|abcdefghijklmnopqrst|G|a\n"
            "|abcdefghijklmnopqrst|G|b\n");
}

TEST_F(TraceTest, TextIsCutAt2559Characters) {
  TraceSetModuleName("m");
  const std::string longText(3000, 'x');
  Trace(TraceInfo, "%s", longText.c_str());
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].text, std::string(2559, 'x'));
}

TEST_F(TraceTest, CutNeverSplitsAUtf8Character) {
  const std::string text = std::string(2558, 'x') + "\xC3\xA9";  // é spans the cut
  Trace(TraceInfo, "%s", text.c_str());
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].text, std::string(2558, 'x'));
}

TEST_F(TraceTest, DisabledTraceDoesNothingAndReturnsFalse) {
  TraceSetEnabled(false);
  const std::string out = Output([] { EXPECT_FALSE(Trace(TraceError, "lost")); });
  EXPECT_EQ(out, "");
  EXPECT_TRUE(seen_.empty());
}

TEST_F(TraceTest, WithoutTheEnvironmentVariableOnlyTheObserverSeesLines) {
  const std::string out = Output([] { Trace(TraceInfo, "quiet"); }, false);
  EXPECT_EQ(out, "");
  ASSERT_EQ(seen_.size(), 1u);
  EXPECT_EQ(seen_[0].text, "quiet");
}

TEST_F(TraceTest, ThreadIdLayout) {
  TraceSetShowThreadId(true);
  TraceSetModuleName("m");
  const std::string out = Output([] { Trace(TraceInfo, "hello"); });
  const std::string header = "|th     app                 |c|message\n";
  ASSERT_EQ(out.substr(0, header.size()), header);
  const std::string line = out.substr(header.size());
  // "|%6ld %-20.20s|%c|%s\n"
  ASSERT_EQ(line.size(), 1 + 6 + 1 + 20 + 1 + 1 + 1 + 5 + 1u);
  EXPECT_EQ(line.substr(7), " m                   | |hello\n");
  EXPECT_NE(line.substr(1, 6).find_first_of("0123456789"), std::string::npos);
}

TEST_F(TraceTest, ObserverCanBeRemoved) {
  TraceSetObserver(nullptr);
  Trace(TraceInfo, "unseen");
  EXPECT_TRUE(seen_.empty());
}

TEST(TraceModuleName, IsTheFileNameCutBeforeItsFirstDot) {
  EXPECT_EQ(TraceModuleNameFromPath("/usr/bin/qelvo"), "qelvo");
  EXPECT_EQ(TraceModuleNameFromPath("/opt/q/qelvo.bin.old"), "qelvo");
  EXPECT_EQ(TraceModuleNameFromPath("/opt/q.d/tool"), "tool");
  EXPECT_EQ(TraceModuleNameFromPath(""), "");
  EXPECT_EQ(TraceModuleNameFromPath("/a/.hidden"), "");
}

TEST(TraceModuleName, RunningExecutableNamesTheModule) {
  std::vector<Seen> seen;
  TraceSetModuleName(std::nullopt);
  TraceSetObserver([&](const std::string& module, char kind, const std::string& text) {
    seen.push_back({module, kind, text});
  });
  Trace(TraceInfo, "who");
  TraceSetObserver(nullptr);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].module, "tests_data_format");
}
}  // namespace
