#include <windows.h>
#include <shellapi.h>

#include "app/shell.h"
#include "forms/raii.h"
#include "forms/system_library.h"
#include "forms/text.h"
#include "res/identity.h"

namespace brisvane {

void OpenHomePage(HWND owner) {
  // Wide and as long as it is: a folder that the ANSI code page cannot spell
  // (a user name in another script) or one past MAX_PATH would otherwise
  // reach the shell as a folder that does not exist.
  std::wstring folder = forms::SystemText<wchar_t>(
      [](wchar_t* b, DWORD n) { return GetModuleFileNameW(nullptr, b, n); });
  const std::wstring::size_type slash = folder.find_last_of(L'\\');
  folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
  // shell32 is loaded when the page is first asked for, not at start-up,
  // which it would slow by a good part. It stays loaded: what it started may
  // still run in it.
  const HMODULE shell32 = forms::LoadSystemLibrary(L"shell32.dll");
  if (!shell32) return;
  const auto execute = forms::Export<decltype(&::ShellExecuteW)>(shell32, "ShellExecuteW");
  if (execute) {
    execute(owner, L"Open", L"" BRISVANE_HOME_PAGE, L"", folder.c_str(), SW_SHOWNORMAL);
  }
}

bool ProbeOrdinaryFile(const std::string& path) {
  WIN32_FIND_DATAA found;
  const HANDLE first = FindFirstFileA(path.c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return false;
  const forms::UniqueFind find(first);
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  bool ordinary = false;
  do {
    ordinary = (found.dwFileAttributes & kNotOrdinary) == 0;
  } while (!ordinary && FindNextFileA(find.get(), &found));
  return ordinary;
}

}  // namespace brisvane
