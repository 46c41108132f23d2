#include "about/seticon.h"

namespace brisvane {

void SetIcon(IconCalls& calls, WindowHandle hwnd, std::string icon_group, bool set_as_app_icon) {
  WindowHandle top = hwnd;
  if (set_as_app_icon) {
    for (WindowHandle current = hwnd; current != 0;) {
      WindowHandle owner = calls.GetOwner(current);
      if (owner == 0) break;
      top = current = owner;
    }
  }
  struct Pass {
    int cx, cy, which;
  };
  for (Pass pass :
       {Pass{kSmCxIcon, kSmCyIcon, kIconBig}, Pass{kSmCxSmIcon, kSmCySmIcon, kIconSmall}}) {
    int cx = calls.GetSystemMetric(pass.cx);
    int cy = calls.GetSystemMetric(pass.cy);
    IconHandle icon = calls.LoadSharedIcon(calls.Instance(), icon_group, cx, cy);
    if (set_as_app_icon) calls.SendSetIcon(top, pass.which, icon);
    calls.SendSetIcon(hwnd, pass.which, icon);
  }
}

}  // namespace brisvane
