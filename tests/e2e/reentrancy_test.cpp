// What the user and the system may do while a capture pumps events between
// chunks: the program neither crashes, nor runs twice, nor comes back.
#include <gtest/gtest.h>

#include <string>

#include "harness.h"

using namespace e2e;

namespace {
const wchar_t kMarker[] = L"C:\\brisvane-2016-ran.txt";

// Eight echoes half a second apart (Wine's cscript has no WScript.Sleep).
std::string SlowScript(const char* tag) {
  std::string script;
  for (int i = 0; i < 8; ++i) {
    script += "WScript.Echo \"" + std::string(tag) + " " + std::to_string(i) + "\"\r\n";
    script += "t = Timer: Do While Timer < t + 0.5: Loop\r\n";
  }
  return script;
}

// Then half a megabyte at once, many times what the pipe holds.
std::string BulkScript() {
  return "line = String(1000, \"x\")\r\n"
         "For i = 1 To 512: WScript.Echo line: Next\r\n";
}

std::string MarkerScript() {
  return "Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
         "fso.CreateTextFile(\"C:\\brisvane-2016-ran.txt\").Close\r\n"
         "WScript.Echo \"2016 ran\"\r\n";
}

int Count(const std::wstring& text, const std::wstring& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The pane's text on one line, line ends shown, for a failure message.
std::string Visible(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) {
    out += c == L'\r'   ? std::string("\\r")
           : c == L'\n' ? std::string("\\n")
                        : std::string(1, static_cast<char>(c));
  }
  return out;
}

class DuringCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearOffice();
    DeleteFileW(kMarker);
    WriteFile(kScript15, SlowScript("tick"));
    WriteFile(kScript16, MarkerScript());
  }
  void TearDown() override {
    // A child that outlives its test would hold the next one up, and keep
    // ctest waiting on the output it inherited: it is ended here, and its
    // outliving the wait is a failure.
    EXPECT_TRUE(WaitFor([] { return !ProcessRunning(L"cscript.exe"); }, 30000))
        << "cscript still running";
    EndProcesses(L"cscript.exe");
    ClearOffice();
    DeleteFileW(kMarker);
  }
  bool Has(Program& app, const wchar_t* part) {
    return app.StatusText().find(part) != std::wstring::npos;
  }
};
}  // namespace

// The program ends without waiting for the child, and leaves nothing behind:
// the child's pipe breaks, so its writes afterwards end it instead of
// blocking it for good.
TEST_F(DuringCapture, ExitClosesAtOnceSkipsTheRestAndTheChildStillEnds) {
  WriteFile(kScript15, SlowScript("tick") + BulkScript());
  Program app;
  ASSERT_TRUE(app.MainWindow()) << app.Describe();
  ASSERT_TRUE(WaitFor([&] { return Has(app, L"tick 1"); }));
  app.Command(kMenuExit);
  ASSERT_TRUE(app.WaitExit(10000)) << "ends with the next chunk, not with the child";
  EXPECT_TRUE(ProcessRunning(L"cscript.exe")) << "the child was not waited for";
  EXPECT_TRUE(WaitFor([] { return !ProcessRunning(L"cscript.exe"); }, 20000))
      << "the child blocked on a pipe that never breaks";
  EXPECT_FALSE(Exists(kMarker)) << "the Office 2016 run was skipped";
}

TEST_F(DuringCapture, QuitMessageInsideThePumpReachesTheMainLoop) {
  Program app;
  ASSERT_TRUE(app.MainWindow()) << app.Describe();
  ASSERT_TRUE(WaitFor([&] { return Has(app, L"tick 1"); }));
  DWORD thread = GetWindowThreadProcessId(app.MainWindow(), nullptr);
  PostThreadMessageW(thread, WM_QUIT, 0, 0);
  EXPECT_TRUE(app.WaitExit(10000));
  EXPECT_FALSE(Exists(kMarker));
}

TEST_F(DuringCapture, SecondTimerTickAboutAndWebStartNoSecondRun) {
  Program app;
  HWND main = app.MainWindow();
  ASSERT_TRUE(main) << app.Describe();
  ASSERT_TRUE(WaitFor([&] { return Has(app, L"tick 1"); }));
  OpenRecorder opened;
  ASSERT_TRUE(opened.Ready());
  PostMessageW(main, WM_TIMER, 1, 0);
  app.Command(kMenuAbout);
  app.Command(kMenuWeb);
  ASSERT_TRUE(WaitFor([&] { return Has(app, L"2016 ran"); }, 60000));
  EXPECT_TRUE(WaitFor([&] { return opened.Recorded().find('\n') != std::string::npos; }, 20000))
      << "Web... opens the home page in the middle of the run";
  std::wstring text = app.StatusText();
  EXPECT_EQ(Count(text, L"tick 0"), 1);
  EXPECT_EQ(Count(text, L"2016 ran"), 1);
  EXPECT_EQ(text.find(L"2016 ran"), 0u) << "2016 output ahead of the 2013 output";
  app.Command(kMenuExit);
  EXPECT_TRUE(app.WaitExit());
}

// A click into the pane moves the caret; the following chunks go there.
TEST_F(DuringCapture, CaretMovedByTheUserDecidesWhereLaterChunksGo) {
  Program app;
  ASSERT_TRUE(app.MainWindow()) << app.Describe();
  HWND pane = app.Control(kStatusId);
  ASSERT_TRUE(WaitFor([&] { return Has(app, L"tick 0"); }));
  PostMessageW(pane, EM_SETSEL, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return Has(app, L"tick 7"); }, 60000));
  std::wstring text = app.StatusText();
  EXPECT_LT(text.find(L"tick 7"), text.find(L"tick 0")) << "later chunks went ahead of the first";
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Count(text, L"tick " + std::to_wstring(i)), 1) << i << " in " << Visible(text);
  }
  app.Command(kMenuExit);
  EXPECT_TRUE(app.WaitExit());
}
