#include "capture_fakes.h"

namespace brisvane::test {

std::wstring FakeUtf8CodePage::Decode(const char* bytes, std::size_t n) const {
  std::wstring text;
  std::size_t i = 0;
  while (i < n) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t need = 0;
    unsigned long value = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead < 0x80) {
      text += static_cast<wchar_t>(lead);
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      need = 1, value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      need = 2, value = lead & 0x0F;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      need = 3, value = lead & 0x07;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      text += L'\xFFFD';
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    for (std::size_t k = 0; k < need; ++k, ++j) {
      const auto b = static_cast<unsigned char>(j < n ? bytes[j] : 0);
      const bool fits = j < n && (k == 0 ? b >= low && b <= high : b >= 0x80 && b <= 0xBF);
      if (!fits) break;
      value = (value << 6) | (b & 0x3F);
    }
    if (j - i - 1 < need) {
      text += L'\xFFFD';  // the maximal subpart i..j
    } else if (value >= 0x10000) {
      text += static_cast<wchar_t>(0xD800 + ((value - 0x10000) >> 10));
      text += static_cast<wchar_t>(0xDC00 + ((value - 0x10000) & 0x3FF));
    } else {
      text += static_cast<wchar_t>(value);
    }
    i = j;
  }
  return text;
}

bool FakePlatform::CreatePipe(Handle* read_end, Handle* write_end) {
  log.push_back("CreatePipe");
  if (!pipe_ok) return false;
  *read_end = 1;
  *write_end = 2;
  return true;
}

bool FakePlatform::StartChild(const std::string& cmd, const std::string* folder, Handle out_err,
                              Handle* process, Handle* thread) {
  log.push_back("StartChild");
  command_line = cmd;
  start_in = folder;
  std_out_err = out_err;
  if (!process_ok) return false;
  *process = 3;
  *thread = 4;
  return true;
}

bool FakePlatform::ReadFile(Handle h, char* buffer, std::uint32_t to_read, std::uint32_t* got) {
  log.push_back("Read" + std::to_string(h));
  read_sizes.push_back(to_read);
  read_buffers.push_back(buffer);
  if (reads.empty()) return false;
  Read r = reads.front();
  reads.pop_front();
  if (!r.ok) return false;
  r.bytes.copy(buffer, r.bytes.size());
  *got = static_cast<std::uint32_t>(r.bytes.size());
  return true;
}

void FakePlatform::CloseHandle(Handle h) { log.push_back("Close" + std::to_string(h)); }

}  // namespace brisvane::test
