// The gtest main of win_tests, which doubles as the child processes that the
// tests start (see child.h).
#include <windows.h>
#include <gtest/gtest.h>

#include <map>

#include "child.h"

namespace brisvane::test {
namespace {

std::map<std::string, ChildMain>& Children() {
  static std::map<std::string, ChildMain> children;
  return children;
}

std::string BaseName(const std::string& path) {
  std::string name = path.substr(path.find_last_of("\\/") + 1);
  const std::string::size_type dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return name;
}

}  // namespace

bool RegisterChild(const char* name, ChildMain child) {
  return Children().emplace(name, child).second;
}

std::string SelfPath() {
  char path[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
  return std::string(path, n);
}

std::string ChildCommandLine(const std::string& name, const std::string& args) {
  std::string line = "\"" + SelfPath() + "\" --child " + name;
  return args.empty() ? line : line + " " + args;
}

bool RunChildIfAsked(int argc, char** argv, int* exit_code) {
  std::string name;
  int first_arg = 1;
  if (argc >= 3 && std::string(argv[1]) == "--child") {
    name = argv[2];
    first_arg = 3;
  } else {
    // A renamed copy, e.g. a planted cscript.exe, behaves as that child.
    const std::string own = BaseName(SelfPath());
    if (own == "win_tests" || !Children().count(own)) return false;
    name = own;
  }
  const auto found = Children().find(name);
  if (found == Children().end()) {
    *exit_code = 127;
    return true;
  }
  *exit_code = found->second(std::vector<std::string>(argv + first_arg, argv + argc));
  return true;
}

}  // namespace brisvane::test

int main(int argc, char** argv) {
  int exit_code = 0;
  if (brisvane::test::RunChildIfAsked(argc, argv, &exit_code)) return exit_code;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
