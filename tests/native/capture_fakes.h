// Stand-ins for the code pages, the kernel calls and the text box.
#pragma once

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "capture/capture.h"
#include "capture/decoder.h"
#include "text_box_model.h"

namespace brisvane::test {

// A double-byte code page of its own: lead bytes 0x81..0x9F and 0xE0..0xEF;
// a pair decodes to one character that names both bytes, a lead byte alone
// (at the end, or before NUL) to '?', any other byte to itself.
class FakeDbcsCodePage : public CodePage {
 public:
  bool IsUtf8() const override { return false; }
  bool IsLeadByte(unsigned char b) const override {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF);
  }
  std::wstring Decode(const char* bytes, std::size_t n) const override {
    std::wstring text;
    for (std::size_t i = 0; i < n; ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (!IsLeadByte(b)) {
        text += static_cast<wchar_t>(b);
      } else if (i + 1 < n && bytes[i + 1] != '\0') {
        text += static_cast<wchar_t>(0x4000 + (b << 8) + static_cast<unsigned char>(bytes[++i]));
      } else {
        text += L'?';
      }
    }
    return text;
  }
};

// UTF-8 as the system decodes it: one U+FFFD for each maximal invalid subpart.
class FakeUtf8CodePage : public CodePage {
 public:
  bool IsUtf8() const override { return true; }
  bool IsLeadByte(unsigned char) const override { return false; }
  std::wstring Decode(const char* bytes, std::size_t n) const override;
};

// Every call is logged by name; handles are pipe read 1, pipe write 2,
// process 3, thread 4.
class FakePlatform : public CapturePlatform {
 public:
  struct Read {
    bool ok;
    std::string bytes;
  };
  bool pipe_ok = true;
  bool process_ok = true;
  std::deque<Read> reads;  // when empty, reads fail (the pipe broke)
  std::vector<std::string> log;
  std::string command_line;
  const std::string* start_in = nullptr;
  Handle std_out_err = 0;
  std::vector<std::uint32_t> read_sizes;
  std::vector<const char*> read_buffers;

  bool CreatePipe(Handle* read_end, Handle* write_end) override;
  bool StartChild(const std::string& cmd, const std::string* folder, Handle out_err,
                  Handle* process, Handle* thread) override;
  bool ReadFile(Handle h, char* buffer, std::uint32_t to_read, std::uint32_t* got) override;
  void CloseHandle(Handle h) override;
};

// The text box model as a capture target; every write and pump is also
// logged into the platform's log, so the order between them shows.
class FakeTextBox : public CaptureTarget {
 public:
  explicit FakeTextBox(std::vector<std::string>& log) : log_(log) {}
  TextBoxModel model;
  int pumps = 0;
  int gone_after_pumps = -1;  // Gone() from that many pumps on
  std::vector<std::wstring> writes;

  void PumpEvents() override {
    ++pumps;
    log_.push_back("Pump");
  }
  bool Gone() const override { return gone_after_pumps >= 0 && pumps >= gone_after_pumps; }
  void SelText(const std::wstring& chunk) override {
    writes.push_back(chunk);
    log_.push_back("SelText");
    model.SetSelText(chunk);
  }

 private:
  std::vector<std::string>& log_;
};

// A text box whose every write fails.
struct ThrowingTextBox : FakeTextBox {
  using FakeTextBox::FakeTextBox;
  void SelText(const std::wstring&) override { throw std::runtime_error("box"); }
};

}  // namespace brisvane::test
