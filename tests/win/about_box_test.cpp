// The about box in this process: its design read back from the live windows
// and their pixels (typed from the design, 15 twips a pixel), icons, GDI
// counts, keys and clicks through the forms' own event pump.
#include <windows.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "child.h"
#include "forms/text.h"
#include "harness.h"
#include "support.h"

namespace brisvane::test {
namespace {

SIZE IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {0, 0};
  BITMAP bm{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  SIZE size{bm.bmWidth, info.hbmColor ? bm.bmHeight : bm.bmHeight / 2};
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return size;
}

class AboutBox : public ProgramTest {
 protected:
  void SetUp() override {
    frmMain.Show();
    main_ = frmMain.Hwnd();
    ASSERT_TRUE(main_);
  }
  HWND About() {
    SendMessageW(main_, WM_COMMAND, MainForm::mnuAbout, 0);
    app.DoEvents();
    return frmAbout.Hwnd();
  }
  HWND Label(int id) { return GetDlgItem(frmAbout.Pic1(), id); }
  bool Closed() {
    return PumpUntil(
        app, [this] { return !frmAbout.Loaded(); }, 2000);
  }
  // The key or click was meant to change nothing: the box is still there
  // once everything it caused has been handled.
  bool StaysOpen() {
    app.DoEvents();
    return frmAbout.Loaded();
  }

  HWND main_ = nullptr;
};

TEST_F(AboutBox, WindowAndControlsAsDesigned) {
  const DistinctSystemColors scheme;
  // Off the screen's centre, where the box would stand anyway.
  SetWindowPos(main_, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const HWND box = About();
  ASSERT_TRUE(box);
  EXPECT_EQ(About(), box) << "a second box";
  EXPECT_EQ(GetWindow(box, GW_OWNER), main_);
  RECT frame, main;
  GetWindowRect(box, &frame);
  GetWindowRect(main_, &main);
  EXPECT_LE(std::abs((frame.left + frame.right) - (main.left + main.right)), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - (main.top + main.bottom)), 1);
  EXPECT_EQ(Text(box), L"About");
  EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & kFrameStyles, WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(GetWindowLongW(box, GWL_EXSTYLE), WS_EX_WINDOWEDGE);
  RECT client;
  GetClientRect(box, &client);
  EXPECT_EQ(client.right, 328);
  EXPECT_EQ(client.bottom, 227);

  // In tab order: Close, Pic1, then the labels inside Pic1. A label that
  // sizes itself to its text keeps the edge it is aligned to.
  const HWND pic = frmAbout.Pic1();
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), link = GetSysColor(COLOR_HIGHLIGHT),
                 window = GetSysColor(COLOR_WINDOW);
  const LONG label = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW;
  const char *sans = "MS Sans Serif -11 400 0 -> MS Sans Serif, bitmap",
             *arial = "Arial -13 700 204 -> Arial";
  const struct {
    HWND w;
    const wchar_t *cls, *text;
    LONG style;
    int left, top, width, height;
    bool auto_size, right;
    const char* font;
    COLORREF color;
    LPCWSTR pointer;  // null: the link's hand
  } controls[] = {
      {frmAbout.cmdClose(), L"Button", L"&Close",
       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 208, 176, 105, 33, false, false, sans,
       0, IDC_ARROW},
      {pic, L"BrisvanePicture", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 409, 161, false,
       false, nullptr, 0, IDC_ARROW},
      {Label(AboutForm::idTitle), L"Static", L"Brisvane ", label, 16, 16, 297, 17, false, false,
       arial, text, IDC_ARROW},
      {Label(AboutForm::idVersion), L"Static", L"Version:", label, 16, 64, 38, 13, true, false,
       sans, text, IDC_ARROW},
      {Label(AboutForm::idThis), L"Static", L"", label, 16, 88, 249, 13, true, false, sans, 0,
       nullptr},
      {Label(AboutForm::idCopyright), L"Static", L"Copyright (C) 2026 Quillhaven Softworks", label,
       64, 120, 253, 13, false, true, sans, text, IDC_ARROW},
      {Label(AboutForm::idLink), L"Static", L"https://www.example.com/", label | SS_NOTIFY, 192,
       136, 123, 13, true, true, "MS Sans Serif -11 400 204 underlined -> MS Sans Serif, bitmap",
       link, nullptr},
      {Label(AboutForm::idVerJP), L"Static", L"1.1", label, 56, 64, 57, 17, false, false, sans,
       text, IDC_ARROW},
      {Label(AboutForm::idTitle2), L"Static", L"[Office 2013 and 2016 Edition: Last 5 Digits]",
       label, 16, 32, 297, 17, false, false, arial, text, IDC_ARROW},
  };
  UpdateWindow(box);
  const Shot panel(pic);
  std::vector<HWND> order;
  for (HWND w = GetWindow(box, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) order.push_back(w);
  for (HWND w = GetWindow(pic, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) order.push_back(w);
  ASSERT_EQ(order.size(), std::size(controls));
  for (std::size_t i = 0; i < order.size(); ++i) {
    const auto& c = controls[i];
    SCOPED_TRACE(e2e::Printable(c.text) + " (tab index " + std::to_string(i) + ")");
    ASSERT_EQ(order[i], c.w);
    wchar_t cls[32] = L"";
    GetClassNameW(c.w, cls, 32);
    EXPECT_STREQ(cls, c.cls);
    EXPECT_EQ(Text(c.w), c.text);
    EXPECT_EQ(GetWindowLongW(c.w, GWL_STYLE), c.style);
    EXPECT_EQ(GetWindowLongW(c.w, GWL_EXSTYLE), 0);
    EXPECT_EQ(c.font ? FontOf(c.w) : "", c.font ? c.font : "");
    const SIZE extent = TextExtent(c.w);
    const bool fit = c.auto_size;
    EXPECT_EQ(Box(c.w, i < 2 ? box : pic),
              (std::vector<int>{fit && c.right ? c.left + c.width - extent.cx : c.left, c.top,
                                fit ? extent.cx : c.width, fit ? extent.cy : c.height}));
    const RECT rc = RectIn(c.w, i < 2 ? box : pic);
    if (rc.right > rc.left) {
      EXPECT_EQ(PointerOver(app, c.w),
                c.pointer ? LoadCursorW(nullptr, c.pointer) : frmAbout.LinkPointer());
    }
    if (i < 2) continue;
    // Where a label stands, the panel's colour and the label's ink, in its
    // colour, at the edge it is aligned to; no background of its own.
    std::set<COLORREF> ink;
    int first = rc.right, last = rc.left;
    for (int y = rc.top; y < rc.bottom; ++y) {
      for (int x = rc.left; x < rc.right; ++x) {
        if (panel.At(x, y) == window) continue;
        ink.insert(panel.At(x, y));
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
    EXPECT_EQ(ink.count(c.color), c.text[0] ? 1u : 0u) << "not drawn in its colour";
    EXPECT_LE(c.text[0] ? (c.right ? rc.right - 1 - last : first - rc.left) : 0, 1)
        << "not aligned";
  }
  ICONINFO hand{};  // the hand's hot spot at the fingertip, the image's centre
  ASSERT_TRUE(GetIconInfo(frmAbout.LinkPointer(), &hand));
  EXPECT_EQ(std::vector<DWORD>({!hand.fIcon, hand.xHotspot, hand.yHotspot}),
            std::vector<DWORD>({1, 16, 16}));
  DeleteObject(hand.hbmMask);
  if (hand.hbmColor) DeleteObject(hand.hbmColor);
  // Line3 on the panel's last row, grey across the whole width; below it the
  // form's face colour.
  const Shot form(box);
  for (int x : {0, 200, 327}) {
    EXPECT_EQ(panel.At(x, 159), window) << x;
    EXPECT_EQ(panel.At(x, 160), RGB(128, 128, 128)) << x;
    EXPECT_EQ(form.At(x, 161), GetSysColor(COLOR_BTNFACE)) << x;
  }
}

// Keys are posted to the focused control and go through DoEvents, the pump
// that also runs between capture chunks. A key other than Esc reaches the
// focused control as it was pressed: on Close, and on the panel once the
// focus has moved there.
HWND g_seen_by;
WPARAM g_seen;
std::map<HWND, WNDPROC> g_procs;
LRESULT CALLBACK SeeingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_KEYDOWN) g_seen_by = w, g_seen = wp;
  return CallWindowProcW(g_procs[w], w, m, wp, lp);
}

TEST_F(AboutBox, KeysReachTheFocusedControlWhichTheBoxKeepsAndEscClosesFromAnyOfThem) {
  const HWND box = About();
  EXPECT_EQ(GetFocus(), frmAbout.cmdClose());
  for (const HWND target : {frmAbout.cmdClose(), frmAbout.Pic1()}) {
    g_procs[target] = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SeeingProc)));
    if (target == frmAbout.Pic1()) {
      PostMessageW(frmAbout.cmdClose(), WM_KEYDOWN, VK_TAB, 1);
      ASSERT_TRUE(PumpUntil(
          app, [&] { return GetFocus() == target; }, 2000));
    }
    for (WPARAM key : {WPARAM('A'), WPARAM(VK_F1), WPARAM(VK_DELETE), WPARAM('C')}) {
      g_seen_by = nullptr;
      PostMessageW(target, WM_KEYDOWN, key, 1);
      EXPECT_TRUE(StaysOpen()) << key;
      EXPECT_EQ(g_seen_by, target);
      EXPECT_EQ(g_seen, key);
    }
  }
  // About... again, with the main window active, brings the same box to the
  // front, its focus where the user left it.
  SetForegroundWindow(main_);
  ASSERT_EQ(GetActiveWindow(), main_);
  EXPECT_EQ(About(), box) << "a second box";
  EXPECT_EQ(GetActiveWindow(), box);
  EXPECT_EQ(GetFocus(), frmAbout.Pic1());
  PostMessageW(frmAbout.Pic1(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(Closed()) << "Esc from the panel";
  g_procs.clear();
}

// Each way of closing, with the real keyboard and mouse, unloads it: its
// windows, fonts and hand pointer are gone, to the system too, the main
// window stays, and the next command builds it anew with the focus on Close.
// With Alt held a key comes as WM_SYSKEYDOWN, with Shift held Esc is still Esc.
TEST_F(AboutBox, CloseKeysUnloadIt) {
  const struct {
    const char* name;
    WORD key;  // 0: the title bar's close button
    std::vector<WORD> held;
  } cases[] = {
      {"Esc", VK_ESCAPE, {}},
      {"Shift+Esc", VK_ESCAPE, {VK_SHIFT}},
      {"Alt+Esc", VK_ESCAPE, {VK_MENU}},
      {"Enter", VK_RETURN, {}},
      {"Alt+C", 'C', {VK_MENU}},
      {"Space on Close", VK_SPACE, {}},
      {"the title bar's close button", 0, {}},
  };
  const long gdi = forms::ResourceCount::Gdi(), icons = forms::ResourceCount::Icons();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const HWND box = About(), pic = frmAbout.Pic1();
    ASSERT_TRUE(box);
    EXPECT_EQ(GetFocus(), frmAbout.cmdClose());
    EXPECT_GT(forms::ResourceCount::Gdi(), gdi);
    const HGDIOBJ fonts[] = {
        reinterpret_cast<HGDIOBJ>(SendMessageW(Label(AboutForm::idTitle), WM_GETFONT, 0, 0)),
        reinterpret_cast<HGDIOBJ>(SendMessageW(Label(AboutForm::idLink), WM_GETFONT, 0, 0)),
        reinterpret_cast<HGDIOBJ>(SendMessageW(frmAbout.cmdClose(), WM_GETFONT, 0, 0))};
    for (HGDIOBJ font : fonts) ASSERT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
    const HCURSOR hand = frmAbout.LinkPointer();
    ASSERT_TRUE(hand);
    if (c.key) {
      e2e::Press(c.key, c.held);
    } else {
      PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    ASSERT_TRUE(Closed());
    EXPECT_FALSE(IsWindow(box) || IsWindow(pic));
    EXPECT_TRUE(IsWindow(main_));
    EXPECT_EQ(forms::ResourceCount::Gdi(), gdi);
    EXPECT_EQ(forms::ResourceCount::Icons(), icons);
    for (HGDIOBJ font : fonts) EXPECT_EQ(GetObjectType(font), 0u) << "font still alive";
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(hand, &info)) << "hand pointer still alive";
  }
}

// The main window stays usable under the box; its close button takes the
// box along, and the program's loop ends as after File > Exit.
TEST_F(AboutBox, TheMainWindowsCloseButtonTakesTheBoxAlong) {
  const HWND box = About();
  EXPECT_TRUE(IsWindowEnabled(main_));
  PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(app.Run(), 0);
  EXPECT_FALSE(IsWindow(box) || IsWindow(main_));
}

// Clicked with the real mouse: the link opens the home page, owned by the
// box, which stays open; a click anywhere else does nothing.
TEST_F(AboutBox, LinkOpensTheHomePageOwnedByTheBoxOtherClicksDoNothing) {
  ShellRecorder shell;
  ASSERT_TRUE(shell.lookup.patch.patched()) << "GetProcAddress is not imported by name";
  HWND box = About();
  ASSERT_TRUE(box);
  for (int id : {int(AboutForm::idTitle), int(AboutForm::idTitle2), int(AboutForm::idVersion),
                 int(AboutForm::idVerJP), int(AboutForm::idCopyright), int(AboutForm::idPic1)}) {
    PointerOver(app, id == AboutForm::idPic1 ? frmAbout.Pic1() : Label(id), true);
  }
  EXPECT_TRUE(StaysOpen());
  EXPECT_TRUE(shell.calls.empty());

  PointerOver(app, Label(AboutForm::idLink), true);
  EXPECT_TRUE(StaysOpen());
  ASSERT_EQ(shell.calls.size(), 1u);
  const ShellCall& call = shell.calls[0];
  EXPECT_EQ(call.owner, box);
  EXPECT_EQ(call.verb, L"Open");
  EXPECT_EQ(call.file, L"https://www.example.com/");
  EXPECT_EQ(call.params, L"");  // the folder: Shell.HomePageOpensInTheProgramsFolder...
  EXPECT_EQ(call.show, SW_SHOWNORMAL);
}

// The main window and the application window carry the shared "AAA" icons
// from loading; the box its design icon until the command gives it, and the
// application window, "ZZZ".
TEST_F(AboutBox, DesignIconUntilTheCommandGivesItAndTheApplicationWindowZZZ) {
  HWND owner = app.Window();
  const HICON main_big = IconOf(main_, ICON_BIG), main_small = IconOf(main_, ICON_SMALL);
  const auto aaa = [](int cx, int cy) {
    return LoadImageA(GetModuleHandleW(nullptr), "AAA", IMAGE_ICON, GetSystemMetrics(cx),
                      GetSystemMetrics(cy), LR_SHARED);
  };
  ASSERT_TRUE(main_big && main_small);
  EXPECT_EQ(main_big, aaa(SM_CXICON, SM_CYICON));
  EXPECT_EQ(main_small, aaa(SM_CXSMICON, SM_CYSMICON));
  EXPECT_EQ(IconOf(owner, ICON_BIG), main_big);
  EXPECT_EQ(IconOf(owner, ICON_SMALL), main_small);

  frmAbout.Show(main_);  // the form alone, without the command's SetIcon
  HICON design = IconOf(frmAbout.Hwnd(), ICON_BIG);
  ASSERT_TRUE(design);
  EXPECT_EQ(IconOf(frmAbout.Hwnd(), ICON_SMALL), design);
  EXPECT_EQ(IconSize(design).cx, 16);
  EXPECT_EQ(IconSize(design).cy, 16);

  HWND box = About();
  const HICON zzz_big = IconOf(box, ICON_BIG), zzz_small = IconOf(box, ICON_SMALL);
  EXPECT_TRUE(zzz_big);
  EXPECT_NE(zzz_big, design);
  EXPECT_EQ(zzz_big,
            reinterpret_cast<HICON>(LoadImageA(GetModuleHandleW(nullptr), "ZZZ", IMAGE_ICON, 0, 0,
                                               LR_SHARED | LR_DEFAULTSIZE)));
  EXPECT_EQ(IconSize(zzz_big).cx, GetSystemMetrics(SM_CXICON)) << "the 16 x 16 image scaled up";
  EXPECT_EQ(IconOf(owner, ICON_BIG), zzz_big);
  EXPECT_EQ(IconOf(owner, ICON_SMALL), zzz_small);
  EXPECT_EQ(IconOf(main_, ICON_BIG), main_big);
  EXPECT_EQ(IconOf(main_, ICON_SMALL), main_small);

  frmAbout.Unload();
  EXPECT_EQ(IconOf(owner, ICON_BIG), zzz_big) << "the application window keeps ZZZ";
  EXPECT_EQ(IconOf(owner, ICON_SMALL), zzz_small);
  EXPECT_EQ(IconOf(main_, ICON_BIG), main_big);
}

}  // namespace
}  // namespace brisvane::test
