#include "support.h"

#include <commctrl.h>

#include <chrono>
#include <thread>

#include "forms/fonts.h"
#include "forms/text.h"

namespace brisvane::test {

bool PumpUntil(forms::Application& app, const std::function<bool()>& done, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    app.DoEvents();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void DrainThreadQueue() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

RECT RectIn(HWND control, HWND container) {
  RECT rc;
  GetWindowRect(control, &rc);
  MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

HICON IconOf(HWND w, WPARAM which) {
  return reinterpret_cast<HICON>(SendMessageW(w, WM_GETICON, which, 0));
}

std::wstring Text(HWND w) {
  wchar_t text[256] = L"";
  GetWindowTextW(w, text, 256);
  return text;
}

std::string FontOf(HWND w) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
  LOGFONTW lf{};
  GetObjectW(font, sizeof lf, &lf);
  HDC dc = GetDC(w);
  const HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = L"";
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  return forms::Narrow(lf.lfFaceName) + " " + std::to_string(lf.lfHeight) + " " +
         std::to_string(lf.lfWeight) + " " + std::to_string(lf.lfCharSet) +
         (lf.lfUnderline ? " underlined" : "") + (lf.lfItalic ? " italic" : "") + " -> " +
         forms::Narrow(face) +
         (metrics.tmPitchAndFamily & (TMPF_TRUETYPE | TMPF_VECTOR) ? "" : ", bitmap");
}

SIZE TextExtent(HWND w) {
  const std::wstring text = Text(w);
  HDC dc = GetDC(w);
  const HGDIOBJ old =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(w, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(w, dc);
  return {extent.cx, metrics.tmHeight};
}

std::vector<int> Box(HWND w, HWND container) {
  const RECT rc = RectIn(w, container);
  return {rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
}

void InitCommonControls() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

PaneTarget::PaneTarget() {
  InitCommonControls();
  window_ = CreateWindowExW(0, L"STATIC", L"pane", WS_POPUP, 0, 0, 500, 300, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  pane.Create(window_, MainForm::idStatus, MainForm::kStatusDesign, 96);
  pane.SetFont(forms::MakeFont(MainForm::kStatusFont, 96));
  pane.SetColors(MainForm::kStatusBackColor, MainForm::kStatusForeColor);
}

PaneTarget::~PaneTarget() {
  DestroyWindow(window_);
  pane.Destroyed();
  DrainThreadQueue();
}

void PaneTarget::PumpEvents() {
  app_.DoEvents();
  if (on_pump) on_pump();
}

void PaneTarget::SelText(const std::wstring& chunk) {
  ++writes;
  pane.SetSelText(chunk);
  shown += chunk.size();
}

ImportPatch::ImportPatch(const char* dll, const char* name, void* to)
    : original_(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name))) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
       imp->Name && !slot_; ++imp) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
    for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
         thunk->u1.Function; ++thunk) {
      if (reinterpret_cast<void*>(thunk->u1.Function) == original_) {
        slot_ = reinterpret_cast<void**>(&thunk->u1.Function);
        break;
      }
    }
  }
  DWORD old;
  if (slot_ && VirtualProtect(slot_, sizeof(void*), PAGE_READWRITE, &old)) *slot_ = to;
}

ImportPatch::~ImportPatch() {
  if (slot_) *slot_ = original_;
}

namespace {
LookupPatch* g_lookup = nullptr;
ShellRecorder* g_recorder = nullptr;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR params,
                                    LPCWSTR dir, INT show) {
  const auto text = [](LPCWSTR s) { return std::wstring(s ? s : L"<null>"); };
  g_recorder->calls.push_back({owner, text(verb), text(file), text(params), text(dir), show});
  return reinterpret_cast<HINSTANCE>(33);
}
}  // namespace

LookupPatch::LookupPatch(const char* name, void* to)
    : patch("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&GetProcAddress)),
      name_(name),
      to_(to) {
  g_lookup = this;
}

LookupPatch::~LookupPatch() { g_lookup = nullptr; }

FARPROC WINAPI LookupPatch::GetProcAddress(HMODULE module, LPCSTR name) {
  if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && lstrcmpA(name, g_lookup->name_) == 0) {
    return reinterpret_cast<FARPROC>(g_lookup->to_);
  }
  return g_lookup->patch.original<decltype(&::GetProcAddress)>()(module, name);
}

ShellRecorder::ShellRecorder()
    : lookup("ShellExecuteW", reinterpret_cast<void*>(&RecordShellExecute)) {
  g_recorder = this;
}

ShellRecorder::~ShellRecorder() { g_recorder = nullptr; }

HCURSOR PointerOver(forms::Application& app, HWND w, bool click, POINT at) {
  RECT rc;
  GetWindowRect(w, &rc);
  POINT target{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  if (at.x >= 0) ClientToScreen(w, &(target = at));
  // Two moves, so that the mouse moves even when it is at the target already.
  for (const POINT to : {POINT{target.x - 1, target.y - 1}, target}) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(to.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
    in.mi.dy = MulDiv(to.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    // Handled once the mouse is there and its move has been dispatched.
    PumpUntil(
        app,
        [&] {
          POINT at;
          return GetCursorPos(&at) && at.x == to.x && at.y == to.y && !GetQueueStatus(QS_MOUSEMOVE);
        },
        2000);
  }
  if (click) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof in[0]);
    PumpUntil(
        app, [] { return !GetQueueStatus(QS_MOUSEBUTTON); }, 2000);
  }
  return GetCursor();
}

}  // namespace brisvane::test
