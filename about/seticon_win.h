#pragma once

#include <windows.h>

#include <string>

namespace brisvane {

// The icon routine with the real user32 calls (LoadImageA, LR_SHARED).
void SetWindowIcons(HWND hwnd, const std::string& sIconResName, bool bSetAsAppIcon);

}  // namespace brisvane
