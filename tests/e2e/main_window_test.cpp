// The real program, started as a user would, seen from another process.
#include <gtest/gtest.h>

#include "harness.h"

using namespace e2e;

namespace {
class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { ClearOffice(); }
  void TearDown() override { ClearOffice(); }
};
}  // namespace

// What each kind of entry at a probed path makes of the path box; each run
// ends by File > Exit.
TEST_F(MainWindow, ProbeCountsOnlyOrdinaryFiles) {
  const std::wstring cmd15 = L"cscript \"" + kScript15 + L"\" /dstatus";
  const std::wstring cmd15x86 = L"cscript \"" + kScript15x86 + L"\" /dstatus";
  struct Case {
    const char* name;
    DWORD attributes;  // 0: a folder instead of a file
    std::wstring file;
    std::wstring want;
  } cases[] = {
      {"plain", FILE_ATTRIBUTE_NORMAL, kScript15, cmd15},
      {"read-only", FILE_ATTRIBUTE_READONLY, kScript15, cmd15},
      {"archive", FILE_ATTRIBUTE_ARCHIVE, kScript15, cmd15},
      {"hidden", FILE_ATTRIBUTE_HIDDEN, kScript15, kMissing2013},
      {"system", FILE_ATTRIBUTE_SYSTEM, kScript15, kMissing2013},
      {"folder", 0, kScript15, kMissing2013},
      {"other case", FILE_ATTRIBUTE_NORMAL, kScript15.substr(0, kScript15.size() - 8) + L"ospp.vbs",
       cmd15},
      {"only x86", FILE_ATTRIBUTE_NORMAL, kScript15x86, cmd15x86},
  };
  for (const Case& c : cases) {
    ClearOffice();
    if (c.attributes == 0) {
      WriteFile(c.file + L"\\inside.txt", "x");
    } else {
      WriteFile(c.file, "WScript.Echo \"x\"\r\n");
      SetFileAttributesW(c.file.c_str(), c.attributes);
    }
    Program app;
    ASSERT_TRUE(app.MainWindow()) << c.name << ": " << app.Describe();
    EXPECT_EQ(WindowText(app.Control(kPath2013Id)), c.want) << c.name;
    EXPECT_EQ(WindowText(app.Control(kPath2016Id)), kMissing2016) << c.name;
    app.Command(kMenuExit);
    EXPECT_TRUE(app.WaitExit()) << c.name;
    EXPECT_EQ(app.ExitCode(), 0u) << c.name;
  }
}
