// Gives a window, and the window at the top of its owner chain, the large and
// small icons of a named icon group.
#pragma once

#include <cstdint>
#include <string>

namespace brisvane {

using WindowHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;

// The user32 calls SetIcon makes, in the order it makes them.
class IconCalls {
 public:
  virtual ~IconCalls() = default;
  virtual WindowHandle GetOwner(WindowHandle w) = 0;  // GetWindow(GW_OWNER)
  virtual int GetSystemMetric(int index) = 0;
  virtual std::uintptr_t Instance() = 0;
  // LoadImage(IMAGE_ICON, LR_SHARED) of a group by name; 0 when missing.
  virtual IconHandle LoadSharedIcon(std::uintptr_t instance, const std::string& name, int cx,
                                    int cy) = 0;
  virtual void SendSetIcon(WindowHandle w, int which, IconHandle icon) = 0;  // WM_SETICON
};

constexpr int kSmCxIcon = 11, kSmCyIcon = 12, kSmCxSmIcon = 49, kSmCySmIcon = 50;
constexpr int kIconSmall = 0, kIconBig = 1;

// Works on its own copy of the group's name, as the design has it.
void SetIcon(IconCalls& calls, WindowHandle hwnd, std::string icon_group,
             bool set_as_app_icon = true);

}  // namespace brisvane
