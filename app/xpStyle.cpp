// Start-up: prepare the common controls and show the main window.
#include <windows.h>
#include <commctrl.h>

#include "app/program.h"
#include "forms/system_library.h"

namespace xpStyle {

void Main(brisvane::Program& program) {
  // Looked up at run time so that a comctl32 without the entry point, or a
  // failing call, changes nothing: the program starts all the same. Loaded
  // by name, so the manifest's version 6 is the one bound; else it comes
  // from the system folder, as every DLL loaded by name does.
  if (HMODULE comctl = LoadLibraryW(L"comctl32.dll")) {
    if (const auto init =
            forms::Export<decltype(&::InitCommonControlsEx)>(comctl, "InitCommonControlsEx")) {
      INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_USEREX_CLASSES};
      init(&icc);
    }
  }
  program.frmMain.Show();
  // Some of the shell's handlers of web addresses are COM objects, which
  // ShellExecute needs COM for. After the window shows, so that it shows no
  // later for it.
  program.app.InitializeCom();
}

}  // namespace xpStyle
