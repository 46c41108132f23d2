#include <gtest/gtest.h>

#include "capture/capture.h"
#include "capture_fakes.h"
#include "tests/shared/capture_counting_platform.h"

namespace brisvane::test {
namespace {

using Log = std::vector<std::string>;

// Whatever path a test takes, the capture closes each handle it opened,
// exactly once.
struct CaptureLoop : ::testing::Test {
  FakePlatform platform;
  CountingPlatform counting{platform};
  FakeTextBox box{platform.log};
  FakeDbcsCodePage cp;

  void TearDown() override {
    EXPECT_TRUE(counting.Balanced())
        << counting.open.size() << " open, " << counting.faults.size() << " faults";
  }
  CaptureEnd Run(const std::string* start_in = nullptr) {
    return CaptureConsoleOutput(counting, cp, "cscript \"x.vbs\" /dstatus", box, start_in);
  }
};

TEST_F(CaptureLoop, PipeFailureOpensNothingAndShowsNothing) {
  platform.pipe_ok = false;
  EXPECT_EQ(Run(), CaptureEnd::NotStarted);
  EXPECT_EQ(platform.log, (Log{"CreatePipe"}));
  EXPECT_TRUE(box.writes.empty());
}

TEST_F(CaptureLoop, ProcessFailureClosesReadThenWriteEnd) {
  platform.process_ok = false;
  EXPECT_EQ(Run(), CaptureEnd::NotStarted);
  EXPECT_EQ(platform.log, (Log{"CreatePipe", "StartChild", "Close1", "Close2"}));
  EXPECT_TRUE(box.writes.empty());
}

TEST_F(CaptureLoop, NormalEndClosesInTheOrderOfEveryStep) {
  platform.reads = {{true, "ab"}, {true, "c"}};
  EXPECT_EQ(Run(), CaptureEnd::PipeBroken);
  EXPECT_EQ(platform.log, (Log{"CreatePipe", "StartChild", "Close2", "Close4",  //
                               "Pump", "Read1", "SelText", "Pump", "Read1", "SelText", "Pump",
                               "Read1", "Close3", "Close1"}));
  EXPECT_EQ(box.model.Text(), L"abc");
}

TEST_F(CaptureLoop, HandsCommandLineFolderAndWriteEndOverUnchanged) {
  const std::string folder = "C:\\Temp";
  Run(&folder);
  EXPECT_EQ(platform.command_line, "cscript \"x.vbs\" /dstatus");
  EXPECT_EQ(platform.start_in, &folder);
  EXPECT_EQ(platform.std_out_err, 2u);
  Run();
  EXPECT_EQ(platform.start_in, nullptr);
}

TEST_F(CaptureLoop, ReadsAtMost10240BytesIntoOneBuffer) {
  platform.reads = {{true, std::string(10240, 'x')}, {true, "y"}, {true, "z"}};
  Run();
  ASSERT_EQ(platform.read_sizes.size(), 4u);
  for (std::size_t i = 0; i < platform.read_sizes.size(); ++i) {
    EXPECT_EQ(platform.read_sizes[i], kCaptureReadSize);
    EXPECT_EQ(platform.read_buffers[i], platform.read_buffers[0]);
  }
  EXPECT_EQ(box.model.Text(), std::wstring(10240, L'x') + L"yz");
}

TEST_F(CaptureLoop, ReadFailingMidStreamEndsLikeABrokenPipe) {
  platform.reads = {{true, "one"}, {false, ""}, {true, "never"}};
  EXPECT_EQ(Run(), CaptureEnd::PipeBroken);
  EXPECT_EQ(box.model.Text(), L"one");
  EXPECT_EQ(platform.reads.size(), 1u);
  EXPECT_EQ(Log(platform.log.end() - 2, platform.log.end()), (Log{"Close3", "Close1"}));
}

TEST_F(CaptureLoop, ZeroByteReadInsertsNothingButRemovesTheSelection) {
  box.model.SetText(L"keep DROP");
  platform.reads = {{true, ""}};
  box.model.Select(5, 4);
  Run();
  EXPECT_EQ(box.writes, (std::vector<std::wstring>{L""}));
  EXPECT_EQ(box.model.Text(), L"keep ");
}

TEST_F(CaptureLoop, ChildThatWritesNothingLeavesTheBoxAlone) {
  box.model.SetText(L"before");
  EXPECT_EQ(Run(), CaptureEnd::PipeBroken);
  EXPECT_TRUE(box.writes.empty());
  EXPECT_EQ(box.model.Text(), L"before");
}

TEST_F(CaptureLoop, CharacterSplitAcrossReadsIsJoinedAndTheRestFlushed) {
  platform.reads = {{true, "a\x81"},
                    {true,
                     "\x41"
                     "b\x82"}};
  Run();
  const std::wstring pair(1, static_cast<wchar_t>(0x4000 + 0x8141));
  EXPECT_EQ(box.writes, (std::vector<std::wstring>{L"a", pair + L"b", L"?"}));
  EXPECT_EQ(Log(platform.log.end() - 4, platform.log.end()),
            (Log{"Read1", "SelText", "Close3", "Close1"}));
}

TEST_F(CaptureLoop, TargetGoneBetweenChunksLetsGoAtOnce) {
  platform.reads = {{true, "first"}, {true, "late"}, {true, "later"}};
  box.gone_after_pumps = 2;
  EXPECT_EQ(Run(), CaptureEnd::Abandoned);
  EXPECT_EQ(box.model.Text(), L"first");
  EXPECT_EQ(platform.log, (Log{"CreatePipe", "StartChild", "Close2", "Close4",  //
                               "Pump", "Read1", "SelText", "Pump", "Close3", "Close1"}));
}

TEST_F(CaptureLoop, TargetGoneBeforeTheFirstReadShowsNothingNotEvenTheCarry) {
  box.gone_after_pumps = 1;
  EXPECT_EQ(Run(), CaptureEnd::Abandoned);
  EXPECT_TRUE(box.writes.empty());
  platform.log.clear();
  box.pumps = 0, box.gone_after_pumps = 2;
  platform.reads = {{true, "x\x81"}};
  EXPECT_EQ(Run(), CaptureEnd::Abandoned);
  EXPECT_EQ(box.writes, (std::vector<std::wstring>{L"x"}));
}

TEST_F(CaptureLoop, FailingWritePassesThrough) {
  ThrowingTextBox throwing{platform.log};
  platform.reads = {{true, "x"}};
  EXPECT_THROW(CaptureConsoleOutput(counting, cp, "c", throwing), std::runtime_error);
}

}  // namespace
}  // namespace brisvane::test
