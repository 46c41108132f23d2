// Windows' own DLLs that the program calls only now and then: loaded when
// first needed, not with the program, and by name of the export.
#pragma once

#include <windows.h>

namespace forms {

// From the system folder only. Only a system that does not know the search
// flag (Windows 7 without its update) gets the plain load, which finds these
// among the known DLLs, never elsewhere; any other failure stands.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
  const HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  return LoadLibraryW(name);
}

// The export as a pointer of the declared function's type, Fn being
// decltype(&::Function), so that the compiler checks every call; or null.
template <class Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Every DLL that the process loads by bare name from now on, its own and
// those that Windows loads on its behalf (the shell's, say), comes from the
// system folder, never from the folder the program was started from, such
// as a Downloads folder full of other files. Looked up, so that a system
// without the function (Windows 7 without its update) starts all the same.
inline void RestrictDllSearchToSystemFolder() {
  if (const auto restrict_search = Export<decltype(&::SetDefaultDllDirectories)>(
          GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")) {
    restrict_search(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

}  // namespace forms
