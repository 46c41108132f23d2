// Reads a PE file's resource directory the way the Windows loader walks it,
// and decodes icon images, for checks on the built executable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace restest {

using Bytes = std::vector<std::uint8_t>;

std::uint16_t Le16(const Bytes& b, std::size_t at);
std::uint32_t Le32(const Bytes& b, std::size_t at);
Bytes ReadFile(const std::string& path);  // empty when missing

// Numeric IDs are written "#3", names as they are ("AAA").
struct Resource {
  std::string type, name;
  unsigned language;
  Bytes data;
};

// Leaves in directory order; throws std::runtime_error on a malformed file.
std::vector<Resource> ReadResources(const Bytes& pe);

struct Pixel {
  bool transparent;
  int r, g, b, a;
};

// An icon image: BITMAPINFOHEADER with doubled height, colour table, colour
// bits, AND mask. Throws std::runtime_error if the header is not one.
class IconImage {
 public:
  explicit IconImage(Bytes bytes);
  int width() const { return width_; }
  int bit_count() const { return bpp_; }
  std::size_t ExpectedSize() const;         // what header, table and rows add up to
  Pixel At(int x, int y) const;             // y = 0 is the top row
  std::uint32_t PaletteEntry(int i) const;  // 0x00RRGGBB

 private:
  Bytes b_;
  int width_, height_, bpp_;
};

}  // namespace restest
