// Windows' own DLLs that the program calls only now and then: loaded when
// first needed, not with the program, and by name of the export.
#pragma once

#include <windows.h>

namespace forms {

// From the system folder only; older systems without that search flag find
// these among the known DLLs, which never come from elsewhere.
inline HMODULE LoadSystemLibrary(const wchar_t* name) {
  const HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  return module ? module : LoadLibraryW(name);
}

// The export as a function pointer of type Fn, or null.
template <class Fn>
Fn Export(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace forms
