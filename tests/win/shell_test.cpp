// Where the program meets the shell and the file system: the probe of a
// script location, on real files, and the home page's working folder.
#include "app/shell.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "child.h"
#include "forms/text.h"
#include "harness.h"
#include "support.h"

namespace brisvane::test {
namespace {

std::wstring TempFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = temp + name + std::to_wstring(GetCurrentProcessId());
  e2e::RemoveTree(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

// What each kind of entry at a probed path counts as.
TEST(Shell, ProbeCountsOnlyOrdinaryFiles) {
  const std::wstring folder = TempFolder(L"brisvane-probe-");
  const std::wstring file = folder + L"\\OSPP.VBS";
  const struct {
    const char* name;
    DWORD attributes;  // 0: a folder instead of a file
    bool found;
  } cases[] = {
      {"plain", FILE_ATTRIBUTE_NORMAL, true},    {"read-only", FILE_ATTRIBUTE_READONLY, true},
      {"archive", FILE_ATTRIBUTE_ARCHIVE, true}, {"hidden", FILE_ATTRIBUTE_HIDDEN, false},
      {"system", FILE_ATTRIBUTE_SYSTEM, false},  {"folder", 0, false},
  };
  for (const auto& c : cases) {
    e2e::RemoveTree(file);
    if (c.attributes == 0) {
      e2e::WriteFile(file + L"\\inside.txt", "x");
    } else {
      e2e::WriteFile(file, "x");
      SetFileAttributesW(file.c_str(), c.attributes);
    }
    EXPECT_EQ(ProbeOrdinaryFile(forms::Narrow(file)), c.found) << c.name;
  }
  e2e::RemoveTree(file);
  e2e::WriteFile(folder + L"\\ospp.vbs", "x");
  EXPECT_TRUE(ProbeOrdinaryFile(forms::Narrow(file))) << "the file system ignores letter case";
  EXPECT_FALSE(ProbeOrdinaryFile(forms::Narrow(folder + L"\\none\\OSPP.VBS"))) << "no folder";
  e2e::RemoveTree(folder);
}

// open_home_page: the home page's working folder is BRISVANE_FOLDER.
BRISVANE_CHILD(open_home_page) {
  ShellRecorder shell;
  OpenHomePage(nullptr);
  wchar_t expected[1024] = L"";
  GetEnvironmentVariableW(L"BRISVANE_FOLDER", expected, 1024);
  return shell.calls.size() != 1 ? 2 : shell.calls[0].dir == expected ? 0 : 1;
}

// A folder whose name the ANSI code page cannot spell, as a user name in
// another script makes one; and a drive's root, which keeps its backslash
// ("C:" alone is the drive's current folder). (Wine 8 starts no program from
// a path longer than MAX_PATH; the longer answer is SystemText's, natively.)
TEST(Shell, HomePageOpensInTheProgramsFolderWhateverItsName) {
  const std::wstring named =
      TempFolder(L"brisvane-\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0438-\u4e0b\u8f7d-");
  for (const std::wstring& folder : {named, std::wstring(L"C:\\")}) {
    const std::wstring copy = folder + (folder.back() == L'\\' ? L"" : L"\\") + L"win_tests.exe";
    ASSERT_TRUE(CopyFileW(forms::Widen(SelfPath()).c_str(), copy.c_str(), FALSE));
    SetEnvironmentVariableW(L"BRISVANE_FOLDER", folder.c_str());
    {
      e2e::Program child(L"\"" + copy + L"\" --child open_home_page");
      ASSERT_TRUE(child.WaitExit(20000)) << child.Describe();
      EXPECT_EQ(child.ExitCode(), 0u) << e2e::Printable(folder) << " 1: another folder; 2: no call";
    }
    DeleteFileW(copy.c_str());
  }
  SetEnvironmentVariableW(L"BRISVANE_FOLDER", nullptr);
  e2e::RemoveTree(named);
}

}  // namespace
}  // namespace brisvane::test
