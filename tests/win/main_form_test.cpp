// The main window in this process: its layout, menus, icons, the pane's font
// and colours, the pane's capacity and what unloading frees.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "app/probe.h"
#include "child.h"
#include "forms/failure.h"
#include "forms/text.h"
#include "support.h"

namespace brisvane::test {
namespace {

using forms::Px;

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

class MainFormInProcess : public ProgramTest {
 protected:
  void SetUp() override {
    frmMain.Show();
    ASSERT_TRUE(frmMain.Loaded());
  }
};

TEST_F(MainFormInProcess, FixedWindowCentredWithThePaneAndHiddenPathBoxesAsDesigned) {
  const HWND main = frmMain.Hwnd();
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "own taskbar button";
  EXPECT_EQ(GetWindow(main, GW_OWNER), app.Window());

  const int dpi = forms::ScreenDpi();
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, Px(MainForm::kClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, Px(MainForm::kClientHeightTwips, dpi));
  RECT frame;
  GetWindowRect(main, &frame);
  EXPECT_LE(std::abs((frame.left + frame.right) - GetSystemMetrics(SM_CXSCREEN)), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - GetSystemMetrics(SM_CYSCREEN)), 1);

  const HWND pane = frmMain.txtStatus.Hwnd();
  const LONG pane_style = GetWindowLongW(pane, GWL_STYLE);
  EXPECT_TRUE(pane_style & ES_MULTILINE);
  EXPECT_TRUE(pane_style & ES_READONLY);
  EXPECT_TRUE(pane_style & WS_VSCROLL);
  EXPECT_FALSE(pane_style & WS_HSCROLL);
  EXPECT_TRUE(IsWindowVisible(pane));
  const RECT rc = RectIn(pane, main);
  EXPECT_EQ(rc.left, Px(20, dpi));
  EXPECT_EQ(rc.top, Px(20, dpi));
  EXPECT_EQ(rc.right - rc.left, Px(7200, dpi));
  EXPECT_EQ(rc.bottom - rc.top, Px(3840, dpi));
  for (HWND box : {frmMain.txtPath2013.Hwnd(), frmMain.txtPath2016.Hwnd()}) {
    ASSERT_TRUE(box);
    EXPECT_FALSE(IsWindowVisible(box));
  }
}

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

  // Chosen as the menu chooses them, by the items' own ids: Web... opens the
  // home page owned by the main window and no box; About... opens the box.
  ShellRecorder shell;
  ASSERT_TRUE(shell.patch.patched());
  SendMessageW(frmMain.Hwnd(), WM_COMMAND, GetMenuItemID(help, 0), 0);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].owner, frmMain.Hwnd());
  EXPECT_EQ(shell.calls[0].file, BRISVANE_HOME_PAGE);
  EXPECT_FALSE(frmAbout.Loaded());
  SendMessageW(frmMain.Hwnd(), WM_COMMAND, GetMenuItemID(help, 1), 0);
  EXPECT_TRUE(frmAbout.Loaded());
  EXPECT_EQ(shell.calls.size(), 1u);
}

// Exit waiting before the first message is pumped: the status run never
// comes, so no pipe is made for a child (the path box names one).
int g_pipes = 0;
ImportPatch* g_create_pipe = nullptr;
BOOL WINAPI CountingCreatePipe(PHANDLE read, PHANDLE write, LPSECURITY_ATTRIBUTES sa, DWORD size) {
  ++g_pipes;
  return g_create_pipe->original<decltype(&CreatePipe)>()(read, write, sa, size);
}

TEST_F(MainFormInProcess, ExitBeforeTheFirstTickStartsNoChild) {
  ImportPatch create_pipe("CreatePipe", reinterpret_cast<void*>(&CountingCreatePipe));
  ASSERT_TRUE(create_pipe.patched());
  g_create_pipe = &create_pipe;
  g_pipes = 0;
  const std::string line = ChildCommandLine("capture_silent");
  frmMain.txtPath2013.SetText(std::wstring(line.begin(), line.end()));
  ASSERT_TRUE(frmMain.Timer1.Enabled());
  PostMessageW(frmMain.Hwnd(), WM_COMMAND, GetMenuItemID(GetSubMenu(GetMenu(frmMain.Hwnd()), 0), 0),
               0);
  EXPECT_EQ(app.Run(), 0);
  EXPECT_FALSE(frmMain.Loaded());
  EXPECT_EQ(g_pipes, 0) << "a status run started";
}

TEST_F(MainFormInProcess, MainAndApplicationWindowCarryTheAaaIcons) {
  HWND owner = GetWindow(frmMain.Hwnd(), GW_OWNER);
  ASSERT_EQ(owner, app.Window());
  HICON big = Shared("AAA", SM_CXICON, SM_CYICON);
  HICON small = Shared("AAA", SM_CXSMICON, SM_CYSMICON);
  ASSERT_TRUE(big);
  ASSERT_TRUE(small);
  for (HWND w : {frmMain.Hwnd(), owner}) {
    EXPECT_EQ(IconOf(w, ICON_BIG), big);
    EXPECT_EQ(IconOf(w, ICON_SMALL), small);
  }
}

TEST_F(MainFormInProcess, PaneIsBoldWhiteOnBlue) {
  HWND pane = frmMain.txtStatus.Hwnd();
  LOGFONTW lf{};
  ASSERT_TRUE(
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(pane, WM_GETFONT, 0, 0)), sizeof lf, &lf));
  EXPECT_STREQ(lf.lfFaceName, L"MS Sans Serif");
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfCharSet, 204);
  EXPECT_EQ(lf.lfHeight, -11);  // 8.25 pt at 96 DPI

  // A read-only EDIT asks its parent for colours as a static control does.
  HDC dc = CreateCompatibleDC(nullptr);
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(frmMain.Hwnd(), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(pane)));
  LOGBRUSH lb{};
  ASSERT_TRUE(GetObjectW(brush, sizeof lb, &lb));
  EXPECT_EQ(lb.lbColor, 0x00D08410u);
  EXPECT_EQ(GetBkColor(dc), 0x00D08410u);
  EXPECT_EQ(GetTextColor(dc), 0x00FFFFFFu);
  DeleteDC(dc);
}

TEST_F(MainFormInProcess, StatusRunFillsThePaneOnceAfterTheFirstTick) {
  const std::wstring both = forms::Widen(std::string(kNotFound2013) + "\r\n" + kNotFound2016);
  EXPECT_TRUE(frmMain.Timer1.Enabled());
  EXPECT_EQ(frmMain.Timer1.Interval(), 1000u);
  ASSERT_TRUE(PumpUntil(app, [&] { return frmMain.txtStatus.Text() == both; }));
  EXPECT_FALSE(frmMain.Timer1.Enabled()) << "one-shot";
  DWORD start = 0, end = 1;
  SendMessageW(frmMain.txtStatus.Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
}

// The EDIT's default limit would silently drop inserts past 30,000 characters;
// a box that takes less than it was given says so. A chunk written over a
// selection (the user's, during a status run) replaces it.
TEST_F(MainFormInProcess, PaneTakesMoreThanAHundredThousandCharactersAndReportsWhatItRefuses) {
  frmMain.txtStatus.SetText(L"keep DROP");
  SendMessageW(frmMain.txtStatus.Hwnd(), EM_SETSEL, 5, 9);
  frmMain.txtStatus.SetSelText(L"new");
  EXPECT_EQ(frmMain.txtStatus.Text(), L"keep new");

  frmMain.txtStatus.SetText(L"");
  const std::wstring chunk(10000, L'x');
  for (int i = 0; i < 11; ++i) frmMain.txtStatus.SetSelText(chunk);
  EXPECT_EQ(frmMain.txtStatus.Text().size(), 110000u);
  SendMessageW(frmMain.txtStatus.Hwnd(), EM_SETLIMITTEXT, 110005, 0);
  try {
    frmMain.txtStatus.SetSelText(chunk);
    ADD_FAILURE() << "a write the box did not take passed as done";
  } catch (const forms::Failure& e) {
    EXPECT_STREQ(e.what(), "EM_REPLACESEL failed: the text box took 5 of 10000 characters");
  }
}

TEST_F(MainFormInProcess, HourglassCoversEveryWindowWhileSet) {
  HWND pane = frmMain.txtStatus.Hwnd();
  app.SetMousePointer(forms::MousePointer::kHourglass);
  EXPECT_TRUE(SendMessageW(frmMain.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(pane),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  app.SetMousePointer(forms::MousePointer::kDefault);
  EXPECT_FALSE(SendMessageW(frmMain.Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(pane),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

using MainFormUnload = ProgramTest;

TEST_F(MainFormUnload, FreesThePanesFontAndBrushAndEndsTheLoop) {
  const long gdi = forms::ResourceCount::Gdi(), icons = forms::ResourceCount::Icons();
  frmMain.Show();
  HWND pane = frmMain.txtStatus.Hwnd();
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(pane, WM_GETFONT, 0, 0));
  HDC dc = CreateCompatibleDC(nullptr);
  auto brush = reinterpret_cast<HGDIOBJ>(SendMessageW(frmMain.Hwnd(), WM_CTLCOLORSTATIC,
                                                      reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(pane)));
  DeleteDC(dc);
  ASSERT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  ASSERT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  frmMain.Unload();
  EXPECT_EQ(app.LoadedForms(), 0);
  EXPECT_EQ(forms::ResourceCount::Gdi(), gdi);
  EXPECT_EQ(forms::ResourceCount::Icons(), icons);
  EXPECT_EQ(GetObjectType(font), 0u) << "font still alive";
  EXPECT_EQ(GetObjectType(brush), 0u) << "brush still alive";
  EXPECT_FALSE(IsWindow(pane));
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
      << "the last form ends the loop";
}

}  // namespace
}  // namespace brisvane::test
