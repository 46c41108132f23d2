// The capture with real child processes, writing into a real EDIT control.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>

#include "capture/capture_win.h"
#include "child.h"
#include "forms/failure.h"
#include "forms/text.h"
#include "harness.h"
#include "support.h"
#include "tests/shared/capture_counting_platform.h"

namespace brisvane::test {
namespace {

// A named auto-reset event that a child can open.
struct NamedEvent {
  explicit NamedEvent(const char* what)
      : name("brisvane-" + std::string(what) + "-" + std::to_string(GetCurrentProcessId())),
        handle(CreateEventA(nullptr, FALSE, FALSE, name.c_str())) {}
  ~NamedEvent() { CloseHandle(handle); }
  std::string name;
  HANDLE handle;
};

class CaptureWin : public ::testing::Test {
 protected:
  PaneTarget box;
};

// The child says how it was started: its console hidden.
TEST_F(CaptureWin, HiddenChildWritesStdoutAndStderrInWriteOrder) {
  EXPECT_EQ(CaptureConsoleOutput(ChildCommandLine("capture_interleave"), box),
            CaptureEnd::PipeBroken);
  EXPECT_EQ(box.pane.Text(), L"o1e1o2e2o3 shown 0");
}

TEST_F(CaptureWin, NothingStartedOrWrittenLeavesTheBoxUnchanged) {
  box.pane.SetText(L"keep");
  EXPECT_EQ(CaptureConsoleOutput(ChildCommandLine("capture_silent"), box), CaptureEnd::PipeBroken);
  EXPECT_EQ(CaptureConsoleOutput("", box), CaptureEnd::NotStarted);
  EXPECT_EQ(CaptureConsoleOutput("brisvane-no-such-program /x", box), CaptureEnd::NotStarted);
  EXPECT_EQ(CaptureConsoleOutput("C:\\brisvane-nowhere\\x.exe", box), CaptureEnd::NotStarted);
  EXPECT_EQ(box.writes, 0);
  EXPECT_EQ(box.pane.Text(), L"keep");
}

TEST_F(CaptureWin, GrandchildHoldingTheWriteEndKeepsTheLoopUntilItEnds) {
  EXPECT_EQ(CaptureConsoleOutput(ChildCommandLine("capture_grandchild", "500"), box),
            CaptureEnd::PipeBroken);
  EXPECT_EQ(box.pane.Text(), L"parent;grandchild");
}

// Let go of, the child is not waited for; and since it holds no read end of
// its own, its pipe breaks, so that a megabyte of writes after that ends it
// instead of blocking it for good.
TEST_F(CaptureWin, GoneTargetLetsGoOfAChildThatKeepsWritingAndTheChildEnds) {
  NamedEvent release("release"), done("done");
  Win32CapturePlatform real;
  CountingPlatform counting(real);
  HANDLE child = nullptr;  // our own handle: a child that blocks is ended, not waited for
  box.on_pump = [&] {
    if (!child) {
      DuplicateHandle(GetCurrentProcess(), reinterpret_cast<HANDLE>(counting.last_process),
                      GetCurrentProcess(), &child, 0, FALSE, DUPLICATE_SAME_ACCESS);
    }
    box.gone = box.writes > 0;
  };
  EXPECT_EQ(
      CaptureConsoleOutput(counting, WindowsCodePage::Oem(),
                           ChildCommandLine("capture_hold", release.name + " " + done.name), box),
      CaptureEnd::Abandoned);
  EXPECT_EQ(WaitForSingleObject(done.handle, 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "waited for the child";
  EXPECT_EQ(box.pane.Text(), L"first");
  SetEvent(release.handle);
  EXPECT_EQ(WaitForSingleObject(done.handle, 10000), static_cast<DWORD>(WAIT_OBJECT_0))
      << "the child blocked on a pipe that never breaks";
  ASSERT_TRUE(child);
  if (WaitForSingleObject(child, 5000) != WAIT_OBJECT_0) TerminateProcess(child, 1);
  CloseHandle(child);
}

// A chunk the system cannot decode is a failure, not an empty chunk.
TEST_F(CaptureWin, DecodingThatFailsPassesThrough) {
  const WindowsCodePage missing(12345);
  ASSERT_FALSE(IsValidCodePage(missing.id()));
  Win32CapturePlatform platform;
  try {
    CaptureConsoleOutput(platform, missing, ChildCommandLine("capture_interleave"), box);
    ADD_FAILURE() << "a chunk that could not be decoded passed as empty";
  } catch (const forms::Failure& e) {
    EXPECT_NE(std::string(e.what()).find("MultiByteToWideChar"), std::string::npos) << e.what();
  }
  EXPECT_EQ(box.writes, 0);
}

TEST_F(CaptureWin, DecodesTheOemCodePage) {
  if (GetOEMCP() != 437) GTEST_SKIP() << "needs OEM code page 437, have " << GetOEMCP();
  EXPECT_EQ(CaptureConsoleOutput(ChildCommandLine("capture_bytes", "8281"), box),
            CaptureEnd::PipeBroken);
  EXPECT_EQ(box.pane.Text(), L"\u00e9\u00fc");
}

// Copies of this program named cscript.exe, with the child that says
// PLANTED, lie beside it and in the current folder while the capture runs
// `cscript script.vbs`; one named capture_interleave.exe, in the current
// folder only, stands for a program that only Windows' own search finds.
class CapturePlantedCscript : public CaptureWin {
 protected:
  void SetUp() override {
    CaptureWin::SetUp();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "brisvane-planted-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    const std::string self = SelfPath();
    beside_ = self.substr(0, self.find_last_of('\\')) + "\\cscript.exe";
    in_current_ = folder_ + "\\cscript.exe";
    elsewhere_ = folder_ + "\\capture_interleave.exe";
    script_ = folder_ + "\\say.vbs";
    ASSERT_TRUE(CopyFileA(self.c_str(), beside_.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(self.c_str(), in_current_.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(self.c_str(), elsewhere_.c_str(), FALSE));
    HANDLE f = CreateFileA(script_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const char vbs[] = "WScript.Echo \"SYSTEM\"\r\n";
    DWORD written = 0;
    WriteFile(f, vbs, sizeof(vbs) - 1, &written, nullptr);
    CloseHandle(f);
    GetCurrentDirectoryA(MAX_PATH, old_current_);
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.c_str()));
  }
  void TearDown() override {
    SetCurrentDirectoryA(old_current_);
    for (const std::string& file : {beside_, in_current_, elsewhere_, script_}) {
      const DWORD deadline = GetTickCount() + 10000;
      while (!DeleteFileA(file.c_str()) &&
             GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES &&
             GetTickCount() < deadline) {
        Sleep(50);
      }
    }
    RemoveDirectoryA(folder_.c_str());
  }
  std::string CommandLine() const { return "cscript \"" + script_ + "\""; }

  std::string folder_, beside_, in_current_, elsewhere_, script_;
  char old_current_[MAX_PATH] = {};
};

// What the system alone makes of a command line, by exit code: the trap
// being mended. A copy named cscript.exe ends with 42.
DWORD RunByWindowsSearch(const std::string& line) {
  e2e::Program windows_alone(forms::Widen(line));
  return windows_alone.WaitExit(20000) ? windows_alone.ExitCode() : 0xDEAD;
}

TEST_F(CapturePlantedCscript, SystemCscriptRunsNotTheCopiesBesideOrInTheCurrentFolder) {
  ASSERT_EQ(RunByWindowsSearch(CommandLine()), 42u) << "the copies are not where Windows looks";
  EXPECT_EQ(CaptureConsoleOutput(CommandLine(), box), CaptureEnd::PipeBroken);
  const std::wstring text = box.pane.Text();
  EXPECT_NE(text.find(L"SYSTEM"), std::wstring::npos) << std::string(text.begin(), text.end());
  EXPECT_EQ(text.find(L"PLANTED"), std::wstring::npos);

  ASSERT_EQ(RunByWindowsSearch("capture_interleave"), 0u) << "Windows finds it";
  EXPECT_EQ(CaptureConsoleOutput("capture_interleave", box), CaptureEnd::NotStarted);
}

// The lookup's facts are this machine's: the system folder is where this
// program's kernel32 came from; a folder is no program.
TEST(CaptureProgramSearch, ReadsTheSystemFolderThatTheSystemsOwnDllsComeFrom) {
  char kernel32[MAX_PATH] = "";
  GetModuleFileNameA(GetModuleHandleA("kernel32.dll"), kernel32, MAX_PATH);
  const ProgramSearch search = Win32ProgramSearch();
  const std::string expected = std::string(kernel32).substr(0, std::string(kernel32).rfind('\\'));
  EXPECT_EQ(lstrcmpiA(search.system_folder.c_str(), expected.c_str()), 0) << search.system_folder;
  EXPECT_TRUE(search.file_exists(kernel32));
  EXPECT_FALSE(search.file_exists(search.system_folder));
  EXPECT_FALSE(search.file_exists(search.system_folder + "\\brisvane-no-such.exe"));
}

}  // namespace
}  // namespace brisvane::test
