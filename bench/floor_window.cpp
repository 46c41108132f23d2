// The start-up floor for bench/run.sh: only the work the design obliges
// before the main window shows, done as plainly as Win32 allows. The
// product's own resources (manifest, icon groups), the common controls
// initialised as start-up does, a window of the main window's size with its
// menu bar, the bold multiline read-only pane, both window icons from "AAA".
// No application window, no probes, no forms layer.
#include <windows.h>
#include <commctrl.h>

#include "app/frmMain.h"
#include "forms/fonts.h"
#include "res/identity.h"

namespace {
LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using brisvane::MainForm;
  if (HMODULE comctl = LoadLibraryW(L"comctl32.dll")) {
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = reinterpret_cast<InitFn>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")));
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_USEREX_CLASSES};
    if (init) init(&icc);
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BrisvaneFloor";
  if (!RegisterClassExW(&wc)) return 1;

  HMENU bar = CreateMenu(), file = CreatePopupMenu(), help = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, MainForm::mnuExit, L"Exit");
  AppendMenuW(help, MF_STRING, MainForm::mnuWeb, L"Web...");
  AppendMenuW(help, MF_STRING, MainForm::mnuAbout, L"About...");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  RECT rc{0, 0, forms::Px(MainForm::kClientWidthTwips, 96),
          forms::Px(MainForm::kClientHeightTwips, 96)};
  AdjustWindowRectEx(&rc, style, TRUE, 0);
  HWND hwnd =
      CreateWindowExW(0, wc.lpszClassName, L"Floor window", style, CW_USEDEFAULT, CW_USEDEFAULT,
                      rc.right - rc.left, rc.bottom - rc.top, nullptr, bar, instance, nullptr);
  if (!hwnd) return 1;
  const forms::TextBox::Design& d = MainForm::kStatusDesign;
  HWND pane = CreateWindowExW(d.ex_style, L"EDIT", L"", WS_CHILD | WS_VISIBLE | d.style,
                              forms::Px(d.left, 96), forms::Px(d.top, 96), forms::Px(d.width, 96),
                              forms::Px(d.height, 96), hwnd, nullptr, instance, nullptr);
  LOGFONTW lf{};
  lf.lfHeight = forms::FontHeight(MainForm::kStatusFont.points, 96);
  lf.lfWeight = MainForm::kStatusFont.weight;
  lf.lfCharSet = MainForm::kStatusFont.charset;
  lstrcpynW(lf.lfFaceName, MainForm::kStatusFont.face, LF_FACESIZE);
  SendMessageW(pane, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFontIndirectW(&lf)), FALSE);
  for (auto [size, which] : {std::pair{SM_CXICON, ICON_BIG}, std::pair{SM_CXSMICON, ICON_SMALL}}) {
    const int cx = GetSystemMetrics(size), cy = GetSystemMetrics(size + 1);
    HANDLE icon =
        LoadImageA(instance, BRISVANE_NAME_OF(BRISVANE_ICON_MAIN), IMAGE_ICON, cx, cy, LR_SHARED);
    SendMessageW(hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
