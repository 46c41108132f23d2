// What the user and the system may do while a capture pumps events between
// chunks: the program neither crashes, nor runs twice, nor comes back.
// The stand-in echoes each tick only once the test has made its file, so
// whatever the test does between two ticks happens while the capture runs.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

using namespace e2e;

namespace {
const wchar_t kMarker[] = L"C:\\brisvane-2016-ran.txt";
// Each tick waits for its file, not for the clock: Wine's cscript has no
// WScript.Sleep, and Timer starts again at midnight.
constexpr int kTicks = 6;
const char kTickScript[] =
    "Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
    "For i = 0 To 5\r\n"
    "  Do Until fso.FileExists(\"C:\\brisvane-go-\" & i): Loop\r\n"
    "  WScript.Echo \"tick \" & i\r\n"
    "Next\r\n";
const wchar_t kLastTick[] = L"tick 5";
// Then half a megabyte at once, many times what the pipe holds.
const char kBulkScript[] = "For i = 1 To 512: WScript.Echo String(1000, \"x\"): Next\r\n";
const char kMarkerScript[] =
    "CreateObject(\"Scripting.FileSystemObject\").CreateTextFile(\"C:\\brisvane-2016-ran.txt\")"
    ".Close\r\nWScript.Echo \"2016 ran\"\r\n";

std::wstring Go(int tick) { return L"C:\\brisvane-go-" + std::to_wstring(tick); }

int Count(const std::wstring& text, const std::wstring& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class DuringCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearOffice();
    Clean();
    WriteFile(kScript15, kTickScript);
    WriteFile(kScript16, kMarkerScript);
  }
  void TearDown() override {
    // A child that outlives its test would hold the next one up, and keep
    // ctest waiting on the output it inherited: it is ended here, and its
    // outliving the wait is a failure.
    ReleaseAll();
    EXPECT_TRUE(WaitFor([] { return !ProcessRunning(L"cscript.exe"); }, 30000))
        << "cscript still running";
    EndProcesses(L"cscript.exe");
    ClearOffice();
    Clean();
  }
  static void Clean() {
    DeleteFileW(kMarker);
    for (int i = 0; i < kTicks; ++i) DeleteFileW(Go(i).c_str());
  }
  void Release() { WriteFile(Go(released_++), ""); }
  void ReleaseAll() {
    while (released_ < kTicks) Release();
  }
  // The status run has started the stand-in, which waits for its first tick.
  static bool Started() {
    return WaitFor([] { return ProcessRunning(L"cscript.exe"); });
  }
  // Releases the next tick and returns once the program has answered a
  // question from its pump, with the pane's length then. That pump handles
  // whatever was posted before the question, ahead of the program's next read.
  LRESULT Step(Program& app) {
    answer_ = -1;
    SendMessageCallbackW(
        app.Control(kStatusId), WM_GETTEXTLENGTH, 0, 0,
        [](HWND, UINT, ULONG_PTR to, LRESULT length) { *reinterpret_cast<LRESULT*>(to) = length; },
        reinterpret_cast<ULONG_PTR>(&answer_));
    Release();
    EXPECT_TRUE(WaitFor([&] {
      for (MSG m; PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&m);
      return answer_ >= 0;
    })) << app.Describe();
    return answer_;
  }
  bool Has(Program& app, const std::wstring& part) {
    return app.StatusText().find(part) != std::wstring::npos;
  }

  LRESULT answer_ = -1;
  int released_ = 0;
};
}  // namespace

// The program ends without waiting for the child, and leaves nothing behind:
// the child's pipe breaks, so its writes afterwards end it instead of
// blocking it for good.
TEST_F(DuringCapture, ExitClosesAtOnceSkipsTheRestAndTheChildStillEnds) {
  WriteFile(kScript15, std::string(kTickScript) + kBulkScript);
  Program app;
  ASSERT_TRUE(app.MainWindow()) << app.Describe();
  ASSERT_TRUE(Started());
  app.Command(kMenuExit);
  Release();
  ASSERT_TRUE(app.WaitExit(10000)) << "ends with the next chunk, not with the child";
  EXPECT_EQ(app.ExitCode(), 0u);
  ReleaseAll();
  EXPECT_TRUE(WaitFor([] { return !ProcessRunning(L"cscript.exe"); }, 20000))
      << "the child blocked on a pipe that never breaks";
  EXPECT_FALSE(Exists(kMarker)) << "the Office 2016 run was skipped";
}

TEST_F(DuringCapture, QuitMessageInsideThePumpEndsTheProgramCleanly) {
  Program app;
  ASSERT_TRUE(app.MainWindow()) << app.Describe();
  ASSERT_TRUE(Started());
  PostThreadMessageW(GetWindowThreadProcessId(app.MainWindow(), nullptr), WM_QUIT, 5, 0);
  Release();
  ASSERT_TRUE(app.WaitExit(10000));
  EXPECT_EQ(app.ExitCode(), 5u) << "1: ended by a fault";
  EXPECT_FALSE(Exists(kMarker));
}

// A menu open across the first tick holds the run back until it closes: its
// keys choose About..., which a run reading inside it would not hear. Then
// neither a second tick nor About... or Web... starts a second run; the
// about box opens and closes by Esc, and the capture goes on. A click into
// the pane moves the caret; the following chunks go there.
TEST_F(DuringCapture, SecondTickAboutWebAndTheCaretActWhileTheRunGoesOn) {
  OpenRecorder opened;
  ASSERT_TRUE(opened.Ready());
  Program app;
  HWND main = app.MainWindow();
  ASSERT_TRUE(main) << app.Describe();
  EXPECT_TRUE(Activate(main));
  Press('H', {VK_MENU});
  EXPECT_FALSE(WaitFor([] { return ProcessRunning(L"cscript.exe"); }, 2000)) << "run in the menu";
  Press(VK_DOWN);
  Press(VK_RETURN);
  const HWND first = app.Window(kAboutCaption, nullptr, 10000);
  EXPECT_TRUE(first) << "About... from the menu";
  PostMessageW(first, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Started());
  PostMessageW(main, WM_TIMER, 1, 0);
  app.Command(kMenuAbout);
  Step(app);
  const HWND box = app.Window(kAboutCaption, nullptr, 10000);
  ASSERT_TRUE(box) << "About... in the middle of the run";
  ASSERT_TRUE(Activate(box));
  Press(VK_ESCAPE);
  Step(app);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
  // After the keys: what the shell starts may take the foreground.
  app.Command(kMenuWeb);
  Step(app);
  EXPECT_TRUE(WaitFor([&] { return opened.Recorded().find('\n') != std::string::npos; }, 20000))
      << "Web... opens the home page in the middle of the run";
  while (Step(app) == 0) ASSERT_LT(released_, kTicks - 2) << "the pane stays empty";
  PostMessageW(app.Control(kStatusId), EM_SETSEL, 0, 0);
  Step(app);
  ReleaseAll();
  ASSERT_TRUE(WaitFor([&] { return Has(app, L"2016 ran"); }, 60000));
  const std::wstring text = app.StatusText();
  for (int i = 0; i < kTicks; ++i) {
    EXPECT_EQ(Count(text, L"tick " + std::to_wstring(i)), 1) << i << " in " << Printable(text, 999);
  }
  EXPECT_LT(text.find(kLastTick), text.find(L"tick 0")) << "later chunks went ahead of the first";
  EXPECT_EQ(Count(text, L"2016 ran"), 1);
  EXPECT_EQ(text.find(L"2016 ran"), 0u) << "2016 output ahead of the 2013 output";
  app.Command(kMenuExit);
  EXPECT_TRUE(app.WaitExit());
}
