// The decoder's property under libFuzzer with the stand-in code pages: the
// first byte picks the code page and how many of the next bytes are piece
// sizes; the rest is the stream.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/native/capture_fakes.h"
#include "tests/shared/capture_decoder_property.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brisvane::test;
  if (size == 0) return 0;
  static const FakeDbcsCodePage dbcs;
  static const FakeUtf8CodePage utf8;
  const brisvane::CodePage& cp = data[0] & 1 ? static_cast<const brisvane::CodePage&>(utf8) : dbcs;
  std::size_t pieces = data[0] >> 1;
  if (pieces > size - 1) pieces = size - 1;
  const std::vector<std::size_t> sizes(data + 1, data + 1 + pieces);
  const std::string bytes(reinterpret_cast<const char*>(data + 1 + pieces), size - 1 - pieces);
  if (DecodeInPieces(cp, bytes, sizes) != DecodeWhole(cp, bytes)) {
    std::fprintf(stderr, "%s: bytes %s cut into %zu pieces\n", cp.IsUtf8() ? "utf-8" : "dbcs",
                 Hex(bytes).c_str(), sizes.size());
    std::abort();
  }
  return 0;
}
