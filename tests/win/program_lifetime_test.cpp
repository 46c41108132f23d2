// The program's lifetime in the forms runtime: how it ends with forms still
// open, the COM apartment of start-up, and the report of a failure.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>

#include "child.h"
#include "forms/failure.h"
#include "forms/form.h"
#include "harness.h"
#include "res/identity.h"
#include "support.h"

namespace brisvane::test {
namespace {

// A WM_QUIT from outside ends the loop with both forms open, with its exit
// code, also when a nested pump sees it first. The program then goes before
// the runtime, each form unloading while it is whole: the runtime saw every
// form's window end, and nothing is left.
TEST(ProgramLifetime, QuitWithTheAboutBoxOpenUnloadsBothFormsBeforeTheRuntimeGoes) {
  InitCommonControls();
  const long gdi = forms::ResourceCount::Gdi(), icons = forms::ResourceCount::Icons();
  forms::Application app(L"" BRISVANE_APP_TITLE);
  HWND main = nullptr, about = nullptr;
  {
    Program program(app);
    program.frmMain.Show();
    main = program.frmMain.Hwnd();
    SendMessageW(main, WM_COMMAND, MainForm::mnuAbout, 0);
    about = program.frmAbout.Hwnd();
    ASSERT_TRUE(IsWindow(about));
    PostQuitMessage(7);
    app.DoEvents();  // a nested pump, as between capture chunks, puts it back
    EXPECT_TRUE(app.QuitSeen());
    EXPECT_EQ(app.Run(), 7);
    EXPECT_TRUE(IsWindow(main) && IsWindow(about)) << "the loop ended with both open";
  }
  EXPECT_EQ(app.LoadedForms(), 0) << "a form's window outlived its form";
  EXPECT_FALSE(IsWindow(about));
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(forms::ResourceCount::Gdi(), gdi);
  EXPECT_EQ(forms::ResourceCount::Icons(), icons);
  DrainThreadQueue();
}

DWORD g_icc_size, g_icc_classes;
BOOL WINAPI RecordInitCommonControlsEx(const INITCOMMONCONTROLSEX* icc) {
  g_icc_size = icc->dwSize;
  g_icc_classes = icc->dwICC;
  return TRUE;
}

// Start-up asks the common controls for the extended combo box classes
// alone. After it no DLL comes from the program's own folder by bare name
// (one planted beside the test program stands for a download's neighbour).
// The shell may hand web addresses to COM objects: start-up enters a
// single-threaded apartment on this thread, which ends with the runtime.
TEST(ProgramLifetime, StartUpKeepsDllsToTheSystemFolderAndEntersAComApartmentForTheRuntime) {
  InitCommonControls();
  {
    forms::Application app(L"" BRISVANE_APP_TITLE);
    Program program(app);
    {
      LookupPatch icc("InitCommonControlsEx", reinterpret_cast<void*>(&RecordInitCommonControlsEx));
      g_icc_size = g_icc_classes = 0;
      xpStyle::Main(program);
    }
    EXPECT_EQ(g_icc_size, 8u);
    EXPECT_EQ(g_icc_classes, 0x200u);
    EXPECT_TRUE(program.frmMain.Loaded());
    const std::string beside = SelfPath().substr(0, SelfPath().find_last_of('\\'));
    ASSERT_NE(GetFileAttributesA((beside + "\\brisvane_planted.dll").c_str()),
              INVALID_FILE_ATTRIBUTES);
    const HMODULE planted = LoadLibraryW(L"brisvane_planted.dll");
    EXPECT_FALSE(planted) << "a DLL beside the program was loaded by its bare name";
    if (planted) FreeLibrary(planted);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE)
        << "no single-threaded apartment after start-up";
    CoUninitialize();
  }
  const HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  EXPECT_EQ(after, S_OK) << "the apartment outlived the runtime";
  if (SUCCEEDED(after)) CoUninitialize();
  DrainThreadQueue();
}

// A form that fails on WM_APP, as a paint under the report might.
struct FailingForm : forms::Form {
  explicit FailingForm(forms::Application& app) : Form(app) {
    Load({L"failing", 10, 10, WS_POPUP, 0, nullptr}, nullptr);
    Show();
  }
  ~FailingForm() override { Unload(); }
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_APP) throw forms::Failure("a second failure");
    return Form::OnMessage(msg, wp, lp);
  }
};

// pane_write_fails: the program with a pane that takes no more than 50
// characters, whose status run captures 800; and a form that fails on demand.
BRISVANE_CHILD(pane_write_fails) {
  InitCommonControls();
  forms::Application app(L"" BRISVANE_APP_TITLE);
  FailingForm failing(app);
  Program program(app);
  xpStyle::Main(program);
  const std::string line = ChildCommandLine("capture_pattern", "100");
  program.frmMain.txtPath2013.SetText(std::wstring(line.begin(), line.end()));
  SendMessageW(program.frmMain.txtStatus.Hwnd(), EM_SETLIMITTEXT, 50, 0);
  return app.Run();
}

// A write into the pane that fails is not taken for the end of the output:
// it ends the status run, the user is told, under the application's title,
// with every window of the program blocked, and the program ends with 1,
// when the user has read the report, or at once when a second failure comes
// while it shows (no second box over the first).
TEST(ProgramLifetime, APaneWriteThatFailsIsReportedAndEndsTheProgram) {
  for (const bool second_failure : {false, true}) {
    SCOPED_TRACE(second_failure ? "a second failure" : "OK pressed");
    const std::string line = ChildCommandLine("pane_write_fails");
    e2e::Program child(std::wstring(line.begin(), line.end()));
    const HWND box = child.Window(L"Brisvane [Office 2013 & 2016]", L"#32770");
    ASSERT_TRUE(box) << "no report; the program " << child.Describe();
    for (const wchar_t* caption : {L"failing", e2e::kMainCaption}) {
      EXPECT_FALSE(IsWindowEnabled(child.Window(caption))) << e2e::Printable(caption);
    }
    const std::wstring texts = e2e::WindowText(GetDlgItem(box, 0xFFFF));  // the box's text
    EXPECT_EQ(texts.find(L"Run-time error:\r\n\r\nEM_REPLACESEL failed: the text box took 50 of "),
              0u)
        << e2e::Printable(texts);
    if (second_failure) {
      const HWND failing = child.Window(L"failing");
      ASSERT_TRUE(failing);
      PostMessageW(failing, WM_APP, 0, 0);
    } else {
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    ASSERT_TRUE(child.WaitExit(20000)) << child.Describe();
    EXPECT_EQ(child.ExitCode(), 1u);
  }
}

}  // namespace
}  // namespace brisvane::test
