#include <gtest/gtest.h>

#include <set>

#include "capture/program_path.h"

namespace brisvane::test {
namespace {

TEST(CaptureProgramPath, ReadsTheFirstTokenAsWindowsDoes) {
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

// Only the system folder is asked; a copy anywhere else never runs (a real
// planted copy: CapturePlantedCscript).
TEST(CaptureProgramPath, ABareNameComesFromTheSystemFolderAloneWithExeAdded) {
  std::set<std::string> files{
      "C:\\windows\\system32\\cscript.exe", "C:\\windows\\system32\\run.com",
      "C:\\windows\\system32\\plain",       "C:\\Tools\\tool.exe",
      "C:\\windows\\system32\\.exe",        "C:\\cscript.exe"};
  const ProgramSearch search{"C:\\windows\\system32",
                             [&](const std::string& p) { return files.count(p) > 0; }};
  const struct {
    const char* line;
    ProgramLocation::Kind kind;
    const char* path;
  } cases[] = {
      {"cscript \"C:\\x\\OSPP.VBS\" /dstatus", ProgramLocation::Kind::Found,
       "C:\\windows\\system32\\cscript.exe"},
      {"\"cscript\" x", ProgramLocation::Kind::Found, "C:\\windows\\system32\\cscript.exe"},
      {"run.com", ProgramLocation::Kind::Found, "C:\\windows\\system32\\run.com"},
      {"run", ProgramLocation::Kind::NotFound, ""},
      {"plain", ProgramLocation::Kind::NotFound, ""},  // ".exe" added: no such file
      {"tool", ProgramLocation::Kind::NotFound, ""},   // not in the system folder
      {"", ProgramLocation::Kind::NotFound, ""},
      {"\"\" x", ProgramLocation::Kind::NotFound, ""},
      {"C:\\x\\cscript.exe a", ProgramLocation::Kind::AsGiven, ""},
      {"\"C:\\a b\\y.exe\"", ProgramLocation::Kind::AsGiven, ""},
      {".\\cscript", ProgramLocation::Kind::AsGiven, ""},
      {"sub/tool", ProgramLocation::Kind::AsGiven, ""},
      {"D:tool.exe", ProgramLocation::Kind::AsGiven, ""},
  };
  for (const auto& c : cases) {
    const ProgramLocation found = LocateProgram(c.line, search);
    EXPECT_EQ(found.kind, c.kind) << c.line;
    EXPECT_EQ(found.path, c.path) << c.line;
  }
  EXPECT_EQ(LocateProgram("cscript", {"C:\\", search.file_exists}).path, "C:\\cscript.exe");
  EXPECT_EQ(LocateProgram("cscript", {"", search.file_exists}).kind,
            ProgramLocation::Kind::NotFound);
}

}  // namespace
}  // namespace brisvane::test
