#include "capture/decoder.h"

#include <algorithm>

namespace brisvane {
namespace {

// A text box ends its text at the first NUL, so a NUL would hide the rest of
// its chunk; NULs carry nothing visible in a console report, so they are
// dropped rather than shown as a placeholder.
void DropNuls(std::wstring& text) {
  text.erase(std::remove(text.begin(), text.end(), L'\0'), text.end());
}

// Bytes a UTF-8 sequence starting with `lead` may take (1 for any byte that
// starts none). A decoder never looks further than that from a lead byte.
std::size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

// Only 80..BF may continue a sequence; any other byte ends the one before it.
bool IsContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

StreamDecoder::StreamDecoder(const CodePage& code_page)
    : code_page_(code_page), utf8_(code_page.IsUtf8()) {
  for (int b = 0; b < 256; ++b)
    lead_[b] = !utf8_ && code_page.IsLeadByte(static_cast<unsigned char>(b));
}

std::wstring StreamDecoder::Feed(const char* bytes, std::size_t n) {
  if (n == 0) return std::wstring();  // an empty read changes nothing kept
  std::wstring text = utf8_ ? FeedUtf8(bytes, n) : FeedDoubleByte(bytes, n);
  DropNuls(text);
  return text;
}

std::wstring StreamDecoder::Flush() {
  if (carry_.empty()) return std::wstring();
  std::wstring text = DecodeEnded(carry_.data(), carry_.size());
  carry_.clear();
  DropNuls(text);
  return text;
}

// A lead byte takes the next byte with it unless that is NUL, which the
// system decoders also refuse as a trail byte; only a lead byte at the very
// end of the read is unfinished.
std::wstring StreamDecoder::FeedDoubleByte(const char* bytes, std::size_t n) {
  std::wstring text;
  if (!carry_.empty() && n > 0) {
    carry_ += bytes[0];
    ++bytes, --n;
    text = DecodeEnded(carry_.data(), carry_.size());
    carry_.clear();
  }
  std::size_t i = 0;
  while (i < n) {
    if (!lead_[static_cast<unsigned char>(bytes[i])]) {
      ++i;
    } else if (i + 1 == n) {
      break;
    } else {
      i += bytes[i + 1] == '\0' ? 1 : 2;
    }
  }
  text += DecodeEnded(bytes, i);
  carry_.assign(bytes + i, n - i);
  return text;
}

// A sequence ends with its last byte, or where a byte comes that cannot
// continue it: a lead byte followed by such a byte is finished, and decodes
// as the code page's replacement. So only the bytes of one sequence that is
// still open at the end of the read are kept, never more than three.
std::wstring StreamDecoder::FeedUtf8(const char* bytes, std::size_t n) {
  std::wstring text;
  // Finish the kept sequence first, byte by byte: it is a few bytes at most.
  while (!carry_.empty() && n > 0) {
    if (!IsContinuation(bytes[0])) {
      text += DecodeEnded(carry_.data(), carry_.size());
      carry_.clear();
      break;
    }
    carry_ += bytes[0];
    ++bytes, --n;
    if (carry_.size() == Utf8Length(static_cast<unsigned char>(carry_[0]))) {
      text += DecodeEnded(carry_.data(), carry_.size());
      carry_.clear();
    }
  }
  if (!carry_.empty()) return text;  // the read went into the kept sequence
  // The last lead byte in the read's final three bytes, if its sequence is
  // still open at the end, starts the new carry.
  std::size_t cut = n;
  for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
    const char byte = bytes[n - back];
    if (IsContinuation(byte)) continue;
    if (Utf8Length(static_cast<unsigned char>(byte)) > back) cut = n - back;
    break;
  }
  text += DecodeEnded(bytes, cut);
  carry_.assign(bytes + cut, n - cut);
  return text;
}

// The system decoders differ in what they make of a sequence cut short by
// the end of their input: Wine's turns the whole rest into one replacement,
// so E2 41 at the end of a piece would lose the A that follows in the
// stream. These bytes end where a character ended, so a decoder that sees
// the stream go on decodes them right: the bytes from the first lead byte
// whose sequence could pass the end are decoded with three line feeds
// behind them, which end every sequence before the input does and are taken
// off again. Ordinary text has no such lead byte and is decoded in place.
std::wstring StreamDecoder::DecodeEnded(const char* bytes, std::size_t n) const {
  if (!utf8_) return n ? code_page_.Decode(bytes, n) : std::wstring();
  std::size_t in_place = n;
  for (std::size_t i = n; i > 0 && i + 3 >= in_place;) {
    --i;
    if (Utf8Length(static_cast<unsigned char>(bytes[i])) > in_place - i) in_place = i;
  }
  std::wstring text = in_place ? code_page_.Decode(bytes, in_place) : std::wstring();
  if (in_place < n) {
    std::string tail(bytes + in_place, n - in_place);
    tail += "\n\n\n";
    std::wstring decoded = code_page_.Decode(tail.data(), tail.size());
    decoded.resize(decoded.size() >= 3 ? decoded.size() - 3 : 0);
    text += decoded;
  }
  return text;
}

}  // namespace brisvane
