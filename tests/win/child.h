// Children of the Win32 tests: the test program re-runs itself as
// `win_tests.exe --child NAME args...`, or runs the child NAME when a copy of
// it is named NAME.exe, so process and pipe behaviour needs no second program.
#pragma once

#include <string>
#include <vector>

namespace brisvane::test {

// A child's behaviour: gets the arguments after its name, returns the exit code.
using ChildMain = int (*)(const std::vector<std::string>& args);

bool RegisterChild(const char* name, ChildMain child);

// Runs the child that the command line or the program's file name asks for;
// false when this is the test run itself.
bool RunChildIfAsked(int argc, char** argv, int* exit_code);

// Full path of the running test program.
std::string SelfPath();

// A command line that runs the child `name` with `args` (added as they are).
std::string ChildCommandLine(const std::string& name, const std::string& args = "");

}  // namespace brisvane::test

#define BRISVANE_CHILD(name)                                             \
  static int BrisvaneChild_##name(const std::vector<std::string>& args); \
  [[maybe_unused]] static const bool brisvane_child_registered_##name =  \
      ::brisvane::test::RegisterChild(#name, &BrisvaneChild_##name);     \
  static int BrisvaneChild_##name([[maybe_unused]] const std::vector<std::string>& args)
