// The output of the load tests' children, produced the same way by the child
// that writes it and by the test that checks what arrived.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "tests/shared/capture_random.h"

namespace brisvane::test {

// Writes of 1 byte to 64 KB (most of them small) with NULs among the
// characters; under a multibyte code page (932 or UTF-8) every write ends
// inside a multibyte character, whose remaining bytes start the next write.
class UnevenOutput {
 public:
  UnevenOutput(unsigned code_page, std::uint64_t seed, std::size_t total)
      : code_page_(code_page), random_(seed), total_(total) {}

  // The next write; empty once `total` bytes (and the last character) are out.
  std::string NextWrite() {
    if (carry_.empty() && emitted_ >= total_) return std::string();
    const std::size_t size = 1 + random_.Below(std::size_t{1} << random_.Below(17));
    std::string out;
    out.swap(carry_);
    std::size_t last = std::string::npos;  // start of the last new character
    while (out.size() < size && emitted_ + out.size() < total_) {
      last = out.size();
      out += Character();
    }
    std::size_t cut = std::min(size, out.size());
    if (multibyte() && cut == out.size() && emitted_ + out.size() < total_) {
      // The write would end between two characters: end it inside one.
      if (last == std::string::npos) {
        out += Multibyte();
        ++cut;
      } else if (out.size() - last >= 2) {
        --cut;
      } else {
        out.resize(last);
        out += Multibyte();
        cut = last + 1;
      }
    }
    carry_.assign(out, cut, std::string::npos);
    out.resize(cut);
    emitted_ += out.size();
    return out;
  }

 private:
  bool multibyte() const { return code_page_ == 932 || code_page_ == 65001; }

  std::string Character() {
    if (random_.OneIn(32)) return std::string(1, '\0');
    if (!multibyte()) return std::string(1, static_cast<char>(random_.Below(256)));
    if (random_.OneIn(2)) return Multibyte();
    // ASCII, and in 932 the single-byte katakana.
    if (code_page_ == 932 && random_.OneIn(4))
      return std::string(1, static_cast<char>(0xA1 + random_.Below(0x3F)));
    return std::string(1, static_cast<char>(1 + random_.Below(0x7F)));
  }

  std::string Multibyte() {
    if (code_page_ == 932) {
      const std::size_t lead = random_.Below(0x1F + 0x10);
      const std::size_t trail = random_.Below(0x3F + 0x7D);
      return {static_cast<char>(lead < 0x1F ? 0x81 + lead : 0xE0 + lead - 0x1F),
              static_cast<char>(trail < 0x3F ? 0x40 + trail : 0x80 + trail - 0x3F)};
    }
    std::uint32_t c = 0;
    switch (random_.Below(3)) {
      case 0:
        c = 0x80 + static_cast<std::uint32_t>(random_.Below(0x780));
        break;
      case 1:
        do c = 0x800 + static_cast<std::uint32_t>(random_.Below(0xF800));
        while (c >= 0xD800 && c <= 0xDFFF);
        break;
      default:
        c = 0x10000 + static_cast<std::uint32_t>(random_.Below(0x100000));
    }
    const std::wstring wide = c < 0x10000
                                  ? std::wstring(1, static_cast<wchar_t>(c))
                                  : std::wstring{static_cast<wchar_t>(0xD7C0 + (c >> 10)),
                                                 static_cast<wchar_t>(0xDC00 | (c & 0x3FF))};
    char bytes[4];
    return std::string(
        bytes, WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), bytes, 4,
                                   nullptr, nullptr));
  }

  unsigned code_page_;
  Random random_;
  std::size_t total_;
  std::size_t emitted_ = 0;
  std::string carry_;
};

// Byte i of "00000000\r\n00000001\r\n...": any stretch shows where it belongs.
inline char RecordByte(std::uint64_t i) {
  const std::uint64_t record = i / 10, k = i % 10;
  if (k == 8) return '\r';
  if (k == 9) return '\n';
  std::uint64_t digit = record;
  for (std::uint64_t d = k; d < 7; ++d) digit /= 10;
  return static_cast<char>('0' + digit % 10);
}

}  // namespace brisvane::test
