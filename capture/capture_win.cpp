#include "capture/capture_win.h"

#include <windows.h>

#include "forms/failure.h"
#include "forms/text.h"

namespace brisvane {
namespace {

HANDLE ToHandle(Handle h) { return reinterpret_cast<HANDLE>(h); }
Handle FromHandle(HANDLE h) { return reinterpret_cast<Handle>(h); }

}  // namespace

ProgramSearch Win32ProgramSearch() {
  ProgramSearch search;
  search.system_folder =
      forms::SystemText<char>([](char* b, DWORD n) { return GetSystemDirectoryA(b, n); });
  search.file_exists = [](const std::string& file) {
    const DWORD attributes = GetFileAttributesA(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  };
  return search;
}

bool Win32CapturePlatform::CreatePipe(Handle* read_end, Handle* write_end) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  if (!::CreatePipe(&read, &write, &inheritable, 0)) return false;
  // Only the write end goes to the child. A child holding a read end of its
  // own would keep the pipe from breaking once the program has let go of it,
  // and block for good on its next write when the buffer is full.
  if (!SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0)) {
    ::CloseHandle(read);
    ::CloseHandle(write);
    return false;
  }
  *read_end = FromHandle(read);
  *write_end = FromHandle(write);
  return true;
}

bool Win32CapturePlatform::StartChild(const std::string& command_line, const std::string* start_in,
                                      Handle std_out_err, Handle* process, Handle* thread) {
  const ProgramLocation program = LocateProgram(command_line, Win32ProgramSearch());
  if (program.kind == ProgramLocation::Kind::NotFound) return false;
  const char* application =
      program.kind == ProgramLocation::Kind::Found ? program.path.c_str() : nullptr;

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = startup.hStdError = ToHandle(std_out_err);
  startup.hStdInput = nullptr;
  PROCESS_INFORMATION info{};
  // CreateProcessA may write into the command line, so it gets a copy.
  std::string line = command_line;
  if (!::CreateProcessA(application, &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                        start_in ? start_in->c_str() : nullptr, &startup, &info)) {
    return false;
  }
  *process = FromHandle(info.hProcess);
  *thread = FromHandle(info.hThread);
  return true;
}

bool Win32CapturePlatform::ReadFile(Handle h, char* buffer, std::uint32_t to_read,
                                    std::uint32_t* got) {
  DWORD n = 0;
  const BOOL ok = ::ReadFile(ToHandle(h), buffer, to_read, &n, nullptr);
  *got = n;
  return ok != FALSE;
}

void Win32CapturePlatform::CloseHandle(Handle h) { ::CloseHandle(ToHandle(h)); }

WindowsCodePage WindowsCodePage::Oem() { return WindowsCodePage(GetOEMCP()); }

bool WindowsCodePage::IsUtf8() const { return id_ == CP_UTF8; }

bool WindowsCodePage::IsLeadByte(unsigned char byte) const {
  return !IsUtf8() && IsDBCSLeadByteEx(id_, byte);
}

std::wstring WindowsCodePage::Decode(const char* bytes, std::size_t n) const {
  if (n == 0) return std::wstring();
  const int size = static_cast<int>(n);
  const int length = MultiByteToWideChar(id_, 0, bytes, size, nullptr, 0);
  if (length <= 0) forms::Fail("MultiByteToWideChar");
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(id_, 0, bytes, size, &text[0], length);
  return text;
}

CaptureEnd CaptureConsoleOutput(const std::string& command_line, CaptureTarget& text_box,
                                const std::string* start_in_folder) {
  Win32CapturePlatform platform;
  return CaptureConsoleOutput(platform, WindowsCodePage::Oem(), command_line, text_box,
                              start_in_folder);
}

}  // namespace brisvane
