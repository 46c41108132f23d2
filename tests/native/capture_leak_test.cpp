#include <gtest/gtest.h>

#include "capture/capture.h"
#include "capture_fakes.h"
#include "tests/shared/capture_counting_platform.h"

namespace brisvane::test {
namespace {

// Every path the capture can take closes each handle it opened, exactly once.
TEST(CaptureLeaks, EveryPathClosesEachHandleOnce) {
  enum Path { PipeFails, ProcessFails, Normal, ReadFails, Abandoned, WriteThrows };
  const struct {
    Path path;
    int opened;
  } cases[] = {{PipeFails, 0}, {ProcessFails, 2}, {Normal, 4},
               {ReadFails, 4}, {Abandoned, 4},    {WriteThrows, 4}};
  FakeDbcsCodePage cp;
  for (const auto& c : cases) {
    FakePlatform fake;
    fake.pipe_ok = c.path != PipeFails;
    fake.process_ok = c.path != ProcessFails;
    fake.reads = {{true, "out\x81"}, {c.path != ReadFails, "put"}, {true, "more"}};
    CountingPlatform counting(fake);
    FakeTextBox box(fake.log);
    ThrowingTextBox throwing(fake.log);
    if (c.path == Abandoned) box.gone_after_pumps = 2;
    if (c.path == WriteThrows) {
      EXPECT_THROW(CaptureConsoleOutput(counting, cp, "c", throwing), std::runtime_error);
    } else {
      CaptureConsoleOutput(counting, cp, "c", box);
    }
    EXPECT_EQ(counting.opened.size(), static_cast<std::size_t>(c.opened)) << "path " << c.path;
    EXPECT_TRUE(counting.Balanced()) << "path " << c.path << ": " << counting.open.size()
                                     << " open, " << counting.faults.size() << " faults";
  }
}

}  // namespace
}  // namespace brisvane::test
