// The capture with real child processes, writing into a real EDIT control;
// where its program comes from; the decoder with the system's code pages.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "capture/capture_win.h"
#include "child.h"
#include "forms/failure.h"
#include "forms/text.h"
#include "harness.h"
#include "support.h"
#include "tests/shared/capture_counting_platform.h"
#include "tests/shared/capture_decoder_property.h"

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

class Capture : public ::testing::Test {
 protected:
  PaneTarget box;
};

// The child says how it was started: its console hidden.
TEST_F(Capture, HiddenChildWritesStdoutAndStderrInWriteOrder) {
  EXPECT_EQ(CaptureConsoleOutput(ChildCommandLine("capture_interleave"), box),
            CaptureEnd::PipeBroken);
  EXPECT_EQ(box.pane.Text(), L"o1e1o2e2o3 shown 0");
}

TEST_F(Capture, NothingStartedOrWrittenLeavesTheBoxUnchanged) {
  box.pane.SetText(L"keep");
  EXPECT_EQ(CaptureConsoleOutput(ChildCommandLine("capture_silent"), box), CaptureEnd::PipeBroken);
  EXPECT_EQ(CaptureConsoleOutput("", box), CaptureEnd::NotStarted);
  EXPECT_EQ(CaptureConsoleOutput("brisvane-no-such-program /x", box), CaptureEnd::NotStarted);
  EXPECT_EQ(CaptureConsoleOutput("C:\\brisvane-nowhere\\x.exe", box), CaptureEnd::NotStarted);
  EXPECT_EQ(box.writes, 0);
  EXPECT_EQ(box.pane.Text(), L"keep");
}

TEST_F(Capture, GrandchildHoldingTheWriteEndKeepsTheLoopUntilItEnds) {
  EXPECT_EQ(CaptureConsoleOutput(ChildCommandLine("capture_grandchild", "500"), box),
            CaptureEnd::PipeBroken);
  EXPECT_EQ(box.pane.Text(), L"parent;grandchild");
}

// Let go of, the child is not waited for; and since it holds no read end of
// its own, its pipe breaks, so that a megabyte of writes after that ends it
// instead of blocking it for good.
TEST_F(Capture, GoneTargetLetsGoOfAChildThatKeepsWritingAndTheChildEnds) {
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
TEST_F(Capture, DecodingThatFailsPassesThrough) {
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

// Copies of this program named cscript.exe, with the child that says
// PLANTED, lie beside it and in the current folder while it lives; one named
// capture_interleave.exe, in the current folder only, stands for a program
// that only Windows' own search finds; and a script for `cscript say.vbs`.
struct PlantedCopies {
  PlantedCopies() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "brisvane-planted-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string self = SelfPath();
    files = {self.substr(0, self.find_last_of('\\')) + "\\cscript.exe", folder + "\\cscript.exe",
             folder + "\\capture_interleave.exe", folder + "\\say.vbs"};
    for (std::size_t i = 0; i < 3; ++i)
      planted = CopyFileA(self.c_str(), files[i].c_str(), FALSE) && planted;
    e2e::WriteFile(forms::Widen(files[3]), "WScript.Echo \"SYSTEM\"\r\n");
    GetCurrentDirectoryA(MAX_PATH, old_current);
    planted = SetCurrentDirectoryA(folder.c_str()) && planted;
  }
  ~PlantedCopies() {
    SetCurrentDirectoryA(old_current);
    for (const std::string& file : files) {
      const DWORD deadline = GetTickCount() + 10000;
      while (!DeleteFileA(file.c_str()) &&
             GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES &&
             GetTickCount() < deadline) {
        Sleep(50);
      }
    }
    RemoveDirectoryA(folder.c_str());
  }
  std::string CommandLine() const { return "cscript \"" + files[3] + "\""; }

  std::string folder;
  std::vector<std::string> files;  // beside, in the current folder, elsewhere, the script
  bool planted = true;
  char old_current[MAX_PATH] = {};
};

// What the system alone makes of a command line, by exit code: the trap
// being mended. A copy named cscript.exe ends with 42.
DWORD RunByWindowsSearch(const std::string& line) {
  e2e::Program windows_alone(forms::Widen(line));
  return windows_alone.WaitExit(20000) ? windows_alone.ExitCode() : 0xDEAD;
}

TEST_F(Capture, SystemCscriptRunsNotTheCopiesBesideOrInTheCurrentFolder) {
  const PlantedCopies copies;
  ASSERT_TRUE(copies.planted);
  ASSERT_EQ(RunByWindowsSearch(copies.CommandLine()), 42u)
      << "the copies are not where Windows looks";
  EXPECT_EQ(CaptureConsoleOutput(copies.CommandLine(), box), CaptureEnd::PipeBroken);
  const std::wstring text = box.pane.Text();
  EXPECT_NE(text.find(L"SYSTEM"), std::wstring::npos) << std::string(text.begin(), text.end());
  EXPECT_EQ(text.find(L"PLANTED"), std::wstring::npos);

  ASSERT_EQ(RunByWindowsSearch("capture_interleave"), 0u) << "Windows finds it";
  EXPECT_EQ(CaptureConsoleOutput("capture_interleave", box), CaptureEnd::NotStarted);
}

// The lookup's facts are this machine's: the system folder is where this
// program's kernel32 came from; a folder is no program.
TEST_F(Capture, ProgramSearchReadsTheSystemFolderThatTheSystemsOwnDllsComeFrom) {
  char kernel32[MAX_PATH] = "";
  GetModuleFileNameA(GetModuleHandleA("kernel32.dll"), kernel32, MAX_PATH);
  const ProgramSearch search = Win32ProgramSearch();
  const std::string expected = std::string(kernel32).substr(0, std::string(kernel32).rfind('\\'));
  EXPECT_EQ(lstrcmpiA(search.system_folder.c_str(), expected.c_str()), 0) << search.system_folder;
  EXPECT_TRUE(search.file_exists(kernel32));
  EXPECT_FALSE(search.file_exists(search.system_folder));
  EXPECT_FALSE(search.file_exists(search.system_folder + "\\brisvane-no-such.exe"));
}

// The decoder's property with the system's tables, which the native tests
// can only imitate; and, hand-written, UTF-8 cut at every byte, whose system
// decoder (Wine's) makes one replacement of all that follows a cut sequence.
TEST_F(Capture, DecoderPiecesDecodeAsTheWholeStreamInTheSystemsCodePages) {
  for (unsigned id : {437u, 850u, 932u, 936u, 949u, 950u, 65001u}) {
    ASSERT_TRUE(IsValidCodePage(id)) << id;
    for (std::uint64_t seed : {1, 2, 3}) {
      EXPECT_EQ(FirstPiecewiseMismatch(WindowsCodePage(id), seed * 1000 + id, 3000), "")
          << "code page " << id;
    }
  }
  const struct {
    std::string bytes;
    std::wstring text;
  } written[] = {{"caf\xC3\xA9!", L"caf\u00e9!"},
                 {"\xE2\x41z", L"\uFFFDAz"},
                 {"\xF0\x9F\x98\x80.", L"\U0001F600."},
                 {"x\xE2\x82", L"x\uFFFD"}};
  for (const auto& w : written) {
    for (std::size_t cut = 0; cut <= w.bytes.size(); ++cut) {
      EXPECT_EQ(DecodeInPieces(WindowsCodePage(CP_UTF8), w.bytes, {cut}), w.text) << cut;
    }
  }
}

}  // namespace
}  // namespace brisvane::test
