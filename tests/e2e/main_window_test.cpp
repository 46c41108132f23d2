// The real program, started as a user would, seen from another process.
#include <gtest/gtest.h>

#include "harness.h"

using namespace e2e;

namespace {
const std::wstring kBoth = L"Microsoft Office 2013 not found!\r\nMicrosoft Office 2016 not found!";

RECT ClientOnScreen(HWND w) {
  RECT rc;
  GetClientRect(w, &rc);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override { ClearOffice(); }
  void TearDown() override { ClearOffice(); }
};
}  // namespace

TEST_F(MainWindow, OpensCentredWithItsDesignAndIsOwnedByTheHiddenApplicationWindow) {
  Program app;
  HWND main = app.MainWindow();
  ASSERT_TRUE(main) << app.Describe();

  LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "own taskbar button";

  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(dpi, 96) << "the pixel sizes below are those of 96 DPI";
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 484);
  EXPECT_EQ(client.bottom, 259);

  RECT frame;
  GetWindowRect(main, &frame);
  int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs((frame.left + frame.right) - cx), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - cy), 1);

  HWND owner = GetWindow(main, GW_OWNER);
  ASSERT_TRUE(owner);
  EXPECT_EQ(WindowText(owner), kAppCaption);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_FALSE(GetWindow(owner, GW_OWNER));

  int visible = 0;
  for (HWND w : TopLevelWindows(app.Pid())) visible += IsWindowVisible(w) ? 1 : 0;
  EXPECT_EQ(visible, 1);
}

TEST_F(MainWindow, StatusPaneAndHiddenPathBoxes) {
  Program app;
  HWND main = app.MainWindow();
  ASSERT_TRUE(main) << app.Describe();
  HWND pane = app.Control(kStatusId);
  ASSERT_TRUE(pane);
  LONG style = GetWindowLongW(pane, GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  EXPECT_TRUE(IsWindowVisible(pane));

  RECT client = ClientOnScreen(main), rc;
  GetWindowRect(pane, &rc);
  EXPECT_EQ(rc.left - client.left, 1);
  EXPECT_EQ(rc.top - client.top, 1);
  EXPECT_EQ(rc.right - rc.left, 480);
  EXPECT_EQ(rc.bottom - rc.top, 256);

  for (int id : {kPath2013Id, kPath2016Id}) {
    HWND box = app.Control(id);
    ASSERT_TRUE(box);
    EXPECT_FALSE(IsWindowVisible(box));
  }
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
    const wchar_t* file;
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
      WriteFile(std::wstring(c.file) + L"\\inside.txt", "x");
    } else {
      WriteFile(c.file, "WScript.Echo \"x\"\r\n");
      SetFileAttributesW(c.file, c.attributes);
    }
    Program app;
    ASSERT_TRUE(app.MainWindow()) << c.name << ": " << app.Describe();
    EXPECT_EQ(WindowText(app.Control(kPath2013Id)), c.want) << c.name;
    EXPECT_EQ(WindowText(app.Control(kPath2016Id)), L"Microsoft Office 2016 not found!") << c.name;
    app.Command(kMenuExit);
    EXPECT_TRUE(app.WaitExit()) << c.name;
  }
}
