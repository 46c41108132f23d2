// The decoder's defining property, checked natively with stand-in code pages,
// under Wine with the real ones, and by the fuzz target: a stream decoded in
// any pieces gives exactly what decoding it at once gives (NULs dropped).
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "capture/decoder.h"
#include "tests/shared/capture_random.h"

namespace brisvane::test {

// What decoding the stream at once gives, as a decoder sees a stream that
// goes on. Decoders differ at the end of their input (Wine's turns a UTF-8
// sequence cut short there, and everything after its lead byte, into one
// replacement), and output read from a pipe has no end until its last read:
// three line feeds after the bytes end every sequence first, and go again.
inline std::wstring DecodeWhole(const CodePage& cp, const std::string& bytes) {
  std::string going_on = bytes;
  if (cp.IsUtf8()) going_on += "\n\n\n";
  std::wstring text = cp.Decode(going_on.data(), going_on.size());
  if (cp.IsUtf8()) text.resize(text.size() - 3);
  std::wstring without;
  for (wchar_t c : text) {
    if (c != L'\0') without += c;
  }
  return without;
}

// Feeds the pieces of the given sizes, the rest of the stream last, then flushes.
inline std::wstring DecodeInPieces(const CodePage& cp, const std::string& bytes,
                                   const std::vector<std::size_t>& sizes) {
  StreamDecoder decoder(cp);
  std::wstring text;
  std::size_t from = 0;
  for (std::size_t size : sizes) {
    if (size > bytes.size() - from) size = bytes.size() - from;
    text += decoder.Feed(bytes.data() + from, size);
    from += size;
  }
  text += decoder.Feed(bytes.data() + from, bytes.size() - from);
  return text + decoder.Flush();
}

// Bytes where the code page's lead bytes, UTF-8 leads and continuations, NULs
// and ASCII all come often; uniform bytes alone would seldom make a sequence.
inline std::string RandomBytes(Random& r, const CodePage& cp, std::size_t n) {
  std::vector<unsigned char> leads;
  for (int b = 0; b < 256; ++b) {
    const auto byte = static_cast<unsigned char>(b);
    if (cp.IsUtf8() ? byte >= 0xC0 : cp.IsLeadByte(byte)) leads.push_back(byte);
  }
  std::string bytes;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t kind = r.Below(8);  // NUL 1, lead 2, continuation 2, ASCII 2, any 1
    const std::size_t b = kind == 0 ? 0
                          : kind <= 2
                              ? (leads.empty() ? r.Below(256) : leads[r.Below(leads.size())])
                          : kind <= 4 ? 0x80 + r.Below(0x40)
                          : kind <= 6 ? 0x20 + r.Below(0x60)
                                      : r.Below(256);
    bytes += static_cast<char>(b);
  }
  return bytes;
}

inline std::string Hex(const std::string& bytes) {
  std::string hex;
  char two[4];
  for (unsigned char b : bytes) {
    std::snprintf(two, sizeof(two), "%02x", b);
    hex += two;
  }
  return hex;
}

// Empty, or the first stream (with its pieces) that decodes differently.
inline std::string FirstPiecewiseMismatch(const CodePage& cp, std::uint64_t seed, int cases) {
  Random r(seed);
  for (int c = 0; c < cases; ++c) {
    const std::size_t n = r.OneIn(10) ? r.Below(400) : r.Below(40);
    const std::string bytes = RandomBytes(r, cp, n);
    std::vector<std::size_t> sizes;
    for (std::size_t left = n; left > 0;) {
      // Mostly short pieces, so that cuts fall everywhere, some empty.
      const std::size_t size = std::min(left, r.OneIn(4) ? r.Below(left + 1) : r.Below(4));
      sizes.push_back(size);
      left -= size;
    }
    if (DecodeInPieces(cp, bytes, sizes) != DecodeWhole(cp, bytes)) {
      std::string pieces;
      for (std::size_t size : sizes) pieces += std::to_string(size) + " ";
      return "case " + std::to_string(c) + ": bytes " + Hex(bytes) + " pieces " + pieces;
    }
  }
  return std::string();
}

}  // namespace brisvane::test
