// The program's own pieces of the C++ runtime (app/lean_runtime_win.cpp),
// linked as in the program. No googletest: it would bring in the library's
// versions of the same functions.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "forms/failure.h"

namespace {
int failures = 0;

template <typename Fn>
void ExpectMessage(const char* name, Fn fn, const char* want) {
  std::string got = "<nothing thrown>";
  try {
    fn();
  } catch (const std::exception& e) {
    got = e.what();
  }
  if (got != want) {
    std::printf("FAIL %s\n  got:  %s\n  want: %s\n", name, got.c_str(), want);
    ++failures;
  }
}
}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "terminate") == 0) std::terminate();

  // std::terminate still ends the process the way abort does: a copy of this
  // program calls it. Started first, since a process start is what costs
  // most under emulation.
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string cmd = std::string("\"") + self + "\" terminate";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const bool started =
      CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);

  // The library's own wording, arguments in place; a position beyond any
  // 32-bit value on a 64-bit build shows that %zu takes a whole size_t.
  volatile size_t three = 3, five = 5;
  const size_t beyond = SIZE_MAX / three;
  std::string two = "ab";
  ExpectMessage(
      "substr past the end", [&] { two = two.substr(beyond); },
      ("basic_string::substr: __pos (which is " + std::to_string(beyond) +
       ") > this->size() (which is 2)")
          .c_str());
  ExpectMessage(
      "at past the end", [&] { two[0] = two.at(five); },
      "basic_string::at: __n (which is 5) >= this->size() (which is 2)");
  ExpectMessage(
      "length", [&] { std::vector<int>().reserve(SIZE_MAX / five); }, "vector::reserve");
  std::allocator<int> ints;
  ExpectMessage(
      "bad alloc", [&] { ints.deallocate(ints.allocate(SIZE_MAX / five), 0); }, "std::bad_alloc");
  ExpectMessage(
      "array length", [&] { ints.deallocate(ints.allocate(SIZE_MAX / three), 0); },
      "std::bad_array_new_length");

  ExpectMessage(
      "Fail",
      [] {
        SetLastError(5);
        forms::Fail("CreateThing");
      },
      "CreateThing failed (error 5)");
  ExpectMessage(
      "Fail, largest error",
      [] {
        SetLastError(MAXDWORD);
        forms::Fail("X");
      },
      "X failed (error 4294967295)");

  DWORD code = 0;
  if (started) {
    WaitForSingleObject(pi.hProcess, 600000);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  if (code != 3) {
    std::printf("FAIL terminate: exit code %lu, want 3 (abort)\n", code);
    ++failures;
  }

  std::printf("%d failed\n", failures);
  return failures ? 1 : 0;
}
