// Turns a child's output, read in arbitrary pieces, into text: a character
// whose bytes fall into two reads is decoded whole.
#pragma once

#include <cstddef>
#include <string>

namespace brisvane {

// The facts about a code page that the decoder needs; the Win32 build answers
// from the system's tables, tests from tables of their own.
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual bool IsUtf8() const = 0;
  virtual bool IsLeadByte(unsigned char byte) const = 0;
  // Decodes n bytes on their own, invalid ones included (as the platform
  // does: a replacement character). Throws when the system cannot decode.
  virtual std::wstring Decode(const char* bytes, std::size_t n) const = 0;
};

// Decoding a stream piece by piece gives what decoding it at once gives when
// the stream goes on: each piece is cut only where a character has ended,
// and at most one unfinished character waits for the next piece.
class StreamDecoder {
 public:
  explicit StreamDecoder(const CodePage& code_page);

  // Text of every character that has ended; an unfinished trailing one is
  // kept for the next call.
  std::wstring Feed(const char* bytes, std::size_t n);
  bool HasCarry() const { return !carry_.empty(); }
  std::size_t CarrySize() const { return carry_.size(); }
  // Decodes what is still kept (an unfinished character at the end of the
  // output comes out as the code page's replacement), so nothing is lost.
  std::wstring Flush();

 private:
  std::wstring FeedDoubleByte(const char* bytes, std::size_t n);
  std::wstring FeedUtf8(const char* bytes, std::size_t n);
  // Decodes bytes that end where a character has ended.
  std::wstring DecodeEnded(const char* bytes, std::size_t n) const;

  const CodePage& code_page_;
  const bool utf8_;
  bool lead_[256];  // asked once: the scan runs over every byte read
  std::string carry_;
};

}  // namespace brisvane
