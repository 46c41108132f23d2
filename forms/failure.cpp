#include "forms/failure.h"

#include <windows.h>

namespace forms {

namespace {
// The title outlives every window; a fixed buffer, so that the report needs
// nothing that could fail.
wchar_t g_report_title[128] = L"";
// Set while the report shows. The program still paints and ticks under the
// box, so a second failure can come; it ends the program rather than stack
// a box on the first.
LONG g_reporting = 0;
}  // namespace

void Fail(const char* what) {
  // Not snprintf: MinGW's pulls in a whole printf with floating point.
  const DWORD error = GetLastError();
  throw Failure(std::string(what) + " failed (error " + std::to_string(error) + ")");
}

void SetReportTitle(const wchar_t* title) noexcept {
  lstrcpynW(g_report_title, title, ARRAYSIZE(g_report_title));
}

void ReportUnhandled(const char* what) noexcept {
  if (InterlockedExchange(&g_reporting, 1) != 0) ExitProcess(1);
  wchar_t text[1024] = L"Run-time error:\r\n\r\n";
  const int prefix = lstrlenW(text);
  // No more bytes than characters fit: a byte never makes more than one.
  const int room = ARRAYSIZE(text) - prefix - 1;
  const int bytes = what ? lstrlenA(what) : 0;
  const int n =
      MultiByteToWideChar(CP_ACP, 0, what, bytes < room ? bytes : room, text + prefix, room);
  text[prefix + (n > 0 ? n : 0)] = L'\0';
  // To the front: every window of the program is disabled under it, so the
  // user must not find it behind another program's.
  MessageBoxW(nullptr, text, g_report_title,
              MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
  // Ends here, inside a window procedure, with windows still alive: the forms
  // belong to wWinMain's frame, and nothing static holds a window, so no
  // destructor that runs now can reach one.
  ExitProcess(1);
}

}  // namespace forms
