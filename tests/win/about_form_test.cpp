// The about box in this process, opened by the main window's About command:
// what only this process can see (icons, pointers, fonts, GDI counts) and
// keys through the forms' own event pump.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "child.h"
#include "forms/fonts.h"
#include "forms/text.h"
#include "res/identity.h"
#include "support.h"

namespace brisvane::test {
namespace {

using forms::Px;

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

std::wstring Text(HWND w) {
  wchar_t text[256] = L"";
  GetWindowTextW(w, text, 256);
  return text;
}

LOGFONTW FontOf(HWND w) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof lf, &lf);
  return lf;
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

TEST_F(AboutBox, AboutTwiceGivesOneBoxOwnedByTheMainWindowAndCentredOnIt) {
  HWND first = About();
  ASSERT_TRUE(first);
  EXPECT_EQ(About(), first);
  int boxes = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM n) -> BOOL {
        if (IsWindowVisible(w) && Text(w) == L"About") ++*reinterpret_cast<int*>(n);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&boxes));
  EXPECT_EQ(boxes, 1);

  EXPECT_EQ(GetWindow(first, GW_OWNER), main_);
  RECT box, main;
  GetWindowRect(first, &box);
  GetWindowRect(main_, &main);
  EXPECT_LE(std::abs((box.left + box.right) - (main.left + main.right)), 1);
  EXPECT_LE(std::abs((box.top + box.bottom) - (main.top + main.bottom)), 1);

  EXPECT_EQ(Text(first), L"About");
  const LONG style = GetWindowLongW(first, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  RECT client;
  GetClientRect(first, &client);
  const int dpi = forms::ScreenDpi();
  EXPECT_EQ(client.right, Px(4920, dpi));
  EXPECT_EQ(client.bottom, Px(3405, dpi));
}

TEST_F(AboutBox, ControlsSitWhereTheDesignPutsThem) {
  ASSERT_TRUE(About());
  const int dpi = forms::ScreenDpi();
  HWND pic = frmAbout.Pic1(), box = frmAbout.Hwnd();
  struct Fixed {
    HWND w, in;
    std::wstring text;
    int left, top, width, height;
  };
  const Fixed fixed[] = {
      {Label(AboutForm::idTitle), pic, L"" BRISVANE_TITLE_PRODUCT, 240, 240, 4455, 255},
      {Label(AboutForm::idTitle2), pic, L"" BRISVANE_TITLE_EDITION, 240, 480, 4455, 255},
      {Label(AboutForm::idVerJP), pic, L"" BRISVANE_ABOUT_VERSION, 840, 960, 855, 255},
      {Label(AboutForm::idCopyright), pic, forms::Widen(BRISVANE_COPYRIGHT_LINE), 960, 1800, 3795,
       195},
      {pic, box, Text(pic), 0, 0, 6135, 2415},  // cut off at the right by the box
      {frmAbout.cmdClose(), box, L"&Close", 3120, 2640, 1575, 495},
  };
  for (const Fixed& f : fixed) {
    SCOPED_TRACE(forms::Narrow(f.text));
    ASSERT_TRUE(f.w);
    EXPECT_EQ(Text(f.w), f.text);
    RECT rc = RectIn(f.w, f.in);
    EXPECT_EQ(rc.left, Px(f.left, dpi));
    EXPECT_EQ(rc.top, Px(f.top, dpi));
    EXPECT_EQ(rc.right - rc.left, Px(f.width, dpi));
    EXPECT_EQ(rc.bottom - rc.top, Px(f.height, dpi));
  }
  RECT client;
  GetClientRect(box, &client);
  EXPECT_GT(Px(6135, dpi), client.right) << "the panel is cut off at the right";
  EXPECT_EQ(GetWindow(box, GW_CHILD), frmAbout.cmdClose()) << "first in tab order";

  // Sized to their text: the link keeps its right edge, the empty notice has no width.
  RECT version = RectIn(Label(AboutForm::idVersion), pic);
  EXPECT_EQ(Text(Label(AboutForm::idVersion)), L"Version:");
  EXPECT_EQ(version.left, Px(240, dpi));
  EXPECT_EQ(version.top, Px(960, dpi));
  RECT notice = RectIn(Label(AboutForm::idThis), pic);
  EXPECT_EQ(Text(Label(AboutForm::idThis)), L"");
  EXPECT_EQ(notice.right - notice.left, 0);
  EXPECT_EQ(notice.left, Px(240, dpi));
  HWND link = Label(AboutForm::idLink);
  RECT link_rc = RectIn(link, pic);
  EXPECT_EQ(Text(link), forms::Widen(BRISVANE_HOME_PAGE));
  EXPECT_EQ(link_rc.right, Px(2880 + 1845, dpi));
  EXPECT_EQ(link_rc.top, Px(2040, dpi));
  HDC dc = GetDC(link);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)));
  SIZE extent;
  const std::wstring url = Text(link);
  GetTextExtentPoint32W(dc, url.c_str(), static_cast<int>(url.size()), &extent);
  ReleaseDC(link, dc);
  EXPECT_EQ(link_rc.right - link_rc.left, extent.cx);
}

TEST_F(AboutBox, FontsAsDesigned) {
  ASSERT_TRUE(About());
  const int dpi = forms::ScreenDpi();
  struct Expected {
    int id;
    const wchar_t* face;
    double points;
    LONG weight;
    BYTE charset;
    bool underline;
  };
  const Expected expected[] = {
      {AboutForm::idTitle, L"Arial", 9.75, 700, 204, false},
      {AboutForm::idTitle2, L"Arial", 9.75, 700, 204, false},
      {AboutForm::idLink, L"MS Sans Serif", 8.25, 400, 204, true},
      {AboutForm::idVersion, L"MS Sans Serif", 8.25, 400, ANSI_CHARSET, false},
      {AboutForm::idCopyright, L"MS Sans Serif", 8.25, 400, ANSI_CHARSET, false},
      {AboutForm::idClose, L"MS Sans Serif", 8.25, 400, ANSI_CHARSET, false},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.id);
    HWND w = e.id == AboutForm::idClose ? frmAbout.cmdClose() : Label(e.id);
    LOGFONTW lf = FontOf(w);
    EXPECT_STREQ(lf.lfFaceName, e.face);
    EXPECT_EQ(lf.lfHeight, forms::FontHeight(e.points, dpi));
    EXPECT_EQ(lf.lfWeight, e.weight);
    EXPECT_EQ(lf.lfCharSet, e.charset);
    EXPECT_EQ(lf.lfUnderline != 0, e.underline);
  }
}

// Keys are posted to the focused control and go through DoEvents, the pump
// that also runs between capture chunks.
TEST_F(AboutBox, FocusStartsOnCloseAndKeysTakeTheFormsPath) {
  ASSERT_TRUE(About());
  EXPECT_EQ(GetFocus(), frmAbout.cmdClose());

  // A key other than Esc reaches the focused control as it was pressed.
  static WNDPROC original;
  static WPARAM seen;
  seen = 0;
  original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      frmAbout.cmdClose(), GWLP_WNDPROC,
      reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_KEYDOWN) seen = wp;
        return CallWindowProcW(original, w, m, wp, lp);
      })));
  for (WPARAM key : {WPARAM('A'), WPARAM(VK_F1), WPARAM(VK_DELETE), WPARAM('C')}) {
    seen = 0;
    PostMessageW(frmAbout.cmdClose(), WM_KEYDOWN, key, 1);
    EXPECT_TRUE(StaysOpen()) << key;
    EXPECT_EQ(seen, key);
  }

  PostMessageW(frmAbout.cmdClose(), WM_KEYDOWN, VK_TAB, 1);
  ASSERT_TRUE(PumpUntil(
      app, [this] { return GetFocus() == frmAbout.Pic1(); }, 2000));
  PostMessageW(frmAbout.Pic1(), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(Closed()) << "Esc from the panel";
}

// Each way of closing unloads it: its windows, fonts and hand pointer are
// gone, to the system too, the main window stays, and the next command
// builds it anew with the focus on Close.
TEST_F(AboutBox, CloseKeysUnloadIt) {
  struct Case {
    const char* name;
    UINT msg;
    WPARAM key;
  };
  const Case cases[] = {
      {"Esc", WM_KEYDOWN, VK_ESCAPE},
      {"Alt+Esc", WM_SYSKEYDOWN, VK_ESCAPE},
      {"Enter", WM_KEYDOWN, VK_RETURN},
      {"Alt+C", WM_SYSCHAR, 'c'},
      {"Space on Close", WM_KEYUP, VK_SPACE},
      {"the title bar's close button", WM_CLOSE, 0},
  };
  const long gdi = forms::ResourceCount::Gdi(), icons = forms::ResourceCount::Icons();
  for (const Case& c : cases) {
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
    // A button is pressed by the key going down and chosen as it comes up.
    if (c.msg == WM_KEYUP) PostMessageW(frmAbout.cmdClose(), WM_KEYDOWN, c.key, 1);
    const LPARAM lp = c.msg == WM_KEYDOWN ? 1 : c.msg == WM_KEYUP ? (1u | 3u << 30) : (1 | 1 << 29);
    PostMessageW(c.msg == WM_CLOSE ? box : frmAbout.cmdClose(), c.msg, c.key, lp);
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

TEST_F(AboutBox, LinkOpensTheHomePageOwnedByTheBoxOtherClicksDoNothing) {
  ShellRecorder shell;
  ASSERT_TRUE(shell.patch.patched()) << "GetProcAddress is not imported by name";
  HWND box = About();
  ASSERT_TRUE(box);

  auto click = [](HWND w) {
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  };
  for (int id : {int(AboutForm::idTitle), int(AboutForm::idTitle2), int(AboutForm::idVersion),
                 int(AboutForm::idVerJP), int(AboutForm::idCopyright)}) {
    click(Label(id));
    EXPECT_EQ(SendMessageW(Label(id), WM_NCHITTEST, 0, 0), HTTRANSPARENT) << id;
  }
  click(frmAbout.Pic1());
  EXPECT_TRUE(StaysOpen());
  EXPECT_TRUE(shell.calls.empty());

  click(Label(AboutForm::idLink));
  EXPECT_TRUE(StaysOpen());
  ASSERT_EQ(shell.calls.size(), 1u);
  char system[MAX_PATH] = "";
  GetSystemDirectoryA(system, MAX_PATH);
  EXPECT_EQ(CharLowerA(shell.module.data()), std::string(CharLowerA(system)) + "\\shell32.dll")
      << "shell32 from the system folder";
  const ShellCall& call = shell.calls[0];
  EXPECT_EQ(call.owner, box);
  EXPECT_EQ(call.verb, "Open");
  EXPECT_EQ(call.file, BRISVANE_HOME_PAGE);
  EXPECT_EQ(call.params, "");
  const std::string self = SelfPath();
  EXPECT_EQ(call.dir, self.substr(0, self.find_last_of('\\')));
  EXPECT_EQ(call.show, SW_SHOWNORMAL);
}

TEST_F(AboutBox, LinkPointerIsTheHandWithItsHotSpotOnTheFingertip) {
  ASSERT_TRUE(About());
  HCURSOR hand = frmAbout.LinkPointer();
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 16u);
  EXPECT_EQ(info.yHotspot, 16u);
  // Made at its full size: the mask's pixels are the design's, checked natively.
  BITMAP bm{};
  GetObjectW(info.hbmMask, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 32);
  EXPECT_EQ(bm.bmHeight, info.hbmColor ? 32 : 64);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);

  HWND pic = frmAbout.Pic1(), link = Label(AboutForm::idLink);
  SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), hand);
  SendMessageW(pic, WM_SETCURSOR, reinterpret_cast<WPARAM>(pic),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
  app.SetMousePointer(forms::MousePointer::kHourglass);
  SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT)) << "the busy pointer outranks the hand";
  app.SetMousePointer(forms::MousePointer::kDefault);
}

TEST_F(AboutBox, DesignIconUntilTheCommandGivesItAndTheApplicationWindowZZZ) {
  HWND owner = app.Window();
  const HICON main_big = IconOf(main_, ICON_BIG), main_small = IconOf(main_, ICON_SMALL);
  ASSERT_TRUE(main_big);

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
