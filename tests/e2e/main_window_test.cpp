// The real program, started as a user would, seen from another process.
#include <gtest/gtest.h>

#include "harness.h"

using namespace e2e;

namespace {
const std::wstring kBoth = L"Microsoft Office 2013 not found!\r\nMicrosoft Office 2016 not found!";

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { ClearOffice(); }
  void TearDown() override { ClearOffice(); }
};
}  // namespace

// The window's layout, styles and fonts are checked in-process; here, what
// the started program shows: one visible window, owned by the hidden
// application window, with the path boxes and the pane filled from the
// real files (none here).
TEST_F(MainWindow, ShowsOneWindowOwnedByTheHiddenApplicationWindowAndFillsThePane) {
  Program app;
  HWND main = app.MainWindow();
  ASSERT_TRUE(main) << app.Describe();
  HWND owner = GetWindow(main, GW_OWNER);
  ASSERT_TRUE(owner);
  EXPECT_EQ(WindowText(owner), kAppCaption);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_FALSE(GetWindow(owner, GW_OWNER));
  int visible = 0;
  for (HWND w : TopLevelWindows(app.Pid())) visible += IsWindowVisible(w) ? 1 : 0;
  EXPECT_EQ(visible, 1);

  EXPECT_EQ(WindowText(app.Control(kPath2013Id)), L"Microsoft Office 2013 not found!");
  EXPECT_EQ(WindowText(app.Control(kPath2016Id)), L"Microsoft Office 2016 not found!");
  EXPECT_TRUE(WaitFor([&] { return app.StatusText() == kBoth; })) << app.StatusText().size();
}

TEST_F(MainWindow, ExitAndTheCloseButtonEndTheProcess) {
  {
    Program app;
    ASSERT_TRUE(app.MainWindow()) << app.Describe();
    app.Command(kMenuExit);
    EXPECT_TRUE(app.WaitExit());
  }
  {
    Program app;
    ASSERT_TRUE(app.MainWindow()) << app.Describe();
    PostMessageW(app.MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(app.WaitExit());
  }
}

TEST_F(MainWindow, ExitBeforeTheFirstTickStartsNoChild) {
  WriteFile(kScript15,
            "Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
            "fso.CreateTextFile(\"C:\\brisvane-ran.txt\").Close\r\n");
  DeleteFileW(L"C:\\brisvane-ran.txt");
  Program app;
  ASSERT_TRUE(app.MainWindow()) << app.Describe();
  app.Command(kMenuExit);
  ASSERT_TRUE(app.WaitExit());
  EXPECT_FALSE(ProcessRunning(L"cscript.exe"));
  EXPECT_FALSE(Exists(L"C:\\brisvane-ran.txt"));
}

// What each kind of entry at a probed path makes of the path box.
TEST_F(MainWindow, ProbeCountsOnlyOrdinaryFiles) {
  const std::wstring cmd15 =
      L"cscript \"C:\\Program Files\\Microsoft Office\\Office15\\OSPP.VBS\" /dstatus";
  const std::wstring cmd15x86 =
      L"cscript \"C:\\Program Files (x86)\\Microsoft Office\\Office15\\OSPP.VBS\" /dstatus";
  const std::wstring missing = L"Microsoft Office 2013 not found!";
  struct Case {
    const char* name;
    DWORD attributes;  // 0: a folder instead of a file
    std::wstring file;
    std::wstring want;
  } cases[] = {
      {"plain", FILE_ATTRIBUTE_NORMAL, kScript15, cmd15},
      {"read-only", FILE_ATTRIBUTE_READONLY, kScript15, cmd15},
      {"archive", FILE_ATTRIBUTE_ARCHIVE, kScript15, cmd15},
      {"hidden", FILE_ATTRIBUTE_HIDDEN, kScript15, missing},
      {"system", FILE_ATTRIBUTE_SYSTEM, kScript15, missing},
      {"folder", 0, kScript15, missing},
      {"other case", FILE_ATTRIBUTE_NORMAL,
       L"C:\\Program Files\\Microsoft Office\\Office15\\ospp.vbs", cmd15},
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
    EXPECT_EQ(WindowText(app.Control(kPath2016Id)), L"Microsoft Office 2016 not found!") << c.name;
    app.Command(kMenuExit);
    EXPECT_TRUE(app.WaitExit()) << c.name;
  }
}
