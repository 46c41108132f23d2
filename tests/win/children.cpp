// The child processes that the tests start: the test program itself, run
// as `win_tests.exe --child NAME args...` (see child.h).
#include <windows.h>

#include <cstdio>

#include "capture_stream.h"
#include "child.h"

namespace {

void Write(DWORD which, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(GetStdHandle(which), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool WaitForEvent(const std::string& name, DWORD ms) {
  HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, name.c_str());
  if (!event) return false;
  const bool set = WaitForSingleObject(event, ms) == WAIT_OBJECT_0;
  CloseHandle(event);
  return set;
}

}  // namespace

// Numbered lines "000000\r\n000001\r\n..." in one single write.
BRISVANE_CHILD(capture_pattern) {
  const int records = std::stoi(args.at(0));
  std::string bytes;
  char record[16];
  for (int i = 0; i < records; ++i) {
    std::snprintf(record, sizeof(record), "%06d\r\n", i);
    bytes += record;
  }
  Write(STD_OUTPUT_HANDLE, bytes);
  return 0;
}

// Ends with its start-up record: the window's show state, if one was given.
// (Wine hands a child some standard input even when it was given none.)
BRISVANE_CHILD(capture_interleave) {
  Write(STD_OUTPUT_HANDLE, "o1");
  Write(STD_ERROR_HANDLE, "e1");
  Write(STD_OUTPUT_HANDLE, "o2");
  Write(STD_ERROR_HANDLE, "e2");
  STARTUPINFOA startup{};
  GetStartupInfoA(&startup);
  Write(STD_OUTPUT_HANDLE,
        "o3 shown " + (startup.dwFlags & STARTF_USESHOWWINDOW ? std::to_string(startup.wShowWindow)
                                                              : std::string("as it likes")));
  return 0;
}

BRISVANE_CHILD(capture_silent) { return 0; }

// Hands its output on to a grandchild that writes later, and ends at once.
BRISVANE_CHILD(capture_grandchild) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = GetStdHandle(STD_OUTPUT_HANDLE);
  PROCESS_INFORMATION info{};
  std::string line = brisvane::test::ChildCommandLine("capture_late", args.at(0));
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &info)) {
    return 2;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  Write(STD_OUTPUT_HANDLE, "parent;");
  return 0;
}

BRISVANE_CHILD(capture_late) {
  Sleep(static_cast<DWORD>(std::stoul(args.at(0))));
  Write(STD_OUTPUT_HANDLE, "grandchild");
  return 0;
}

// capture_hold RELEASE DONE: writes, keeps its output open until RELEASE is
// set, then writes a megabyte, many times what the pipe holds, in 4 KB
// pieces until a write fails, and says DONE as it ends.
BRISVANE_CHILD(capture_hold) {
  Write(STD_OUTPUT_HANDLE, "first");
  WaitForEvent(args.at(0), 60000);
  const std::string piece(4096, 'x');
  DWORD written = 0;
  for (int i = 0; i < 256; ++i) {
    if (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), piece.data(), 4096, &written, nullptr)) break;
  }
  HANDLE done = OpenEventA(EVENT_MODIFY_STATE, FALSE, args.at(1).c_str());
  if (done) SetEvent(done);
  return 0;
}

// What a copy of the test program named cscript.exe does.
BRISVANE_CHILD(cscript) {
  Write(STD_OUTPUT_HANDLE, "PLANTED");
  return 42;
}

// capture_uneven CODE_PAGE SEED TOTAL: the UnevenOutput of those arguments.
BRISVANE_CHILD(capture_uneven) {
  brisvane::test::UnevenOutput output(static_cast<unsigned>(std::stoul(args.at(0))),
                                      std::stoull(args.at(1)), std::stoull(args.at(2)));
  for (std::string bytes = output.NextWrite(); !bytes.empty(); bytes = output.NextWrite()) {
    Write(STD_OUTPUT_HANDLE, bytes);
  }
  return 0;
}

// capture_records MAPPING: writes numbered records in uneven pieces until it
// is killed, and after each write that returned adds its bytes to the
// counter in the named mapping, so the test knows what reached the pipe.
BRISVANE_CHILD(capture_records) {
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, args.at(0).c_str());
  if (!mapping) return 2;
  auto* written = static_cast<volatile LONG64*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  if (!written) return 2;
  brisvane::test::Random random(7);
  std::uint64_t next = 0;
  for (;;) {
    std::string bytes(1 + random.Below(std::size_t{1} << random.Below(17)), '\0');
    for (char& b : bytes) b = brisvane::test::RecordByte(next++);
    DWORD done = 0;
    if (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
                   &done, nullptr)) {
      return 3;
    }
    InterlockedExchange64(const_cast<LONG64*>(written), *written + done);
  }
}

// The end-to-end tests' stand-in for the shell's open action on web
// addresses: writes its arguments after the first into the file named first.
BRISVANE_CHILD(record_open) {
  if (args.empty()) return 2;
  std::FILE* f = std::fopen(args[0].c_str(), "wb");
  if (!f) return 1;
  for (std::size_t i = 1; i < args.size(); ++i) std::fprintf(f, "%s\n", args[i].c_str());
  std::fclose(f);
  return 0;
}
