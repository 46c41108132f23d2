// The main window in this process: its design read back from the live
// windows (typed from the design, 15 twips a pixel), menus, focus, pointer,
// the pane's capacity and what unloading frees.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "child.h"
#include "forms/failure.h"
#include "forms/text.h"
#include "harness.h"
#include "support.h"

namespace brisvane::test {
namespace {

std::wstring MenuText(HMENU menu, int pos) {
  wchar_t text[64] = {};
  GetMenuStringW(menu, pos, text, 64, MF_BYPOSITION);
  return text;
}

class MainFormTest : public ProgramTest {
 protected:
  void SetUp() override {
    e2e::ClearOffice();  // no stand-in script: both path boxes say "not found"
    frmMain.Show();
    ASSERT_TRUE(frmMain.Loaded());
  }
  const DistinctSystemColors scheme_;  // from before the form loads
  // What the process had before the form was loaded.
  const long gdi_ = forms::ResourceCount::Gdi(), icons_ = forms::ResourceCount::Icons();
};

TEST_F(MainFormTest, WindowAndControlsAsDesigned) {
  ASSERT_EQ(forms::ScreenDpi(), 96) << "the bench's resolution";
  const HWND main = frmMain.Hwnd();
  EXPECT_EQ(Text(main), L"Brisvane [Office 2013 and 2016 Edition: Last 5 Digits]");
  EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & kFrameStyles, WS_CAPTION | WS_SYSMENU);
  // Owned by the hidden application window, yet on the taskbar.
  EXPECT_EQ(GetWindowLongW(main, GWL_EXSTYLE), WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
  EXPECT_EQ(GetWindow(main, GW_OWNER), app.Window());
  EXPECT_EQ(Text(app.Window()), L"Brisvane [Office 2013 & 2016]");
  EXPECT_FALSE(IsWindowVisible(app.Window()) || GetWindow(app.Window(), GW_OWNER));
  RECT client, frame;
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 484);
  EXPECT_EQ(client.bottom, 259);
  GetWindowRect(main, &frame);
  EXPECT_LE(std::abs((frame.left + frame.right) - GetSystemMetrics(SM_CXSCREEN)), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - GetSystemMetrics(SM_CYSCREEN)), 1);

  // In tab order: the pane, then the two hidden path boxes.
  const struct {
    const wchar_t* text;
    LONG style;
    int left, top, width, height;
  } controls[] = {
      {L"",
       WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
           ES_AUTOVSCROLL,
       1, 1, 480, 256},
      {L"Microsoft Office 2013 not found!", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, 8, 200, 465,
       25},
      {L"Microsoft Office 2016 not found!", WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL, 8, 232, 465,
       25},
  };
  HWND w = GetWindow(main, GW_CHILD);
  for (const auto& c : controls) {
    SCOPED_TRACE(e2e::Printable(c.text));
    ASSERT_TRUE(w);
    wchar_t cls[16] = L"";
    GetClassNameW(w, cls, 16);
    EXPECT_STREQ(cls, L"Edit");
    EXPECT_EQ(Text(w), c.text);
    EXPECT_EQ(GetWindowLongW(w, GWL_STYLE), c.style);
    EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE), WS_EX_CLIENTEDGE);
    EXPECT_EQ(Box(w, main), (std::vector<int>{c.left, c.top, c.width, c.height}));
    w = GetWindow(w, GW_HWNDNEXT);
  }
  EXPECT_FALSE(w) << "a control the design does not have";

  const HWND pane = frmMain.txtStatus.Hwnd();
  EXPECT_EQ(FontOf(pane), "MS Sans Serif -11 700 204 -> MS Sans Serif, bitmap");  // 8.25 points
  // A read-only EDIT asks its parent for colours as a static control does;
  // the brush's colour, as painted: StatusRunFillsThePane...
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(main, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(pane));
  EXPECT_EQ(GetBkColor(dc), 0x00D08410u);
  EXPECT_EQ(GetTextColor(dc), 0x00FFFFFFu);
  DeleteDC(dc);
}

TEST_F(MainFormTest, MenuBarIsFileExitThenHelpWebAbout) {
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
  ASSERT_TRUE(shell.lookup.patch.patched());
  SendMessageW(frmMain.Hwnd(), WM_COMMAND, GetMenuItemID(help, 0), 0);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(shell.calls[0].owner, frmMain.Hwnd());
  EXPECT_EQ(shell.calls[0].file, L"https://www.example.com/");
  EXPECT_FALSE(frmAbout.Loaded());
  SendMessageW(frmMain.Hwnd(), WM_COMMAND, GetMenuItemID(help, 1), 0);
  EXPECT_TRUE(frmAbout.Loaded());
  EXPECT_EQ(shell.calls.size(), 1u);
}

// The pane takes the keys when the window first shows, and again whenever
// the window comes back: after the about box, and after another window.
TEST_F(MainFormTest, PaneHasTheFocusWheneverTheWindowIsActive) {
  const HWND pane = frmMain.txtStatus.Hwnd();
  EXPECT_EQ(GetFocus(), pane) << "at start";
  SendMessageW(frmMain.Hwnd(), WM_COMMAND, MainForm::mnuAbout, 0);
  ASSERT_EQ(GetFocus(), frmAbout.cmdClose());
  frmAbout.Unload();
  EXPECT_EQ(GetFocus(), pane) << "after the about box";
  const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                     nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  ASSERT_EQ(GetActiveWindow(), other);
  SetForegroundWindow(frmMain.Hwnd());
  EXPECT_EQ(GetFocus(), pane) << "after another window";
  DestroyWindow(other);
}

TEST_F(MainFormTest, StatusRunFillsThePaneOnceAfterTheFirstTick) {
  const std::wstring both = L"Microsoft Office 2013 not found!\r\nMicrosoft Office 2016 not found!";
  EXPECT_TRUE(frmMain.Timer1.Enabled());
  EXPECT_EQ(frmMain.Timer1.Interval(), 1000u);
  ASSERT_TRUE(PumpUntil(app, [&] { return frmMain.txtStatus.Text() == both; }));
  EXPECT_FALSE(frmMain.Timer1.Enabled()) << "one-shot";
  DWORD start = 0, end = 1;
  SendMessageW(frmMain.txtStatus.Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 0u);
  // As painted: white text on blue, in a margin of the face colour.
  UpdateWindow(frmMain.Hwnd());
  const Shot pane(frmMain.txtStatus.Hwnd()), form(frmMain.Hwnd());
  EXPECT_EQ(pane.At(240, 200), RGB(16, 132, 208));
  bool white = false;
  for (int x = 0; x < 200; ++x) white = white || pane.At(x, 6) == RGB(255, 255, 255);
  EXPECT_TRUE(white) << "no white text on the first line";
  EXPECT_EQ(form.At(240, 258), GetSysColor(COLOR_BTNFACE));
}

// Inside a loop of the system's: the pane after Timer1's tick, dispatched
// there; then Esc ends the loop (twice, for a menu opened from the bar).
std::wstring g_after_tick;
void CALLBACK TickInsideTheLoop(HWND main, UINT, UINT_PTR id, DWORD) {
  KillTimer(main, id);
  SendMessageW(main, WM_TIMER, 1, 0);
  g_after_tick = Text(GetDlgItem(main, MainForm::idStatus));
  e2e::Press(VK_ESCAPE);
  e2e::Press(VK_ESCAPE);
}

// A tick while a menu is open or the window is moved does nothing: the run's
// pump would take the input that loop waits for. (What the next tick does:
// StatusRun, natively.)
TEST_F(MainFormTest, ATickInsideAMenuOrAMoveDoesNothing) {
  const HWND main = frmMain.Hwnd();
  KillTimer(main, frmMain.Timer1.Id());  // still armed, but its ticks come from the test
  const std::pair<const char*, std::function<void()>> loops[] = {
      {"menu bar", [] { e2e::Press('H', {VK_MENU}); }},
      {"system menu", [] { e2e::Press(VK_SPACE, {VK_MENU}); }},
      {"pane's context menu", [] { e2e::Press(VK_F10, {VK_SHIFT}); }},
      {"move", [&] { PostMessageW(main, WM_SYSCOMMAND, SC_MOVE, 0); }},
  };
  for (const auto& [name, enter] : loops) {
    g_after_tick = L"?";
    SetTimer(main, 99, 200, TickInsideTheLoop);
    enter();
    ASSERT_TRUE(PumpUntil(app, [] { return g_after_tick != L"?"; })) << name;
    EXPECT_EQ(g_after_tick, L"") << "the run started inside the " << name;
  }
}

// The EDIT's default limit would silently drop inserts past 30,000 characters;
// a box that takes less than it was given says so. A chunk written over a
// selection (the user's, during a status run) replaces it.
TEST_F(MainFormTest, PaneTakesMoreThanAHundredThousandCharactersAndReportsWhatItRefuses) {
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

// The pointers that the system asks for as the real mouse moves: the busy
// one over every window while it is set, the forms' own background round
// their controls included (the main window's margin, below the about box's
// panel).
TEST_F(MainFormTest, HourglassCoversEveryWindowWhileSet) {
  const HWND pane = frmMain.txtStatus.Hwnd(), main = frmMain.Hwnd();
  const HCURSOR ibeam = LoadCursorW(nullptr, IDC_IBEAM), wait = LoadCursorW(nullptr, IDC_WAIT),
                arrow = LoadCursorW(nullptr, IDC_ARROW);
  EXPECT_EQ(PointerOver(app, pane), ibeam);
  EXPECT_EQ(PointerOver(app, main, false, {482, 130}), arrow) << "right of the pane";
  app.SetMousePointer(forms::MousePointer::kHourglass);
  EXPECT_EQ(GetCursor(), wait) << "not before the mouse moves";
  EXPECT_EQ(PointerOver(app, pane), wait);
  EXPECT_EQ(PointerOver(app, main, false, {240, 258}), wait) << "below the pane";
  SendMessageW(main, WM_COMMAND, MainForm::mnuAbout, 0);
  const HWND link = GetDlgItem(frmAbout.Pic1(), AboutForm::idLink);
  EXPECT_EQ(PointerOver(app, link), wait) << "the busy pointer outranks the link's hand";
  EXPECT_EQ(PointerOver(app, frmAbout.Hwnd(), false, {50, 190}), wait) << "below the panel";
  app.SetMousePointer(forms::MousePointer::kDefault);
  EXPECT_EQ(GetCursor(), arrow) << "not before the mouse moves";
  EXPECT_EQ(PointerOver(app, link), frmAbout.LinkPointer());
  EXPECT_EQ(PointerOver(app, frmAbout.Hwnd(), false, {50, 190}), arrow) << "below the panel";
}

HGDIOBJ g_pane_font;
DWORD g_font_at_pane_destroy;
WNDPROC g_pane_proc;
LRESULT CALLBACK PaneProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_DESTROY) g_font_at_pane_destroy = GetObjectType(g_pane_font);
  return CallWindowProcW(g_pane_proc, w, m, wp, lp);
}

// File > Exit waiting before the first message is pumped: the status run
// never comes, so the child that the path box names never runs; the pane's
// font and brush outlive the pane and go with the form; the loop ends.
TEST_F(MainFormTest, ExitBeforeTheFirstTickStartsNoChildAndFreesThePanesFontAndBrushAfterIt) {
  const std::string ran = "C:\\brisvane-exit-ran.txt";
  DeleteFileA(ran.c_str());
  frmMain.txtPath2013.SetText(forms::Widen(ChildCommandLine("record_open", "\"" + ran + "\"")));
  ASSERT_TRUE(frmMain.Timer1.Enabled());
  HWND pane = frmMain.txtStatus.Hwnd();
  g_pane_font = reinterpret_cast<HGDIOBJ>(SendMessageW(pane, WM_GETFONT, 0, 0));
  g_pane_proc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaneProc)));
  HDC dc = CreateCompatibleDC(nullptr);
  auto brush = reinterpret_cast<HGDIOBJ>(SendMessageW(frmMain.Hwnd(), WM_CTLCOLORSTATIC,
                                                      reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(pane)));
  DeleteDC(dc);
  ASSERT_EQ(GetObjectType(g_pane_font), static_cast<DWORD>(OBJ_FONT));
  ASSERT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  g_font_at_pane_destroy = 0;
  PostMessageW(frmMain.Hwnd(), WM_COMMAND, GetMenuItemID(GetSubMenu(GetMenu(frmMain.Hwnd()), 0), 0),
               0);
  EXPECT_EQ(app.Run(), 0);
  EXPECT_EQ(GetFileAttributesA(ran.c_str()), INVALID_FILE_ATTRIBUTES) << "a status run started";
  EXPECT_EQ(g_font_at_pane_destroy, static_cast<DWORD>(OBJ_FONT)) << "freed while the pane had it";
  EXPECT_EQ(app.LoadedForms(), 0);
  EXPECT_EQ(forms::ResourceCount::Gdi(), gdi_);
  EXPECT_EQ(forms::ResourceCount::Icons(), icons_);
  EXPECT_EQ(GetObjectType(g_pane_font), 0u) << "font still alive";
  EXPECT_EQ(GetObjectType(brush), 0u) << "brush still alive";
  EXPECT_FALSE(IsWindow(pane));
}

}  // namespace
}  // namespace brisvane::test
