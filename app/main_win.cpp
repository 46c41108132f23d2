// Start-up: prepare the common controls, show the main window, run events.
#include "app/frmMain.h"

#include <commctrl.h>

#include "forms/forms.h"

namespace xpStyle {

void Main() {
  // Looked up at run time so that a comctl32 without the entry point, or a
  // failing call, changes nothing: the program starts all the same. Loaded
  // by name, so the manifest's version 6 is the one bound.
  if (HMODULE comctl = LoadLibraryW(L"comctl32.dll")) {
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = reinterpret_cast<InitFn>(
        reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")));
    if (init) {
      INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_USEREX_CLASSES};
      init(&icc);
    }
  }
  brisvane::frmMain.Show();
}

}  // namespace xpStyle

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  forms::Application& app = forms::Application::Get();
  try {
    xpStyle::Main();
  } catch (const std::exception& e) {
    forms::ReportUnhandled(e.what());
  }
  return app.Run();
}
