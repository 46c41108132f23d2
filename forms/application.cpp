#include "forms/application.h"

#include <objbase.h>

#include "forms/failure.h"
#include "forms/system_library.h"

namespace forms {

namespace {
const wchar_t kAppClass[] = L"BrisvaneApplication";
}  // namespace

Application::Application(const wchar_t* title) : instance_(GetModuleHandleW(nullptr)) {
  // Before anything could load a DLL: the runtime is the first thing the
  // program builds.
  RestrictDllSearchToSystemFolder();
  SetReportTitle(title);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance_;
  wc.lpszClassName = kAppClass;
  // A second application in the same process (a test's) finds it registered.
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    ReportUnhandled("RegisterClassEx (application window) failed");
  }
  // A popup that is never shown: it owns the unowned forms and carries the
  // application's icons, like the runtime's own hidden window.
  window_ = CreateWindowExW(0, kAppClass, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_,
                            nullptr);
  if (!window_) ReportUnhandled("CreateWindowEx (application window) failed");
}

Application::~Application() {
  DestroyWindow(window_);
  if (com_entered_) {
    if (auto uninitialize = Export<decltype(&::CoUninitialize)>(ole32_, "CoUninitialize")) {
      uninitialize();
    }
  }
  if (ole32_) FreeLibrary(ole32_);
}

void Application::InitializeCom() {
  if (ole32_) return;
  ole32_ = LoadSystemLibrary(L"ole32.dll");
  if (!ole32_) return;
  const auto initialize = Export<decltype(&::CoInitializeEx)>(ole32_, "CoInitializeEx");
  com_entered_ = initialize &&
                 SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

bool Application::PreTranslate(MSG& msg) {
  for (const Modeless& m : modeless_) {
    if (msg.hwnd != m.hwnd && !IsChild(m.hwnd, msg.hwnd)) continue;
    const Modeless target = m;  // the handlers below may unload the form
    // With Alt held a key comes as WM_SYSKEYDOWN (Alt+Esc); the preview sees
    // it too, and what it leaves goes on to the dialog manager, so access
    // keys still work.
    if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && target.preview) {
      const int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) |
                        (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) | (GetKeyState(VK_MENU) < 0 ? 4 : 0);
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

bool Application::InSystemLoop() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  constexpr DWORD kLoops = GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE | GUI_INMOVESIZE;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & kLoops) != 0;
}

void Application::SetMousePointer(MousePointer pointer) {
  pointer_ = pointer;
  SetCursor(LoadCursorW(nullptr, pointer == MousePointer::kHourglass ? IDC_WAIT : IDC_ARROW));
}

void Application::AddModeless(HWND w, KeyPreview* preview) {
  for (Modeless& m : modeless_) {
    if (m.hwnd == w) {
      m.preview = preview;
      return;
    }
  }
  modeless_.push_back({w, preview});
}

void Application::RemoveModeless(HWND w) {
  for (auto it = modeless_.begin(); it != modeless_.end(); ++it) {
    if (it->hwnd == w) {
      modeless_.erase(it);
      return;
    }
  }
}

void Application::FormUnloaded() {
  if (--loaded_forms_ <= 0) {
    loaded_forms_ = 0;
    PostQuitMessage(0);
  }
}

}  // namespace forms
