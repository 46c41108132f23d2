// The program's entry point: the forms runtime, the forms, start-up, events.
#include <windows.h>

#include "app/program.h"
#include "forms/failure.h"
#include "res/identity.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The forms live in this frame, inside the runtime's lifetime: whatever
  // ends the loop, they are unloaded while whole, before the runtime goes.
  forms::Application app(L"" BRISVANE_APP_TITLE);
  brisvane::Program program(app);
  try {
    xpStyle::Main(program);
  } catch (const std::exception& e) {
    forms::ReportUnhandled(e.what());
  }
  return app.Run();
}
