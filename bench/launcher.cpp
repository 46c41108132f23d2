// bench/run.sh's helper, run under Wine in the benchmark's prefix. It starts
// the programs itself, so the clock starts at CreateProcess and stops at the
// first poll that sees the main window visible; it then reads the memory
// counters the system keeps for the child.
//   launcher startup RUNS EXE_A CAPTION_A EXE_B CAPTION_B...
//     A, B, ... in turn, one warm-up each first; one line per run (ms).
//   launcher memory EXE CAPTION [PANE_ID PANE_END]
//     With a pane: waits until the child's control PANE_ID ends in PANE_END.
//     Prints the pane's length and the counters of GetProcessMemoryInfo.
// Every child is terminated once measured.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

double Now() {
  static LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
}

// A Unix path lives on Wine's Z: drive.
std::wstring WindowsPath(const wchar_t* path) {
  std::wstring out = path[0] == L'/' ? L"Z:" : L"";
  for (const wchar_t* p = path; *p; ++p) out += *p == L'/' ? L'\\' : *p;
  return out;
}

struct Search {
  DWORD pid;
  const wchar_t* caption;
  HWND found;
};

HWND VisibleWindow(DWORD pid, const wchar_t* caption) {
  Search s{pid, caption, nullptr};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t text[256];
        if (owner != s->pid || !IsWindowVisible(w)) return TRUE;
        if (GetWindowTextW(w, text, 256) && wcscmp(text, s->caption) == 0) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

class Child {
 public:
  explicit Child(const wchar_t* exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + WindowsPath(exe) + L"\"";
    started_ = Now();
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi_)) {
      std::fprintf(stderr, "cannot start %ls (error %lu)\n", exe, GetLastError());
      std::exit(1);
    }
  }
  ~Child() {
    TerminateProcess(pi_.hProcess, 0);
    WaitForSingleObject(pi_.hProcess, 10000);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // Milliseconds from CreateProcess to the window being visible.
  double WaitWindow(const wchar_t* caption, HWND* window = nullptr) {
    for (;;) {
      if (HWND w = VisibleWindow(pi_.dwProcessId, caption)) {
        double ms = Now() - started_;
        if (window) *window = w;
        return ms;
      }
      if (Now() - started_ > 60000 || WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) {
        std::fprintf(stderr, "no window '%ls'\n", caption);
        std::exit(1);
      }
      Sleep(1);
    }
  }
  HANDLE Process() const { return pi_.hProcess; }

 private:
  PROCESS_INFORMATION pi_{};
  double started_ = 0;
};

// 0 while the child is busy (blocked in a read, say).
size_t TextLength(HWND w) {
  DWORD_PTR n = 0;
  return SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 200, &n) ? n : 0;
}

std::wstring Text(HWND w, size_t length) {
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &got);
  text.resize(got);
  return text;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

int Startup(int runs, wchar_t** programs, int count) {
  for (int i = -1; i < runs; ++i) {
    for (int p = 0; p < count; ++p) {
      double ms;
      {
        Child child(programs[2 * p]);
        ms = child.WaitWindow(programs[2 * p + 1]);
      }
      if (i >= 0) std::printf("%c %.1f\n", 'A' + p, ms);
      Sleep(300);  // let the ended process's windows go before the next start
    }
  }
  return 0;
}

int Memory(const wchar_t* exe, const wchar_t* caption, int pane_id, const wchar_t* pane_end) {
  Child child(exe);
  HWND main = nullptr;
  child.WaitWindow(caption, &main);
  size_t pane_chars = 0;
  if (pane_id) {
    HWND pane = GetDlgItem(main, pane_id);
    double deadline = Now() + 120000;
    // Only the length while it grows: fetching 64 KB of text every poll would
    // cost the child memory of its own.
    size_t length = 0, seen = 0;
    double since = Now();
    std::wstring text;
    for (;;) {
      if ((length = TextLength(pane)) != seen) {
        seen = length;
        since = Now();
      } else if (length && Now() - since > 300) {
        if (EndsWith(text = Text(pane, length), pane_end)) break;
        since = Now();
      }
      if (Now() > deadline) {
        std::fprintf(stderr, "the pane never ended in '%ls'\n", pane_end);
        return 1;
      }
      Sleep(50);
    }
    pane_chars = text.size();
  }
  // The child has handled everything sent so far: its paint and settling.
  DWORD_PTR ignored;
  SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(child.Process(), &pmc, sizeof pmc)) {
    std::fprintf(stderr, "GetProcessMemoryInfo failed (error %lu)\n", GetLastError());
    return 1;
  }
  std::printf("pane_chars %zu peak_ws %zu ws %zu peak_pagefile %zu pagefile %zu\n", pane_chars,
              pmc.PeakWorkingSetSize, pmc.WorkingSetSize, pmc.PeakPagefileUsage, pmc.PagefileUsage);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // A window of our own keeps Wine's desktop process up between the children.
  CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"startup" && argc >= 5 && argc % 2 == 1) {
    return Startup(_wtoi(argv[2]), argv + 3, (argc - 3) / 2);
  }
  if (mode == L"memory" && argc == 4) return Memory(argv[2], argv[3], 0, L"");
  if (mode == L"memory" && argc == 6) return Memory(argv[2], argv[3], _wtoi(argv[4]), argv[5]);
  std::fprintf(stderr, "usage: see bench/launcher.cpp\n");
  return 2;
}
