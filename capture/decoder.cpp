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

// Length of the stream up to the last cut that no lead byte's sequence
// passes, valid so far or not. A decoder may look that far ahead from a lead
// byte, and what it makes of a sequence cut short by the end of its input
// differs: Wine's turns the whole rest into one replacement, so a read ending
// in E2 41 would lose the A that the whole stream shows. Such a cut is safe:
// every sequence before it ends before it, and no decoder takes the lead
// byte it may fall before into an earlier sequence.
std::size_t Utf8CompleteLength(const char* bytes, std::size_t n) {
  std::size_t cut = n;
  for (std::size_t back = 1; back <= 3 && back <= cut;) {
    if (Utf8Length(static_cast<unsigned char>(bytes[cut - back])) > back) {
      cut -= back;  // and check the bytes before the new cut
      back = 1;
    } else {
      ++back;
    }
  }
  return cut;
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
  // ever copied, not the whole read. A long carry is a run of unfinished
  // UTF-8 lead bytes that no cut may split: it takes the rest at once, so
  // that each byte is not checked against the whole run.
  while (!carry_.empty() && n > 0) {
    const std::size_t take = carry_.size() < 8 ? 1 : n;
    carry_.append(bytes, take);
    bytes += take;
    n -= take;
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
