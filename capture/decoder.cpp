#include "capture/decoder.h"

#include <algorithm>

namespace brisvane {
namespace {

// A text box ends its text at the first NUL, so a NUL would hide the rest of
// its chunk; NULs carry nothing visible in a console report, so they are
// dropped rather than shown as a placeholder.
std::wstring WithoutNuls(std::wstring text) {
  text.erase(std::remove(text.begin(), text.end(), L'\0'), text.end());
  return text;
}

// Bytes a UTF-8 sequence starting with `lead` needs, 0 if it cannot start one.
std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether `second` may follow `lead` in a well-formed sequence; the narrow
// ranges exclude overlong forms, surrogates and values above U+10FFFF.
bool Utf8SecondFits(unsigned char lead, unsigned char second) {
  unsigned char low = 0x80, high = 0xBF;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  return second >= low && second <= high;
}

// Length of the stream without a trailing valid-but-unfinished sequence.
// Cutting there is safe also for invalid bytes: the cut falls before a lead
// byte, where a decoder that replaces each maximal invalid subpart starts
// anew whatever came before.
std::size_t Utf8CompleteLength(const char* bytes, std::size_t n) {
  for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
    const std::size_t start = n - back;
    const auto lead = static_cast<unsigned char>(bytes[start]);
    if (lead < 0x80 || lead >= 0xC0) {  // not a continuation byte
      const std::size_t need = Utf8Length(lead);
      if (need <= back) return n;
      for (std::size_t i = start + 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const bool fits = i == start + 1 ? Utf8SecondFits(lead, b) : (b >= 0x80 && b <= 0xBF);
        if (!fits) return n;
      }
      return start;
    }
  }
  return n;
}

}  // namespace

StreamDecoder::StreamDecoder(const CodePage& code_page)
    : code_page_(code_page), utf8_(code_page.IsUtf8()) {
  for (int b = 0; b < 256; ++b)
    lead_[b] = !utf8_ && code_page.IsLeadByte(static_cast<unsigned char>(b));
}

std::size_t StreamDecoder::CompleteLength(const char* bytes, std::size_t n) const {
  if (utf8_) return Utf8CompleteLength(bytes, n);
  // Walk characters from a known start. A lead byte takes the next byte with
  // it unless that is NUL, which the system decoders also refuse as a trail
  // byte; only a lead byte at the very end is unfinished.
  std::size_t i = 0;
  while (i < n) {
    if (!lead_[static_cast<unsigned char>(bytes[i])]) {
      ++i;
    } else if (i + 1 == n) {
      return i;
    } else {
      i += bytes[i + 1] == '\0' ? 1 : 2;
    }
  }
  return i;
}

std::wstring StreamDecoder::Feed(const char* bytes, std::size_t n) {
  std::wstring text;
  // Finish a kept character byte by byte, so that only the few kept bytes are
  // ever copied, not the whole read.
  while (!carry_.empty() && n > 0) {
    carry_.push_back(*bytes++);
    --n;
    const std::size_t complete = CompleteLength(carry_.data(), carry_.size());
    if (complete > 0) {
      text += code_page_.Decode(carry_.data(), complete);
      carry_.erase(0, complete);
    }
  }
  if (carry_.empty() && n > 0) {
    const std::size_t complete = CompleteLength(bytes, n);
    if (complete > 0) text += code_page_.Decode(bytes, complete);
    carry_.assign(bytes + complete, n - complete);
  }
  return WithoutNuls(std::move(text));
}

std::wstring StreamDecoder::Flush() {
  if (carry_.empty()) return std::wstring();
  std::wstring text = code_page_.Decode(carry_.data(), carry_.size());
  carry_.clear();
  return WithoutNuls(std::move(text));
}

}  // namespace brisvane
