// What the program asks of the system, where Wine does it unasked and the
// outcome cannot show the difference: each check reads the request itself
// (the message sent, the flag passed), with a line on what Windows would do.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/shell.h"
#include "capture/capture_win.h"
#include "child.h"
#include "forms/failure.h"
#include "forms/fonts.h"
#include "support.h"

namespace brisvane::test {
namespace {

std::vector<UINT> g_messages;
WNDPROC g_edit_proc;
LRESULT CALLBACK RecordingEditProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == EM_SETSEL || m == EM_SCROLLCARET) g_messages.push_back(m);
  return CallWindowProcW(g_edit_proc, w, m, wp, lp);
}

// Wine's EM_SETSEL scrolls the caret into view; Windows' does not, and the
// pane would stay at the end of a long report.
TEST(AskedOfTheSystem, SelStartScrollsTheCaretIntoView) {
  PaneTarget box;
  box.pane.SetText(std::wstring(5000, L'x'));
  g_edit_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      box.pane.Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingEditProc)));
  g_messages.clear();
  box.pane.SetSelStart(0);
  EXPECT_EQ(g_messages, (std::vector<UINT>{EM_SETSEL, EM_SCROLLCARET}));
}

// What each process creation was asked for, but the command line and handles.
std::vector<std::string> g_started;
ImportPatch* g_create_process;
BOOL WINAPI RecordingCreateProcess(LPCSTR application, LPSTR line, LPSECURITY_ATTRIBUTES pa,
                                   LPSECURITY_ATTRIBUTES ta, BOOL inherit, DWORD flags, LPVOID env,
                                   LPCSTR folder, LPSTARTUPINFOA si, LPPROCESS_INFORMATION info) {
  const auto n = [](auto v) { return std::to_string((std::uintptr_t)v); };
  g_started.push_back("application " + n(application) + ", folder " + (folder ? folder : "none") +
                      ", inherit " + n(inherit) + ", flags " + n(flags) + ", environment " +
                      n(env) + "; cb " + n(si->cb) + ", flags " + n(si->dwFlags) + ", show " +
                      n(si->wShowWindow) + ", input " + n(si->hStdInput) + ", output is error " +
                      n(si->hStdOutput == si->hStdError) + ", texts " +
                      n(si->lpReserved || si->lpDesktop || si->lpTitle));
  return g_create_process->original<decltype(&CreateProcessA)>()(application, line, pa, ta, inherit,
                                                                 flags, env, folder, si, info);
}

// Wine hands a child a standard input even when it was given none; Windows
// gives it none, as asked. The rest of the record, the flags and the
// environment are the design's too; a path is left to the system.
TEST(AskedOfTheSystem, TheChildGetsNoStandardInputAndTheDesignsStartUpRecord) {
  ImportPatch patch("kernel32.dll", "CreateProcessA",
                    reinterpret_cast<void*>(&RecordingCreateProcess));
  ASSERT_TRUE(patch.patched());
  g_create_process = &patch;
  g_started.clear();
  PaneTarget box;
  const std::string folder = "C:\\";
  EXPECT_EQ(CaptureConsoleOutput(ChildCommandLine("capture_silent"), box, &folder),
            CaptureEnd::PipeBroken);
  EXPECT_EQ(g_started,
            std::vector<std::string>{"application 0, folder C:\\, inherit 1, flags 0, environment "
                                     "0; cb " +
                                     std::to_string(sizeof(STARTUPINFOA)) +
                                     ", flags 257, show 0, input 0, output is error 1, texts 0"});
}

std::vector<std::wstring> g_loads;
ImportPatch* g_load_library;
HMODULE WINAPI RecordingLoadLibraryEx(LPCWSTR name, HANDLE file, DWORD flags) {
  g_loads.push_back(std::wstring(name) + L" " + std::to_wstring(flags));
  return g_load_library->original<decltype(&LoadLibraryExW)>()(name, file, flags);
}

// Wine loads its own shell32 and ole32 whatever lies beside the program;
// Windows takes the first it finds unless it is told the system folder.
TEST(AskedOfTheSystem, ShellAndComComeFromTheSystemFolder) {
  ImportPatch patch("kernel32.dll", "LoadLibraryExW",
                    reinterpret_cast<void*>(&RecordingLoadLibraryEx));
  ASSERT_TRUE(patch.patched());
  g_load_library = &patch;
  g_loads.clear();
  {
    ShellRecorder nothing_opens;
    OpenHomePage(nullptr);
    forms::Application app(L"com");
    app.InitializeCom();
  }
  const std::wstring system = std::to_wstring(LOAD_LIBRARY_SEARCH_SYSTEM32);
  EXPECT_EQ(g_loads, (std::vector<std::wstring>{L"shell32.dll " + system, L"ole32.dll " + system}));
  DrainThreadQueue();
}

// Wine takes a font by its face name whatever else is asked; Windows' mapper
// weighs precision, quality and pitch against the name, and could trade the
// bitmap MS Sans Serif for a TrueType or a typewriter face.
TEST(AskedOfTheSystem, FontsAskForTheirFaceWithDefaultPrecisionQualityAndPitch) {
  LOGFONTW lf{};
  ASSERT_TRUE(GetObjectW(forms::MakeFont(MainForm::kStatusFont, 96).get(), sizeof lf, &lf));
  EXPECT_EQ(
      std::vector<int>({lf.lfOutPrecision, lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily}),
      std::vector<int>({0, 0, 0, DEFAULT_PITCH | FF_SWISS}));  // default precision and quality
}

int g_destroyed_in_use;
ImportPatch* g_destroy_icon;
BOOL WINAPI RecordingDestroyIcon(HICON icon) {
  g_destroyed_in_use += GetCursor() == icon;
  return g_destroy_icon->original<decltype(&DestroyIcon)>()(icon);
}

// Wine destroys the pointer in use; Windows refuses, and the link's hand
// would outlive the box, on the screen. The box puts the arrow back first.
TEST(AskedOfTheSystem, TheBoxDestroysNoPointerInUse) {
  ImportPatch patch("user32.dll", "DestroyIcon", reinterpret_cast<void*>(&RecordingDestroyIcon));
  g_destroy_icon = &patch;
  g_destroyed_in_use = 0;
  {
    forms::Application app(L"about");
    AboutForm box(app);
    box.Show(nullptr);
    ASSERT_EQ(PointerOver(app, GetDlgItem(box.Pic1(), AboutForm::idLink)), box.LinkPointer());
    box.Unload();
  }
  EXPECT_TRUE(patch.patched());
  EXPECT_EQ(g_destroyed_in_use, 0);
  DrainThreadQueue();
}

// report_flags: the failure report with the message box replaced by one
// that writes the flags it was given.
int WINAPI WriteFlags(HWND, LPCWSTR, LPCWSTR, UINT flags) {
  const std::string text = std::to_string(flags);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
  return IDOK;
}
BRISVANE_CHILD(report_flags) {
  ImportPatch patch("user32.dll", "MessageBoxW", reinterpret_cast<void*>(&WriteFlags));
  if (!patch.patched()) return 2;
  forms::ReportUnhandled("x");
}

// Wine brings a new message box to the front by itself; Windows keeps one
// from a program in the background behind the user's, unless asked. What the
// report shows, and that it blocks the windows: ProgramLifetime.
TEST(AskedOfTheSystem, TheFailureReportAsksToComeToTheFront) {
  PaneTarget box;
  EXPECT_EQ(CaptureConsoleOutput(ChildCommandLine("report_flags"), box), CaptureEnd::PipeBroken);
  EXPECT_EQ(box.pane.Text(),
            std::to_wstring(MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND));
}

}  // namespace
}  // namespace brisvane::test
