// The real 32-bit product, started once, under emulation: the main window
// shows; the status run fills the pane with the stand-in's report arranged
// for Office 2013 found and Office 2016 not found; Help > About... opens the
// about box, Esc closes it; File > Exit ends the process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "harness.h"

using namespace e2e;

namespace {

// A 32-bit process takes a minute to start here, its cscript as long again.
constexpr DWORD kStart = 300000, kRun = 400000, kStep = 120000;

// The stand-in, and into report what cscript echoes for it: each
// WScript.Echo "..." as a line.
std::string Standin(std::wstring& report) {
  const char* path = std::getenv("BRISVANE_STANDIN");
  std::ifstream in(path ? path : "", std::ios::binary);
  std::string script;
  for (std::string line; std::getline(in, line);) {
    script += line + "\n";
    const auto open = line.find('"'), close = line.rfind('"');
    if (open != std::string::npos && close != open)
      report += Wide(line.substr(open + 1, close - open - 1).c_str()) + L"\r\n";
  }
  return script;
}

TEST(E2e32, ShowsTheReportOpensAndClosesTheAboutBoxAndExits) {
  std::wstring want;
  const std::string script = Standin(want);
  ASSERT_FALSE(script.empty()) << "BRISVANE_STANDIN names the stand-in script";
  ClearOffice();
  WriteFile(kScript15x86, script);
  want += L"\r\n" + kMissing2016;

  const DWORD start = GetTickCount();
  Program app;
  HWND main = app.MainWindow(kStart);
  ASSERT_TRUE(main) << app.Describe();
  std::printf("main window after %.1f s\n", (GetTickCount() - start) / 1000.0);

  std::wstring pane;
  EXPECT_TRUE(WaitFor([&] { return (pane = app.StatusText()) == want; }, kRun))
      << "pane: [" << std::string(pane.begin(), pane.end()) << "]";
  std::printf("report in the pane after %.1f s\n", (GetTickCount() - start) / 1000.0);

  // Help > About...: the Help menu opens on Web..., About... is next.
  ASSERT_TRUE(Activate(main, kStep));
  Press('H', {VK_MENU});
  Press(VK_DOWN);
  Press(VK_RETURN);
  HWND box = app.Window(kAboutCaption, nullptr, kStep);
  ASSERT_TRUE(box) << app.Describe();
  EXPECT_EQ(GetWindow(box, GW_OWNER), main);
  ASSERT_TRUE(Activate(box, kStep));
  Press(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, kStep)) << "Esc left the box open";

  // File > Exit: the File menu has Exit alone.
  ASSERT_TRUE(Activate(main, kStep));
  Press('F', {VK_MENU});
  Press(VK_RETURN);
  EXPECT_TRUE(app.WaitExit(kStep)) << app.Describe();
  EXPECT_EQ(app.ExitCode(), 0u);
  std::printf("ended after %.1f s\n", (GetTickCount() - start) / 1000.0);
  ClearOffice();
}

}  // namespace
