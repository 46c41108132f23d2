// The running program's status pane, for the scripts that take its picture.
//   pane_text.exe wait [SECONDS]   waits until the status run is over and
//                                  prints the pane's text in UTF-8 (default 120 s)
//   pane_text.exe close            closes the main window
// The run is over once the pane ends with the Office 2016 line, which the
// run writes last when Office 2016 is not found.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/frmMain.h"
#include "app/probe.h"
#include "res/identity.h"

namespace {

std::wstring Text(HWND w) {
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &n)) return L"";
  std::wstring text(n + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                      5000, &got);
  text.resize(got);
  return text;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "close") {
    HWND main = FindWindowW(nullptr, L"" BRISVANE_MAIN_CAPTION);
    return main && PostMessageW(main, WM_CLOSE, 0, 0) ? 0 : 1;
  }
  if (mode != "wait") {
    std::fprintf(stderr, "usage: pane_text.exe wait [SECONDS] | close\n");
    return 2;
  }
  const DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 120;
  const std::string last(brisvane::kNotFound2016);
  const std::wstring end(last.begin(), last.end());
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < seconds * 1000) {
    if (HWND main = FindWindowW(nullptr, L"" BRISVANE_MAIN_CAPTION)) {
      const std::wstring text = Text(GetDlgItem(main, brisvane::MainForm::idStatus));
      if (EndsWith(text, end)) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
        std::string utf8(n, '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), n,
                            nullptr, nullptr);
        _setmode(_fileno(stdout), _O_BINARY);  // the pane's own line ends
        std::fwrite(utf8.data(), 1, utf8.size(), stdout);
        return 0;
      }
    }
    Sleep(100);
  }
  std::fprintf(stderr, "pane_text: no finished status run within %lu s\n", seconds);
  return 1;
}
