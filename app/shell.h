// The two places where the program meets the shell and the file system.
#pragma once

#include <windows.h>

#include <string>

namespace brisvane {

// The shell's "Open" on the maker's home page, owned by owner.
void OpenHomePage(HWND owner);

// True when path names an ordinary file: not hidden, not system, no folder.
bool ProbeOrdinaryFile(const std::string& path);

}  // namespace brisvane
