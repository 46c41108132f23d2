#include <gtest/gtest.h>

#include <set>

#include "capture/program_path.h"

namespace brisvane::test {
namespace {

TEST(CaptureProgramToken, ReadsTheFirstTokenAsWindowsDoes) {
  const struct {
    const char* line;
    const char* token;
  } cases[] = {
      {"cscript \"C:\\a b\\OSPP.VBS\" /dstatus", "cscript"},
      {"\"C:\\Program Files\\x.exe\" /a", "C:\\Program Files\\x.exe"},
      {"  \tcscript", "cscript"},
      {"\"unclosed name", "unclosed name"},
      {"", ""},
      {"   ", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgramToken(c.line), c.token) << c.line;
}

struct CaptureProgramLocate : ::testing::Test {
  std::set<std::string> files;
  ProgramSearch search{"C:\\windows\\system32",
                       "C:\\Downloads",
                       "C:\\Work",
                       "C:\\Downloads;.;C:\\Tools;relative\\bin;\\rooted;c:\\work\\;\"C:\\Quoted\"",
                       {}};
  void SetUp() override {
    search.file_exists = [this](const std::string& p) { return files.count(p) > 0; };
  }
  ProgramLocation At(const std::string& line) { return LocateProgram(line, search); }
};

TEST_F(CaptureProgramLocate, BareNameComesFromTheSystemFolderFirst) {
  files = {"C:\\windows\\system32\\cscript.exe", "C:\\Tools\\cscript.exe",
           "C:\\Downloads\\cscript.exe", "C:\\Work\\cscript.exe"};
  const ProgramLocation found = At("cscript \"C:\\x\\OSPP.VBS\" /dstatus");
  EXPECT_EQ(found.kind, ProgramLocation::Kind::Found);
  EXPECT_EQ(found.path, "C:\\windows\\system32\\cscript.exe");
  EXPECT_EQ(At("\"cscript\" x").path, "C:\\windows\\system32\\cscript.exe");
}

TEST_F(CaptureProgramLocate, FallsBackToAbsolutePathFoldersOnly) {
  files = {"C:\\Tools\\tool.exe", "C:\\Quoted\\q.exe"};
  EXPECT_EQ(At("tool").path, "C:\\Tools\\tool.exe");
  EXPECT_EQ(At("q").path, "C:\\Quoted\\q.exe");
}

TEST_F(CaptureProgramLocate, NeverTakesTheOwnOrCurrentOrARelativeFolder) {
  files = {"C:\\Downloads\\cscript.exe", "C:\\Work\\cscript.exe", ".\\cscript.exe",
           "relative\\bin\\cscript.exe", "\\rooted\\cscript.exe", "c:\\work\\\\cscript.exe"};
  const ProgramLocation none = At("cscript //nologo x.vbs");
  EXPECT_EQ(none.kind, ProgramLocation::Kind::NotFound);
  EXPECT_EQ(none.path, "");
}

TEST_F(CaptureProgramLocate, AddsExeOnlyWithoutAnExtension) {
  files = {"C:\\windows\\system32\\cscript.exe", "C:\\windows\\system32\\run.com"};
  EXPECT_EQ(At("CSCRIPT").kind, ProgramLocation::Kind::NotFound);  // files compare exactly here
  files.insert("C:\\windows\\system32\\CSCRIPT.exe");
  EXPECT_EQ(At("CSCRIPT").path, "C:\\windows\\system32\\CSCRIPT.exe");
  EXPECT_EQ(At("run.com").path, "C:\\windows\\system32\\run.com");
  EXPECT_EQ(At("run").kind, ProgramLocation::Kind::NotFound);
}

TEST_F(CaptureProgramLocate, NameWithAPathIsLeftToTheSystem) {
  for (const char* line :
       {"C:\\x\\cscript.exe a", "\"C:\\a b\\y.exe\"", ".\\cscript", "sub/tool", "D:tool.exe"}) {
    EXPECT_EQ(At(line).kind, ProgramLocation::Kind::AsGiven) << line;
  }
}

TEST_F(CaptureProgramLocate, NoNameIsNotFound) {
  files = {"C:\\windows\\system32\\.exe"};
  EXPECT_EQ(At("").kind, ProgramLocation::Kind::NotFound);
  EXPECT_EQ(At("\"\" x").kind, ProgramLocation::Kind::NotFound);
}

}  // namespace
}  // namespace brisvane::test
