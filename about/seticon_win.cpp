#include "about/seticon_win.h"

#include "about/seticon.h"

namespace brisvane {

namespace {
class User32IconCalls : public IconCalls {
 public:
  explicit User32IconCalls(HINSTANCE instance) : instance_(instance) {}
  WindowHandle GetOwner(WindowHandle w) override {
    return reinterpret_cast<WindowHandle>(GetWindow(reinterpret_cast<HWND>(w), GW_OWNER));
  }
  int GetSystemMetric(int index) override { return GetSystemMetrics(index); }
  std::uintptr_t Instance() override { return reinterpret_cast<std::uintptr_t>(instance_); }
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

 private:
  HINSTANCE instance_;
};
}  // namespace

void SetWindowIcons(HINSTANCE instance, HWND hwnd, const std::string& icon_group,
                    bool set_as_app_icon) {
  User32IconCalls calls(instance);
  SetIcon(calls, reinterpret_cast<WindowHandle>(hwnd), icon_group, set_as_app_icon);
}

}  // namespace brisvane
