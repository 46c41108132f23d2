// The hidden application window, the event loops and the screen pointer.
#include "forms/forms.h"

#include "res/identity.h"

namespace forms {

namespace {
const wchar_t kAppClass[] = L"BrisvaneApplication";

LRESULT CALLBACK AppProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd, msg, wp, lp);
}
}  // namespace

void Fail(const char* what) {
  // Not snprintf: MinGW's pulls in a whole printf with floating point.
  DWORD error = GetLastError();
  throw Failure(std::string(what) + " failed (error " + std::to_string(error) + ")");
}

void ReportUnhandled(const char* what) {
  std::wstring text = L"Run-time error:\r\n\r\n" + Widen(what);
  MessageBoxW(nullptr, text.c_str(), Widen(BRISVANE_APP_TITLE).c_str(),
              MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(1);
}

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

int FontHeight(double points, int dpi) {
  return -static_cast<int>(points * dpi / 72.0 + 0.5);
}

UniqueFont MakeFont(const wchar_t* face, double points, int weight, BYTE charset,
                    bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = FontHeight(points, ScreenDpi());
  lf.lfWeight = weight;
  lf.lfCharSet = charset;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  UniqueFont font(CreateFontIndirectW(&lf));
  if (!font) Fail("CreateFontIndirect");
  return font;
}

std::wstring Widen(const std::string& ansi) {
  if (ansi.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

Application& Application::Get() {
  static Application app;
  return app;
}

Application::Application() : instance_(GetModuleHandleW(nullptr)) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = AppProc;
  wc.hInstance = instance_;
  wc.lpszClassName = kAppClass;
  RegisterClassExW(&wc);
  // A popup that is never shown: it owns the unowned forms and carries the
  // application's icons, like the runtime's own hidden window.
  window_ = CreateWindowExW(0, kAppClass, Widen(BRISVANE_APP_TITLE).c_str(), WS_POPUP, 0, 0, 0,
                            0, nullptr, nullptr, instance_, nullptr);
  if (!window_) ReportUnhandled("CreateWindowEx (application window) failed");
}

bool Application::PreTranslate(MSG& msg) {
  for (const Modeless& m : modeless_) {
    if (msg.hwnd != m.hwnd && !IsChild(m.hwnd, msg.hwnd)) continue;
    Modeless target = m;  // the handlers below may unload the form
    if (msg.message == WM_KEYDOWN && target.preview) {
      int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                  (GetKeyState(VK_MENU) < 0 ? 4 : 0);
      if (target.preview->PreviewKeyDown(msg.wParam, shift)) return true;
      if (!IsWindow(target.hwnd)) return true;
    }
    return IsDialogMessageW(target.hwnd, &msg) != FALSE;
  }
  return false;
}

int Application::Run() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

void Application::DoEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Not ours to swallow: put it back for the main loop and stop pumping.
      quit_seen_ = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Application::SetMousePointer(int pointer) {
  pointer_ = pointer;
  SetCursor(LoadCursorW(nullptr, pointer == 11 ? IDC_WAIT : IDC_ARROW));
}

void Application::AddModeless(HWND w, KeyPreview* preview) {
  for (Modeless& m : modeless_) {
    if (m.hwnd == w) { m.preview = preview; return; }
  }
  modeless_.push_back({w, preview});
}

void Application::RemoveModeless(HWND w) {
  for (auto it = modeless_.begin(); it != modeless_.end(); ++it) {
    if (it->hwnd == w) { modeless_.erase(it); return; }
  }
}

void Application::FormUnloaded() {
  if (--loaded_forms_ <= 0) {
    loaded_forms_ = 0;
    PostQuitMessage(0);
  }
}

}  // namespace forms
