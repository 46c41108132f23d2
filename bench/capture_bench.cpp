// Times the capture against the floor the EDIT control sets, under Wine.
//   capture_bench.exe [runs]            prints the table
//   capture_bench.exe --child BYTES     the child: writes BYTES of text
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frmMain.h"
#include "capture/capture_win.h"
#include "forms/fonts.h"

namespace {

using brisvane::CaptureTarget;
using brisvane::MainForm;

int Child(std::size_t bytes) {
  std::string line(78, 'x');
  line += "\r\n";
  std::string out;
  while (out.size() < bytes) out += line;
  out.resize(bytes);
  HANDLE h = GetStdHandle(STD_OUTPUT_HANDLE);
  // Uneven writes, as a script's lines come.
  for (std::size_t at = 0; at < out.size();) {
    const DWORD n = static_cast<DWORD>(std::min<std::size_t>(4000 + at % 3000, out.size() - at));
    DWORD written = 0;
    WriteFile(h, out.data() + at, n, &written, nullptr);
    at += n;
  }
  return 0;
}

std::string ChildLine(std::size_t bytes) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return "\"" + std::string(self) + "\" --child " + std::to_string(bytes);
}

// The status pane as the main window designs it, in a window of its own.
class Pane {
 public:
  Pane() {
    window_ = CreateWindowExW(0, L"STATIC", L"bench", WS_POPUP | WS_VISIBLE, 0, 0, 500, 320,
                              nullptr, nullptr, nullptr, nullptr);
    pane_.Create(window_, MainForm::idStatus, MainForm::kStatusDesign, 96);
    pane_.SetFont(forms::MakeFont(MainForm::kStatusFont, 96));
  }
  ~Pane() {
    DestroyWindow(window_);
    pane_.Destroyed();
  }
  HWND edit() const { return pane_.Hwnd(); }
  int Length() const { return GetWindowTextLengthW(pane_.Hwnd()); }

 private:
  HWND window_;
  forms::TextBox pane_;
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

class PaneTarget : public CaptureTarget {
 public:
  explicit PaneTarget(HWND edit) : edit_(edit) {}
  void PumpEvents() override { Pump(); }
  bool Gone() const override { return false; }
  void SelText(const std::wstring& chunk) override {
    SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(chunk.c_str()));
  }

 private:
  HWND edit_;
};

// The floor: the same child read by a bare loop; insert == nullptr drains.
void BareLoop(std::size_t bytes, HWND insert) {
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  CreatePipe(&read, &write, &sa, 0);
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  si.hStdOutput = si.hStdError = write;
  PROCESS_INFORMATION pi{};
  std::string line = ChildLine(bytes);
  CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
  CloseHandle(write);
  CloseHandle(pi.hThread);
  static char buffer[10241];
  static wchar_t wide[10241];
  const UINT cp = GetOEMCP();
  DWORD got = 0;
  for (;;) {
    Pump();
    if (!ReadFile(read, buffer, 10240, &got, nullptr)) break;
    if (insert) {
      const int n = MultiByteToWideChar(cp, 0, buffer, static_cast<int>(got), wide, 10240);
      wide[n] = L'\0';
      SendMessageW(insert, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide));
    }
  }
  CloseHandle(pi.hProcess);
  CloseHandle(read);
}

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::string(argv[1]) == "--child") return Child(std::stoul(argv[2]));
  const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("%-8s %12s %12s %12s %8s %8s\n", "output", "(a) capture", "(b) floor", "(c) drain",
              "(a)/(b)", "(a)/(c)");
  for (std::size_t bytes : {std::size_t{64} << 10, std::size_t{1} << 20}) {
    std::vector<double> a, b, c;
    for (int run = 0; run < runs; ++run) {
      // Each round starts with another of the three, so drift hits all alike.
      for (int k = 0; k < 3; ++k) {
        const int which = (run + k) % 3;
        Pane pane;
        const double t0 = Now();
        if (which == 0) {
          PaneTarget target(pane.edit());
          brisvane::CaptureConsoleOutput(ChildLine(bytes), target);
          if (static_cast<std::size_t>(pane.Length()) != bytes) std::printf("(a) lost text!\n");
        } else {
          BareLoop(bytes, which == 1 ? pane.edit() : nullptr);
        }
        (which == 0 ? a : which == 1 ? b : c).push_back(Now() - t0);
      }
    }
    const double ma = Median(a), mb = Median(b), mc = Median(c);
    std::printf("%-8s %10.1fms %10.1fms %10.1fms %8.2f %8.2f\n",
                bytes < (1u << 20) ? "64 KB" : "1 MB", ma * 1e3, mb * 1e3, mc * 1e3, ma / mb,
                ma / mc);
  }
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory))) {
    std::printf("peak working set of the bench process: %.1f MB (median of %d runs each)\n",
                static_cast<double>(memory.PeakWorkingSetSize) / (1 << 20), runs);
  }
  return 0;
}
