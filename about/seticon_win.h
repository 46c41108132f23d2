// The window-icon routine on Windows.
#pragma once

#include <windows.h>

#include <string>

namespace brisvane {

// The icon routine with the real user32 calls (LoadImageA, LR_SHARED), the
// groups looked up in the module of instance.
void SetWindowIcons(HINSTANCE instance, HWND hwnd, const std::string& icon_group,
                    bool set_as_app_icon);

}  // namespace brisvane
