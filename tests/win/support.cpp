#include "support.h"

#include <commctrl.h>

#include <chrono>
#include <thread>

#include "forms/fonts.h"

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

ImportPatch::ImportPatch(const char* name, void* to)
    : original_(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), name))) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
       imp->Name && !slot_; ++imp) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + imp->Name), "kernel32.dll") != 0) continue;
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

ShellRecorder* g_recorder = nullptr;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR params, LPCSTR dir,
                                    INT show) {
  const auto text = [](LPCSTR s) { return std::string(s ? s : "<null>"); };
  g_recorder->calls.push_back({owner, text(verb), text(file), text(params), text(dir), show});
  return reinterpret_cast<HINSTANCE>(33);
}

FARPROC WINAPI RecordingGetProcAddress(HMODULE module, LPCSTR name) {
  if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) && lstrcmpA(name, "ShellExecuteA") == 0) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, MAX_PATH);
    g_recorder->module = path;
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&RecordShellExecute));
  }
  return g_recorder->patch.original<decltype(&GetProcAddress)>()(module, name);
}

}  // namespace

ShellRecorder::ShellRecorder()
    : patch("GetProcAddress", reinterpret_cast<void*>(&RecordingGetProcAddress)) {
  g_recorder = this;
}

ShellRecorder::~ShellRecorder() { g_recorder = nullptr; }

}  // namespace brisvane::test
