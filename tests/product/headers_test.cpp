// The built 32-bit product's headers: the protections Windows applies to it,
// and what makes two builds of the same sources the same file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/res/pe_resources.h"

using namespace restest;

namespace {

constexpr std::uint16_t kRelocsStripped = 0x0001;
constexpr std::uint16_t kDynamicBase = 0x0040, kNxCompat = 0x0100;
constexpr std::uint32_t kExecute = 0x20000000, kWrite = 0x80000000;

// Where the headers lie in the file.
struct PeHeaders {
  explicit PeHeaders(const Bytes& pe) {
    const std::size_t nt = Le32(pe, 0x3C);
    coff = nt + 4;
    opt = coff + 20;
    sections = opt + Le16(pe, coff + 16);
    section_count = Le16(pe, coff + 2);
  }
  std::size_t coff, opt, sections, section_count;
};

// The optional header's checksum, as IMAGE_HLP computes it: 16-bit words
// summed with end-around carry, the field itself left out, plus the length.
std::uint32_t Checksum(const Bytes& pe, std::size_t field) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < pe.size(); i += 2) {
    if (i == field || i == field + 2) continue;
    sum += i + 1 < pe.size() ? Le16(pe, i) : pe[i];
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return sum + static_cast<std::uint32_t>(pe.size());
}

class Headers : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("BRISVANE_PRODUCT_EXE");
    ASSERT_TRUE(path) << "BRISVANE_PRODUCT_EXE names the product";
    pe = ReadFile(path);
    ASSERT_GT(pe.size(), 0x200u) << path;
    ASSERT_EQ(Le16(pe, 0), 0x5A4D);
    ASSERT_EQ(Le16(pe, PeHeaders(pe).opt), 0x10B) << "a 32-bit image";
  }
  Bytes pe;
};

TEST_F(Headers, AslrAndDepAreOnAndNoSectionIsBothWritableAndExecutable) {
  const PeHeaders h(pe);
  const std::uint16_t dll = Le16(pe, h.opt + 70);
  EXPECT_TRUE(dll & kDynamicBase) << "ASLR (DYNAMIC_BASE)";
  EXPECT_TRUE(dll & kNxCompat) << "DEP (NX_COMPAT)";
  // ASLR can move the image only with its relocations.
  EXPECT_FALSE(Le16(pe, h.coff + 18) & kRelocsStripped);
  EXPECT_GT(Le32(pe, h.opt + 96 + 5 * 8 + 4), 0u) << "base relocation directory";
  for (std::size_t i = 0; i < h.section_count; ++i) {
    const std::size_t s = h.sections + 40 * i;
    const std::string name(reinterpret_cast<const char*>(&pe[s]),
                           strnlen(reinterpret_cast<const char*>(&pe[s]), 8));
    const std::uint32_t flags = Le32(pe, s + 36);
    EXPECT_FALSE((flags & kExecute) && (flags & kWrite)) << name << " is writable and executable";
  }
}

TEST_F(Headers, CarriesNoBuildTimeNoBuildPathAndAValidChecksum) {
  const PeHeaders h(pe);
  EXPECT_EQ(Le32(pe, h.coff + 4), 0u) << "time stamp";
  const std::uint32_t stored = Le32(pe, h.opt + 64);
  EXPECT_EQ(stored, Checksum(pe, h.opt + 64));
  if (const char* source = std::getenv("BRISVANE_SOURCE_DIR")) {
    const std::string file(pe.begin(), pe.end());
    EXPECT_EQ(file.find(source), std::string::npos) << "the build folder " << source;
  }
}

}  // namespace
