// Runs one console command line hidden and streams what it writes into a
// text box, chunk by chunk, until the pipe breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace brisvane {

using Handle = std::uintptr_t;  // an operating-system handle; 0 is none

// The kernel calls the capture makes; the Win32 build passes the real ones,
// the tests a fake that records them.
class CapturePlatform {
 public:
  virtual ~CapturePlatform() = default;
  virtual bool CreatePipe(Handle* read_end, Handle* write_end) = 0;
  // Starts command_line unchanged with std_out_err as standard output and
  // error and no standard input, hidden. start_in may be null.
  virtual bool StartChild(const std::string& command_line, const std::string* start_in,
                          Handle std_out_err, Handle* process, Handle* thread) = 0;
  virtual bool ReadFile(Handle h, char* buffer, std::uint32_t to_read, std::uint32_t* got) = 0;
  virtual void CloseHandle(Handle h) = 0;
};

// The receiving side: the text box and the window event pump of its form.
class CaptureTarget {
 public:
  virtual ~CaptureTarget() = default;
  virtual void PumpEvents() = 0;
  // True once the target's window is gone or the program is quitting:
  // nothing more is shown and the capture lets go of the child.
  virtual bool Gone() const = 0;
  // Replaces the selection or inserts at the caret; caret ends behind it.
  // Throws when the box does not take the chunk; the capture passes it on.
  virtual void SelText(const std::wstring& chunk) = 0;
};

enum class CaptureEnd {
  NotStarted,  // pipe or process could not be created; nothing shown
  PipeBroken,  // the child's output ended (or a read failed)
  Abandoned,   // the target went away between chunks
};

class CodePage;

// Each read asks for kCaptureReadSize bytes into a buffer one byte larger,
// allocated once per call.
constexpr std::uint32_t kCaptureReadSize = 10240;
constexpr std::size_t kCaptureBufferSize = 10241;

// Runs command_line and writes every chunk it outputs, decoded from
// code_page, into text_box until a read fails. Never waits for the child.
// Once text_box is Gone() it lets go of the child and returns Abandoned. A
// failure to decode or to write passes through, with every handle closed.
CaptureEnd CaptureConsoleOutput(CapturePlatform& platform, const CodePage& code_page,
                                const std::string& command_line, CaptureTarget& text_box,
                                const std::string* start_in_folder = nullptr);

}  // namespace brisvane
