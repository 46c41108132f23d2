#include "capture/capture.h"

#include <memory>

#include "capture/decoder.h"

namespace brisvane {
namespace {

// Closes what is still held, process first, then the read end, then the
// write end: the order of every path, and also what is released when a
// text box write throws through the loop.
class CaptureHandles {
 public:
  explicit CaptureHandles(CapturePlatform& platform) : platform_(platform) {}
  CaptureHandles(const CaptureHandles&) = delete;
  CaptureHandles& operator=(const CaptureHandles&) = delete;
  ~CaptureHandles() {
    Close(process);
    Close(read_end);
    Close(write_end);
  }
  void Close(Handle& h) {
    if (h != 0) platform_.CloseHandle(h);
    h = 0;
  }

  Handle read_end = 0, write_end = 0, process = 0;

 private:
  CapturePlatform& platform_;
};

}  // namespace

CaptureEnd CaptureConsoleOutput(CapturePlatform& platform, const CodePage& code_page,
                                const std::string& command_line, CaptureTarget& text_box,
                                const std::string* start_in_folder) {
  CaptureHandles handles(platform);
  if (!platform.CreatePipe(&handles.read_end, &handles.write_end)) {
    handles.read_end = handles.write_end = 0;
    return CaptureEnd::NotStarted;
  }
  Handle thread = 0;
  if (!platform.StartChild(command_line, start_in_folder, handles.write_end, &handles.process,
                           &thread)) {
    handles.process = 0;
    return CaptureEnd::NotStarted;
  }
  // Only the child may hold a write end from here on, or the pipe never breaks.
  handles.Close(handles.write_end);
  handles.Close(thread);

  const std::unique_ptr<char[]> buffer(new char[kCaptureBufferSize]);
  StreamDecoder decoder(code_page);
  for (;;) {
    text_box.PumpEvents();
    // The window went away during the pump: nothing can be shown any more,
    // and waiting for a child that keeps writing would keep the program alive.
    if (text_box.Gone()) return CaptureEnd::Abandoned;
    std::uint32_t got = 0;
    if (!platform.ReadFile(handles.read_end, buffer.get(), kCaptureReadSize, &got)) break;
    // Also an empty chunk is written: it removes a selection.
    text_box.SelText(decoder.Feed(buffer.get(), got));
  }
  if (decoder.HasCarry()) text_box.SelText(decoder.Flush());
  return CaptureEnd::PipeBroken;
}

}  // namespace brisvane
