// The main window in this process: what only its own process can see (menus,
// icons, fonts, colours answered to the pane) and the pane's capacity.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "app/frmMain.h"
#include "child.h"

namespace {

using brisvane::frmMain;

bool PumpUntil(const std::function<bool()>& done, int ms = 10000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    forms::Application::Get().DoEvents();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::wstring MenuText(HMENU menu, int pos) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, pos, text, 64, MF_BYPOSITION);
  return text;
}

HICON Shared(const char* group, int cx_metric, int cy_metric) {
  return static_cast<HICON>(LoadImageA(GetModuleHandleW(nullptr), group, IMAGE_ICON,
                                       GetSystemMetrics(cx_metric), GetSystemMetrics(cy_metric),
                                       LR_SHARED));
}

HICON IconOf(HWND w, WPARAM which) {
  return reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, which, 0));
}

class MainFormInProcess : public ::testing::Test {
 protected:
  // Never unloaded here: the last form's unload ends the event loop.
  void SetUp() override {
    frmMain.Show();
    ASSERT_TRUE(frmMain.Loaded());
  }
};

}  // namespace

TEST_F(MainFormInProcess, MenuBarIsFileExitThenHelpWebAbout) {
  HMENU bar = GetMenu(frmMain.Hwnd());
  ASSERT_TRUE(bar);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  EXPECT_EQ(MenuText(bar, 0), L"&File");
  EXPECT_EQ(MenuText(bar, 1), L"&Help");
  HMENU file = GetSubMenu(bar, 0), help = GetSubMenu(bar, 1);
  ASSERT_EQ(GetMenuItemCount(file), 1);
  EXPECT_EQ(MenuText(file, 0), L"Exit");
  ASSERT_EQ(GetMenuItemCount(help), 2);
  EXPECT_EQ(MenuText(help, 0), L"Web...");
  EXPECT_EQ(MenuText(help, 1), L"About...");
  for (HMENU m : {file, help}) {
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
      UINT state = GetMenuState(m, i, MF_BYPOSITION);
      EXPECT_FALSE(state & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED));
    }
  }
}

TEST_F(MainFormInProcess, MainAndApplicationWindowCarryTheAaaIcons) {
  HWND app = GetWindow(frmMain.Hwnd(), GW_OWNER);
  ASSERT_EQ(app, forms::Application::Get().Window());
  HICON big = Shared("AAA", SM_CXICON, SM_CYICON);
  HICON small = Shared("AAA", SM_CXSMICON, SM_CYSMICON);
  ASSERT_TRUE(big);
  ASSERT_TRUE(small);
  for (HWND w : {frmMain.Hwnd(), app}) {
    EXPECT_EQ(IconOf(w, ICON_BIG), big);
    EXPECT_EQ(IconOf(w, ICON_SMALL), small);
  }
}

TEST_F(MainFormInProcess, PaneIsBoldWhiteOnBlue) {
  HWND pane = frmMain.txtStatus.Hwnd();
  LOGFONTW lf{};
  ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(pane, WM_GETFONT, 0, 0)), sizeof lf, &lf));
  EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfCharSet, 204);
  EXPECT_EQ(lf.lfHeight, -11);  // 8.25 pt at 96 DPI

  // A read-only EDIT asks its parent for colours as a static control does.
  HDC dc = CreateCompatibleDC(nullptr);
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(frmMain.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(pane)));
  LOGBRUSH lb{};
  ASSERT_TRUE(GetObjectW(brush, sizeof lb, &lb));
  EXPECT_EQ(lb.lbColor, 0x00D08410u);
  EXPECT_EQ(GetBkColor(dc), 0x00D08410u);
  EXPECT_EQ(GetTextColor(dc), 0x00FFFFFFu);
  DeleteDC(dc);
}

TEST_F(MainFormInProcess, StatusRunFillsThePaneOnceAfterTheFirstTick) {
  const std::wstring both =
      L"Microsoft Office 2013 not found!\r\nMicrosoft Office 2016 not found!";
  EXPECT_TRUE(frmMain.Timer1.Enabled());
  ASSERT_TRUE(PumpUntil([&] { return frmMain.txtStatus.Text() == both; }));
  EXPECT_FALSE(frmMain.Timer1.Enabled()) << "one-shot";
  DWORD start = 0, end = 1;
  SendMessageW(frmMain.txtStatus.Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
}

// The EDIT's default limit would silently drop inserts past 30,000 characters.
TEST_F(MainFormInProcess, PaneTakesMoreThanAHundredThousandInsertedCharacters) {
  frmMain.txtStatus.SetText(L"");
  const std::wstring chunk(10000, L'x');
  for (int i = 0; i < 11; ++i) frmMain.txtStatus.SetSelText(chunk);
  EXPECT_EQ(frmMain.txtStatus.Text().size(), 110000u);
}

TEST_F(MainFormInProcess, HourglassCoversEveryWindowWhileSet) {
  HWND pane = frmMain.txtStatus.Hwnd();
  forms::Application::Get().SetMousePointer(11);
  EXPECT_TRUE(SendMessageW(frmMain.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(pane),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  forms::Application::Get().SetMousePointer(0);
  EXPECT_FALSE(SendMessageW(frmMain.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(pane),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

// main_unload: shows the main window and unloads it again (which would end
// the test run's own event loop, hence a child). Exit code: a bit per object
// left behind.
BRISVANE_CHILD(main_unload) {
  const long gdi = forms::ResourceCount::Gdi(), icons = forms::ResourceCount::Icons();
  frmMain.Show();
  HWND pane = frmMain.txtStatus.Hwnd();
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(pane, WM_GETFONT, 0, 0));
  HDC dc = CreateCompatibleDC(nullptr);
  auto brush = reinterpret_cast<HGDIOBJ>(SendMessageW(
      frmMain.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
      reinterpret_cast<LPARAM>(pane)));
  DeleteDC(dc);
  if (GetObjectType(font) != OBJ_FONT || GetObjectType(brush) != OBJ_BRUSH) return 64;
  frmMain.Unload();
  int left = 0;
  if (forms::ResourceCount::Gdi() != gdi) left |= 1;
  if (forms::ResourceCount::Icons() != icons) left |= 2;
  if (GetObjectType(font) != 0) left |= 4;
  if (GetObjectType(brush) != 0) left |= 8;
  if (IsWindow(pane)) left |= 16;
  return left;
}

TEST(MainFormUnload, FreesThePanesFontAndBrushWithTheWindow) {
  std::string line = brisvane::test::ChildCommandLine("main_unload");
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi));
  CloseHandle(pi.hThread);
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(code, 0u) << "1 GDI count, 2 icon count, 4 font alive, 8 brush alive, 16 pane alive";
}
