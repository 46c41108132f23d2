#include "about/seticon_win.h"

#include "about/seticon.h"
#include "forms/forms.h"

namespace brisvane {

namespace {
class User32IconCalls : public IconCalls {
 public:
  WindowHandle GetOwner(WindowHandle w) override {
    return reinterpret_cast<WindowHandle>(GetWindow(reinterpret_cast<HWND>(w), GW_OWNER));
  }
  int GetSystemMetric(int index) override { return GetSystemMetrics(index); }
  std::uintptr_t Instance() override {
    return reinterpret_cast<std::uintptr_t>(forms::Application::Get().Instance());
  }
  IconHandle LoadSharedIcon(std::uintptr_t instance, const std::string& name, int cx,
                            int cy) override {
    // Shared: the system owns the handle; nobody destroys it.
    return reinterpret_cast<IconHandle>(LoadImageA(reinterpret_cast<HINSTANCE>(instance),
                                                   name.c_str(), IMAGE_ICON, cx, cy, LR_SHARED));
  }
  void SendSetIcon(WindowHandle w, int which, IconHandle icon) override {
    SendMessageA(reinterpret_cast<HWND>(w), WM_SETICON, static_cast<WPARAM>(which),
                 static_cast<LPARAM>(icon));
  }
};
}  // namespace

void SetWindowIcons(HWND hwnd, const std::string& sIconResName, bool bSetAsAppIcon) {
  User32IconCalls calls;
  SetIcon(calls, reinterpret_cast<WindowHandle>(hwnd), sIconResName, bSetAsAppIcon);
}

}  // namespace brisvane
