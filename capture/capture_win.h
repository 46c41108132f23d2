// The capture on Windows: the kernel's calls, the console's code page, and
// the entry point that the main window calls.
#pragma once

#include <string>

#include "capture/capture.h"
#include "capture/decoder.h"
#include "capture/program_path.h"

namespace brisvane {

// The real kernel calls. A bare program name is started from the system
// folder alone, or not at all; the child still sees the command line exactly
// as given.
class Win32CapturePlatform : public CapturePlatform {
 public:
  bool CreatePipe(Handle* read_end, Handle* write_end) override;
  bool StartChild(const std::string& command_line, const std::string* start_in, Handle std_out_err,
                  Handle* process, Handle* thread) override;
  bool ReadFile(Handle h, char* buffer, std::uint32_t to_read, std::uint32_t* got) override;
  void CloseHandle(Handle h) override;
};

// The facts of this machine that the program lookup reads.
ProgramSearch Win32ProgramSearch();

// A Windows code page through the system's own tables.
class WindowsCodePage : public CodePage {
 public:
  explicit WindowsCodePage(unsigned id) : id_(id) {}
  // Console programs write in the OEM code page, not the ANSI one.
  static WindowsCodePage Oem();
  unsigned id() const { return id_; }
  bool IsUtf8() const override;
  bool IsLeadByte(unsigned char byte) const override;
  std::wstring Decode(const char* bytes, std::size_t n) const override;

 private:
  unsigned id_;
};

CaptureEnd CaptureConsoleOutput(const std::string& command_line, CaptureTarget& text_box,
                                const std::string* start_in_folder = nullptr);

}  // namespace brisvane
